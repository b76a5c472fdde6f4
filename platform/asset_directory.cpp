#include "platform/asset_directory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The installed layout: the data tree relative to the program in bin/.
constexpr const char* kInstalledBase = "../share/starfield-stampede/base/";
// The per-user folder under the XDG data directory.
constexpr const char* kUserFolder = "starfield-stampede/";

// Written by start and stop only, while no other thread opens files. The
// write directory equals the base except for an installed copy.
char baseDirectory[kAssetPathLimit] = "";
char writeDirectory[kAssetPathLimit] = "";
// Written by start and stop (release), read by every open (acquire).
std::atomic<bool> started{false};

// destination = the first length characters of text + suffix; false when it
// does not fit.
bool Compose(char* destination, const char* text, std::size_t length, const char* suffix) {
  const std::size_t suffixLength = std::strlen(suffix);
  if (length + suffixLength + 1 > kAssetPathLimit) return false;
  std::memcpy(destination, text, length);
  std::memcpy(destination + length, suffix, suffixLength + 1);
  return true;
}

bool Start(const char* base, const char* write) {
  StopAssetDirectory();
  if (std::strlen(base) + 1 > kAssetPathLimit || std::strlen(write) + 1 > kAssetPathLimit) return false;
  std::strcpy(baseDirectory, base);
  std::strcpy(writeDirectory, write);
  started.store(true, std::memory_order_release);
  return true;
}

bool IsDirectory(const std::string& path) {
  struct stat info;
  return stat(path.empty() ? "." : path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// $XDG_DATA_HOME/starfield-stampede/, or ~/.local/share/starfield-stampede/;
// "" when the environment names neither (the XDG rules ignore a relative
// XDG_DATA_HOME).
std::string UserDirectory() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data && data[0] == '/') return std::string(data) + "/" + kUserFolder;
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + "/.local/share/" + kUserFolder;
  return "";
}

bool Writes(const char* mode) { return std::strpbrk(mode, "wa+") != nullptr; }

// Creates every missing folder on the way to the file at path (mkdir -p of
// its folder); folders that exist are left as they are.
void CreateFolders(const char* path) {
  for (const char* slash = std::strchr(path + 1, '/'); slash; slash = std::strchr(slash + 1, '/')) {
    mkdir(std::string(path, slash - path).c_str(), 0755);
  }
}

std::FILE* OpenUnder(const char* directory, const char* relativePath, const char* mode) {
  const std::size_t length = std::strlen(directory);
  char path[kAssetPathLimit];
  if (!Compose(path, directory, length, relativePath)) return nullptr;
  std::FILE* file = std::fopen(path, mode);
  if (!file && errno == ENOENT && Writes(mode)) {
    CreateFolders(path);
    file = std::fopen(path, mode);
  }
  return file;
}

}  // namespace

bool StartAssetDirectory() {
  char path[kAssetPathLimit];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path);
  // An unreadable path counts as a bare name: "base/" in the working
  // directory. A path that filled the buffer may be cut short, so its
  // directory is unknown.
  if (length < 0) length = 0;
  if (static_cast<std::size_t>(length) >= sizeof path) {
    StopAssetDirectory();
    return false;
  }
  path[length] = '\0';
  return StartAssetDirectoryFor(path);
}

bool StartAssetDirectoryFor(const char* executablePath) {
  if (!executablePath) executablePath = "";
  const char* separator = std::strrchr(executablePath, '/');
  const std::string folder(executablePath, separator ? separator - executablePath + 1 : 0);
  const std::string beside = folder + "base/";
  const std::string installed = folder + kInstalledBase;
  const bool inPlace = IsDirectory(beside) || !IsDirectory(installed);
  const std::string base = inPlace ? beside : installed;
  // Root can write anywhere, so an installed tree is told by its layout; a
  // copy in place moves its writes only when its base exists read-only.
  const bool readOnly = !inPlace || (IsDirectory(base) && access(base.c_str(), W_OK) != 0);
  const std::string user = readOnly ? UserDirectory() : "";
  return Start(base.c_str(), user.empty() ? base.c_str() : user.c_str());
}

bool StartAssetDirectoryAt(const char* directory) {
  if (!directory) {
    StopAssetDirectory();
    return false;
  }
  const std::size_t length = std::strlen(directory);
  const bool needsSeparator = length > 0 && directory[length - 1] != '/';
  char path[kAssetPathLimit];
  if (!Compose(path, directory, length, needsSeparator ? "/" : "")) {
    StopAssetDirectory();
    return false;
  }
  return Start(path, path);
}

bool StopAssetDirectory() {
  started.store(false, std::memory_order_release);
  baseDirectory[0] = '\0';
  writeDirectory[0] = '\0';
  return true;
}

const char* AssetDirectory() { return baseDirectory; }

const char* AssetWriteDirectory() { return writeDirectory; }

bool AssetDirectoryStarted() { return started.load(std::memory_order_acquire); }

void OpenAssetFile(const char* relativePath, const char* mode, AssetFile* file) {
  if (!file) return;
  *file = nullptr;
  if (!relativePath || !mode || !started.load(std::memory_order_acquire)) return;
  if (Writes(mode) || std::strcmp(writeDirectory, baseDirectory) != 0) {
    *file = OpenUnder(writeDirectory, relativePath, mode);
  }
  if (!*file && !Writes(mode)) *file = OpenUnder(baseDirectory, relativePath, mode);
}

std::size_t AssetRead(void* destination, std::size_t itemSize, std::size_t count, AssetFile file) {
  if (!file || !destination || itemSize == 0 || count == 0) return 0;
  constexpr std::size_t kBounceSize = 256;
  if (count > kBounceSize / itemSize) return std::fread(destination, itemSize, count, file);
  unsigned char bounce[kBounceSize];
  const std::size_t whole = std::fread(bounce, itemSize, count, file);
  std::memcpy(destination, bounce, whole * itemSize);
  return whole;
}

std::size_t AssetWrite(const void* source, std::size_t itemSize, std::size_t count, AssetFile file) {
  if (!file || !source) return 0;
  return std::fwrite(source, itemSize, count, file);
}

bool AssetSeek(AssetFile file, long offset, int origin) {
  return file && std::fseek(file, offset, origin) == 0;
}

long AssetTell(AssetFile file) { return file ? std::ftell(file) : -1; }

bool AssetEof(AssetFile file) { return !file || std::feof(file) != 0; }

bool AssetFlush(AssetFile file) { return file && std::fflush(file) == 0; }

void AssetClose(AssetFile file) {
  if (file) std::fclose(file);
}
