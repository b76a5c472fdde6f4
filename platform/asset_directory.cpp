#include "platform/asset_directory.h"

#include <unistd.h>

#include <atomic>
#include <cstring>

namespace {

// Written by start and stop only, while no other thread opens files.
char baseDirectory[kAssetPathLimit] = "";
// Written by start and stop (release), read by every open (acquire).
std::atomic<bool> started{false};

// baseDirectory = the first length characters of directory + suffix.
bool Install(const char* directory, std::size_t length, const char* suffix) {
  StopAssetDirectory();
  const std::size_t suffixLength = std::strlen(suffix);
  if (length + suffixLength + 1 > kAssetPathLimit) return false;
  std::memcpy(baseDirectory, directory, length);
  std::memcpy(baseDirectory + length, suffix, suffixLength + 1);
  started.store(true, std::memory_order_release);
  return true;
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
  const std::size_t length = separator ? separator - executablePath + 1 : 0;
  return Install(executablePath, length, "base/");
}

bool StartAssetDirectoryAt(const char* directory) {
  if (!directory) {
    StopAssetDirectory();
    return false;
  }
  const std::size_t length = std::strlen(directory);
  const bool needsSeparator = length > 0 && directory[length - 1] != '/';
  return Install(directory, length, needsSeparator ? "/" : "");
}

bool StopAssetDirectory() {
  started.store(false, std::memory_order_release);
  baseDirectory[0] = '\0';
  return true;
}

const char* AssetDirectory() { return baseDirectory; }

bool AssetDirectoryStarted() { return started.load(std::memory_order_acquire); }

void OpenAssetFile(const char* relativePath, const char* mode, AssetFile* file) {
  if (!file) return;
  *file = nullptr;
  if (!relativePath || !mode || !started.load(std::memory_order_acquire)) return;
  const std::size_t baseLength = std::strlen(baseDirectory);
  const std::size_t relativeLength = std::strlen(relativePath);
  if (baseLength + relativeLength + 1 > kAssetPathLimit) return;
  char path[kAssetPathLimit];
  std::memcpy(path, baseDirectory, baseLength);
  std::memcpy(path + baseLength, relativePath, relativeLength + 1);
  *file = std::fopen(path, mode);
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
