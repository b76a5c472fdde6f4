#include "platform/console_log.h"

#include <cstring>
#include <mutex>

#include "platform/asset_directory.h"

namespace {

constexpr const char* kLogName = "conlog.txt";
constexpr std::size_t kLineLimit = 255;

std::mutex logGuard;  // guards everything below
AssetFile file = nullptr;
char line[kLineLimit + 1] = "";
std::size_t lineLength = 0;

// Caller holds logGuard.
void CloseFile() {
  AssetClose(file);
  file = nullptr;
}

// Caller holds logGuard.
void Append(const char* text) {
  if (!text) return;
  const std::size_t length = strnlen(text, kLineLimit - lineLength);
  std::memcpy(line + lineLength, text, length);
  lineLength += length;
  line[lineLength] = '\0';
}

// Caller holds logGuard.
void Emit(const char* text, std::size_t length) {
  if (!file) return;
  AssetWrite(text, 1, length, file);
  AssetWrite("\n", 1, 1, file);
  AssetFlush(file);
}

}  // namespace

bool StartConsoleLog() {
  std::lock_guard<std::mutex> hold(logGuard);
  CloseFile();
  lineLength = 0;
  line[0] = '\0';
  AssetFile created;
  OpenAssetFile(kLogName, "wb", &created);
  if (!created) return false;
  AssetClose(created);
  return true;
}

bool StopConsoleLog() {
  CloseConsoleLog();
  return true;
}

void OpenConsoleLog() {
  std::lock_guard<std::mutex> hold(logGuard);
  if (!file) OpenAssetFile(kLogName, "a+b", &file);
}

void CloseConsoleLog() {
  std::lock_guard<std::mutex> hold(logGuard);
  CloseFile();
}

void LogAppend(const char* text) {
  std::lock_guard<std::mutex> hold(logGuard);
  Append(text);
}

void LogLine(const char* text) {
  std::lock_guard<std::mutex> hold(logGuard);
  Append(text);
  Emit(line, lineLength);
  lineLength = 0;
  line[0] = '\0';
}

void LogText(const char* text) {
  if (!text) return;
  std::lock_guard<std::mutex> hold(logGuard);
  Emit(text, std::strlen(text));
}
