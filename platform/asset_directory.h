#pragma once
#include <cstddef>
#include <cstdio>

// Every file of the game lives under "base/" beside the executable and is
// opened through OpenAssetFile with a path relative to it, written with "/".
// Start and stop run while no other thread uses the directory (system thread
// start and end, and LoadSettings before the engine); OpenAssetFile and the
// stream wrappers may be called from any thread in between. No locks.

using AssetFile = std::FILE*;

// Longest directory or joined path, with its terminator.
constexpr std::size_t kAssetPathLimit = 1024;

// Finds the executable's path (from /proc/self/exe) and enables OpenAssetFile
// on "<its directory>/base/", as StartAssetDirectoryFor. Returns true; false
// only when that directory is too long to hold (the directory then stays
// stopped and every open fails).
bool StartAssetDirectory();
// StartAssetDirectory as if the executable were executablePath: the directory
// is its text up to and including the last "/"; a path without "/" leaves
// just "base/", relative to the working directory.
bool StartAssetDirectoryFor(const char* executablePath);
// Tools and tests: enables OpenAssetFile on the given directory instead ("/"
// is added when missing). An empty directory makes relative paths resolve
// against the working directory and lets absolute paths through unchanged.
// False for nullptr or a directory too long to hold (then stopped).
bool StartAssetDirectoryAt(const char* directory);
// Disables OpenAssetFile. Returns true.
bool StopAssetDirectory();
// The directory in use with its trailing "/", or "" while stopped (and when
// started on ""). The text stays valid until the next start or stop.
const char* AssetDirectory();
// True between a successful start and the next stop.
bool AssetDirectoryStarted();

// Opens baseDirectory + relativePath with fopen(mode). Stores nullptr in
// *file when the directory is stopped, the joined path would not fit in
// 1024 bytes with its terminator, or fopen fails. The caller owns the handle
// and closes it with AssetClose.
void OpenAssetFile(const char* relativePath, const char* mode, AssetFile* file);

// Thin wrappers over the C library's buffered streams; loaders rely on its
// semantics (whole items read, EOF raised only by a read that reaches it).
// A null handle reads and writes nothing, fails seek, tell (-1) and flush,
// and counts as at its end.
//
// The C library may copy the bytes of a last, incomplete item into the
// destination; AssetRead does not for reads of up to 256 bytes (every field
// read), so a short read there leaves the destination past the whole items
// unchanged.
std::size_t AssetRead(void* destination, std::size_t itemSize, std::size_t count, AssetFile file);
std::size_t AssetWrite(const void* source, std::size_t itemSize, std::size_t count, AssetFile file);
bool AssetSeek(AssetFile file, long offset, int origin);
long AssetTell(AssetFile file);
bool AssetEof(AssetFile file);
bool AssetFlush(AssetFile file);
void AssetClose(AssetFile file);
