#pragma once
#include <cstddef>
#include <cstdio>

// Every file of the game lives under "base/" beside the executable and is
// opened through OpenAssetFile with a path relative to it, written with "/".

using AssetFile = std::FILE*;

// Finds the executable's directory (from /proc/self/exe) and enables
// OpenAssetFile on "<that directory>/base/". Returns true.
bool StartAssetDirectory();
// Tools and tests: enables OpenAssetFile on the given directory instead. An
// empty directory makes relative paths resolve against the working
// directory and lets absolute paths through unchanged.
bool StartAssetDirectoryAt(const char* directory);
// Disables OpenAssetFile. Returns true.
bool StopAssetDirectory();
// The directory in use with its trailing "/", or "" while stopped.
const char* AssetDirectory();

// Opens baseDirectory + relativePath with fopen(mode). Stores nullptr in
// *file when the directory is stopped, the joined path would not fit in
// 1024 bytes with its terminator, or fopen fails.
void OpenAssetFile(const char* relativePath, const char* mode, AssetFile* file);

// Thin wrappers over the C library's buffered streams; loaders rely on its
// semantics (whole items read, EOF raised only by a read that reaches it).
std::size_t AssetRead(void* destination, std::size_t itemSize, std::size_t count, AssetFile file);
std::size_t AssetWrite(const void* source, std::size_t itemSize, std::size_t count, AssetFile file);
bool AssetSeek(AssetFile file, long offset, int origin);
long AssetTell(AssetFile file);
bool AssetEof(AssetFile file);
bool AssetFlush(AssetFile file);
void AssetClose(AssetFile file);
