#pragma once
#include <cstddef>
#include <cstdio>

// Every file of the game lives under "base/" and is opened through
// OpenAssetFile with a path relative to it, written with "/". Run in place,
// base/ sits beside the executable and holds everything the game writes too.
// Installed (bin/../share/starfield-stampede/base, or a base/ that cannot be
// written) the game writes into a per-user directory instead,
// $XDG_DATA_HOME/starfield-stampede/ (default ~/.local/share/...), under
// the same relative paths, and reads look there before the installed base,
// so a player's file overrides the installed one.
// Start and stop run while no other thread uses the directory (system thread
// start and end, and LoadSettings before the engine); OpenAssetFile and the
// stream wrappers may be called from any thread in between. No locks.

using AssetFile = std::FILE*;

// Longest directory or joined path, with its terminator.
constexpr std::size_t kAssetPathLimit = 1024;

// Finds the executable's path (from /proc/self/exe) and enables OpenAssetFile
// as StartAssetDirectoryFor. Returns true; false only when a directory is too
// long to hold (the directory then stays stopped and every open fails).
bool StartAssetDirectory();
// StartAssetDirectory as if the executable were executablePath. Its folder is
// the text up to and including the last "/" (a path without "/" means the
// working directory). The base is "<folder>base/" when that exists, else the
// installed "<folder>../share/starfield-stampede/base/" when that exists,
// else "<folder>base/" all the same. Writes go to the base when it was found
// beside the executable and can be written, else to the per-user directory
// (left as the base when neither $XDG_DATA_HOME nor $HOME names one).
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
// Where files opened for writing go, with its trailing "/": the per-user
// directory of an installed copy, else AssetDirectory(). Same lifetime.
const char* AssetWriteDirectory();
// True between a successful start and the next stop.
bool AssetDirectoryStarted();

// Opens relativePath with fopen(mode). A mode that writes ("w", "a" or "+")
// opens it under AssetWriteDirectory(), creating its missing folders there
// (a deleted config/ comes back on the next save); a read looks under the
// write directory first and then under the base. Stores nullptr in *file
// when the directory is stopped, a joined path would not fit in 1024 bytes
// with its terminator, or fopen fails. The caller owns the handle and closes
// it with AssetClose.
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
