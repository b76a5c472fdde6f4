#include "audio/audio_device.h"

#include <dlfcn.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "platform/console_log.h"

AlTable alTable;

namespace {

void* SystemOpen(const char* file) { return dlopen(file, RTLD_NOW | RTLD_LOCAL); }
void* SystemSymbol(void* library, const char* name) { return dlsym(library, name); }
void SystemClose(void* library) { dlclose(library); }

// Written and read by the system thread (and tests before it runs).
AlLibraryAccess libraryAccess{SystemOpen, SystemSymbol, SystemClose};

// System thread only.
ALCdevice* device = nullptr;
ALCcontext* context = nullptr;
// Why the last StartAudio failed, for the silent run's log line.
std::string failureReason;

// Written by the system thread during the start, read by any thread after
// the start handshake.
std::atomic<bool> runsSilent{false};

// Devices of the sound cards the game was tuned on, best first; a system
// that offers none of them gets its default device.
constexpr const char* kPreferredDevices[] = {
    "Creative Audigy 2", "Creative Audigy", "NVIDIA nForce2",
    "DirectSound3D",     "DirectSound",     "MMSYSTEM",
};

ALCdevice* OpenPreferredDevice() {
  for (const char* name : kPreferredDevices) {
    if (ALCdevice* opened = alTable.alcOpenDevice(name)) return opened;
  }
  return alTable.alcOpenDevice(nullptr);
}

// The device the library would open by default, by its own name.
std::string DefaultDeviceName() {
  const ALCchar* name =
      alTable.alcGetString ? alTable.alcGetString(nullptr, ALC_DEFAULT_DEVICE_SPECIFIER) : nullptr;
  return name && *name ? std::string("\"") + name + "\"" : "(the default device)";
}

bool Fail(const std::string& reason) {
  failureReason = reason;
  return false;
}

void LogAlString(ALenum name) {
  const ALchar* text = alTable.alGetString(name);
  LogText(text ? text : "");
}

bool ExtensionPresent(const char* name) {
  return alTable.alIsExtensionPresent(name) != AL_FALSE;
}

}  // namespace

void SetAlLibraryAccess(const AlLibraryAccess& access) { libraryAccess = access; }

void UseSystemAlLibraryAccess() { libraryAccess = {SystemOpen, SystemSymbol, SystemClose}; }

bool LoadAlTable(const char* file) {
  OpenConsoleLog();
  LogAppend("loading library: ");
  LogAppend(file);
  LogAppend("... ");
  void* library = libraryAccess.open(file);
  LogLine(library ? "Success!" : "Failed");
  CloseConsoleLog();
  if (!library) return false;

  alTable.library = library;
#define SS_AL_LOOKUP(type, name) \
  alTable.name = reinterpret_cast<type>(libraryAccess.symbol(library, #name));
  SS_AL_ENTRY_POINTS(SS_AL_LOOKUP)
#undef SS_AL_LOOKUP
  return true;
}

void UnloadAlTable() {
  if (alTable.library) libraryAccess.close(alTable.library);
  alTable = AlTable{};
}

bool StartAudio() {
  if (!LoadAlTable(kOpenAlLibraryFile))
    return Fail(std::string(kOpenAlLibraryFile) + " did not load");
  // A library without the device entry points cannot start; the rest of the
  // table is used unchecked, as loaded.
  if (!alTable.alcOpenDevice || !alTable.alcCreateContext || !alTable.alcMakeContextCurrent) {
    return Fail(std::string(kOpenAlLibraryFile) + " lacks the device functions");
  }
  device = OpenPreferredDevice();
  if (!device) return Fail("audio device " + DefaultDeviceName() + " did not open");
  const ALCint attributes[] = {ALC_FREQUENCY, 44100, 0};
  context = alTable.alcCreateContext(device, attributes);
  if (!context) return Fail("audio device " + DefaultDeviceName() + " gave no 44100 Hz context");
  alTable.alcMakeContextCurrent(context);

  ReportAudioDriver();

  alTable.alListener3f(AL_POSITION, 0.0f, 0.0f, 0.0f);
  const ALfloat orientation[] = {0.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f};
  alTable.alListenerfv(AL_ORIENTATION, orientation);
  return true;
}

bool StartAudioOrRunSilent() {
  runsSilent.store(false, std::memory_order_release);
  if (StartAudio()) return true;
  StopAudio();
  OpenConsoleLog();
  LogAppend("Sound off for this run: ");
  LogLine(failureReason.c_str());
  CloseConsoleLog();
  runsSilent.store(true, std::memory_order_release);
  return true;
}

bool AudioRunsSilent() { return runsSilent.load(std::memory_order_acquire); }

// Tests fill the table with fakes and no library, so the entries tell.
bool AudioTableLoaded() { return alTable.alGenSources && alTable.alGenBuffers; }

void StopAudio() {
  if (context) alTable.alcDestroyContext(context);
  if (device) alTable.alcCloseDevice(device);
  UnloadAlTable();
  context = nullptr;
  device = nullptr;
}

void ReportAudioDriver() {
  OpenConsoleLog();
  LogAlString(AL_RENDERER);
  LogAlString(AL_VENDOR);
  LogAlString(AL_VERSION);
  LogAlString(AL_EXTENSIONS);
  if (ExtensionPresent("EAX4.0")) {
    LogText("EAX 4.0 Found!");
  } else if (ExtensionPresent("EAX3.0")) {
    LogText("EAX 3.0 Found!");
  } else if (ExtensionPresent("EAX2.0")) {
    LogText("EAX 2.0 Found!");
  } else {
    LogText("EAX not present.  Using fallback.");
  }
  LogText(ExtensionPresent("AL_EXT_vorbis") ? "AL_EXT_vorbis Found!"
                                            : "AL_EXT_vorbis not present.  Using fallback.");
  CloseConsoleLog();
}

bool AlOk() { return alTable.alGetError() == AL_NO_ERROR; }
