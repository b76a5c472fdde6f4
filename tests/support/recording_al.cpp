#include "support/recording_al.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <map>
#include <mutex>

namespace {

struct FakeSource {
  std::deque<ALuint> queue;
  ALint state = AL_INITIAL;
};

}  // namespace

struct RecordingAlState {
  std::mutex guard;  // guards everything below
  std::vector<std::string> calls;
  std::map<ALuint, FakeSource> sources;
  std::map<ALuint, std::vector<uint8_t>> buffers;
  std::vector<std::vector<uint8_t>> bufferData;
  ALuint nextSource = 1;
  ALuint nextBuffer = 1001;
  ALenum error = AL_NO_ERROR;
  std::map<std::string, ALenum> failing;
  ALint processed = 0;
  ALint forcedState = -1;
  std::vector<std::string> devices;
  bool defaultDevice = true;
  bool contextFails = false;
  std::set<std::string> extensions;
  std::string extensionText;
  bool libraryPresent = true;
};

namespace {

// The state of the newest RecordingAl alive; entry points only run while
// there is one.
RecordingAlState* fake = nullptr;

std::string EnumName(ALenum value) {
  static const std::map<ALenum, const char*> names = {
      {AL_BUFFER, "AL_BUFFER"},
      {AL_LOOPING, "AL_LOOPING"},
      {AL_SOURCE_RELATIVE, "AL_SOURCE_RELATIVE"},
      {AL_PITCH, "AL_PITCH"},
      {AL_GAIN, "AL_GAIN"},
      {AL_POSITION, "AL_POSITION"},
      {AL_ROLLOFF_FACTOR, "AL_ROLLOFF_FACTOR"},
      {AL_ORIENTATION, "AL_ORIENTATION"},
      {AL_BUFFERS_PROCESSED, "AL_BUFFERS_PROCESSED"},
      {AL_SOURCE_STATE, "AL_SOURCE_STATE"},
      {AL_FORMAT_MONO8, "AL_FORMAT_MONO8"},
      {AL_FORMAT_MONO16, "AL_FORMAT_MONO16"},
      {AL_FORMAT_STEREO8, "AL_FORMAT_STEREO8"},
      {AL_FORMAT_STEREO16, "AL_FORMAT_STEREO16"},
      {AL_RENDERER, "AL_RENDERER"},
      {AL_VENDOR, "AL_VENDOR"},
      {AL_VERSION, "AL_VERSION"},
      {AL_EXTENSIONS, "AL_EXTENSIONS"},
  };
  const auto found = names.find(value);
  return found != names.end() ? found->second : std::to_string(value);
}

std::string Number(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// Caller holds the guard. Logs the call and raises its configured error.
void Record(const std::string& function, const std::string& arguments) {
  fake->calls.push_back(function + "(" + arguments + ")");
  const auto failing = fake->failing.find(function);
  if (failing != fake->failing.end()) fake->error = failing->second;
}

bool Failing(const char* function) { return fake->failing.count(function) != 0; }

void Raise(ALenum error) {
  if (fake->error == AL_NO_ERROR) fake->error = error;
}

FakeSource* FindSource(ALuint name) {
  const auto found = fake->sources.find(name);
  if (found != fake->sources.end()) return &found->second;
  Raise(AL_INVALID_NAME);
  return nullptr;
}

ALenum AL_APIENTRY GetError() {
  std::lock_guard<std::mutex> hold(fake->guard);
  const ALenum error = fake->error;
  fake->error = AL_NO_ERROR;
  return error;
}

const ALchar* AL_APIENTRY GetString(ALenum name) {
  std::lock_guard<std::mutex> hold(fake->guard);
  Record("alGetString", EnumName(name));
  switch (name) {
    case AL_RENDERER: return "Recording Renderer";
    case AL_VENDOR: return "Recording Vendor";
    case AL_VERSION: return "1.1 Recording";
    case AL_EXTENSIONS: return fake->extensionText.c_str();
    default: Raise(AL_INVALID_ENUM); return nullptr;
  }
}

ALboolean AL_APIENTRY IsExtensionPresent(const ALchar* name) {
  std::lock_guard<std::mutex> hold(fake->guard);
  Record("alIsExtensionPresent", name);
  return fake->extensions.count(name) ? AL_TRUE : AL_FALSE;
}

void AL_APIENTRY Listener3f(ALenum param, ALfloat x, ALfloat y, ALfloat z) {
  std::lock_guard<std::mutex> hold(fake->guard);
  Record("alListener3f", EnumName(param) + ", " + Number(x) + ", " + Number(y) + ", " + Number(z));
}

void AL_APIENTRY Listenerfv(ALenum param, const ALfloat* values) {
  std::lock_guard<std::mutex> hold(fake->guard);
  std::string arguments = EnumName(param);
  for (int i = 0; i < (param == AL_ORIENTATION ? 6 : 3); ++i) arguments += ", " + Number(values[i]);
  Record("alListenerfv", arguments);
}

// Shared by alGenSources and alGenBuffers: a failing call hands out nothing.
template <typename Store>
void Generate(const char* function, ALsizei count, ALuint* names, ALuint& next, Store store) {
  std::lock_guard<std::mutex> hold(fake->guard);
  Record(function, std::to_string(count));
  if (Failing(function)) return;
  for (ALsizei i = 0; i < count; ++i) {
    names[i] = next++;
    store(names[i]);
  }
}

void AL_APIENTRY GenSources(ALsizei count, ALuint* names) {
  Generate("alGenSources", count, names, fake->nextSource,
           [](ALuint name) { fake->sources[name] = FakeSource{}; });
}

void AL_APIENTRY GenBuffers(ALsizei count, ALuint* names) {
  Generate("alGenBuffers", count, names, fake->nextBuffer,
           [](ALuint name) { fake->buffers[name] = {}; });
}

template <typename Names>
void Delete(const char* function, ALsizei count, const ALuint* names, Names& live) {
  std::lock_guard<std::mutex> hold(fake->guard);
  std::string arguments = std::to_string(count);
  for (ALsizei i = 0; i < count; ++i) arguments += ", " + std::to_string(names[i]);
  Record(function, arguments);
  for (ALsizei i = 0; i < count; ++i) {
    if (live.erase(names[i]) == 0) Raise(AL_INVALID_NAME);
  }
}

void AL_APIENTRY DeleteSources(ALsizei count, const ALuint* names) {
  Delete("alDeleteSources", count, names, fake->sources);
}

void AL_APIENTRY DeleteBuffers(ALsizei count, const ALuint* names) {
  Delete("alDeleteBuffers", count, names, fake->buffers);
}

ALboolean AL_APIENTRY IsSource(ALuint name) {
  std::lock_guard<std::mutex> hold(fake->guard);
  return fake->sources.count(name) ? AL_TRUE : AL_FALSE;
}

ALboolean AL_APIENTRY IsBuffer(ALuint name) {
  std::lock_guard<std::mutex> hold(fake->guard);
  return fake->buffers.count(name) ? AL_TRUE : AL_FALSE;
}

void AL_APIENTRY Sourcei(ALuint source, ALenum param, ALint value) {
  std::lock_guard<std::mutex> hold(fake->guard);
  Record("alSourcei", std::to_string(source) + ", " + EnumName(param) + ", " + std::to_string(value));
  FindSource(source);
}

void AL_APIENTRY Sourcef(ALuint source, ALenum param, ALfloat value) {
  std::lock_guard<std::mutex> hold(fake->guard);
  Record("alSourcef", std::to_string(source) + ", " + EnumName(param) + ", " + Number(value));
  FindSource(source);
}

void AL_APIENTRY Source3f(ALuint source, ALenum param, ALfloat x, ALfloat y, ALfloat z) {
  std::lock_guard<std::mutex> hold(fake->guard);
  Record("alSource3f", std::to_string(source) + ", " + EnumName(param) + ", " + Number(x) + ", " +
                           Number(y) + ", " + Number(z));
  FindSource(source);
}

void AL_APIENTRY GetSourcei(ALuint source, ALenum param, ALint* value) {
  std::lock_guard<std::mutex> hold(fake->guard);
  Record("alGetSourcei", std::to_string(source) + ", " + EnumName(param));
  const FakeSource* found = FindSource(source);
  if (!found) return;
  if (param == AL_BUFFERS_PROCESSED) {
    *value = std::min<ALint>(fake->processed, static_cast<ALint>(found->queue.size()));
  } else if (param == AL_SOURCE_STATE) {
    *value = fake->forcedState >= 0 ? fake->forcedState : found->state;
  }
}

void SetState(const char* function, ALuint source, ALint state) {
  std::lock_guard<std::mutex> hold(fake->guard);
  Record(function, std::to_string(source));
  if (FakeSource* found = FindSource(source)) found->state = state;
}

void AL_APIENTRY SourcePlay(ALuint source) { SetState("alSourcePlay", source, AL_PLAYING); }
void AL_APIENTRY SourceStop(ALuint source) { SetState("alSourceStop", source, AL_STOPPED); }
void AL_APIENTRY SourcePause(ALuint source) { SetState("alSourcePause", source, AL_PAUSED); }

void AL_APIENTRY SourceQueueBuffers(ALuint source, ALsizei count, const ALuint* names) {
  std::lock_guard<std::mutex> hold(fake->guard);
  std::string arguments = std::to_string(source) + ", " + std::to_string(count);
  for (ALsizei i = 0; i < count; ++i) arguments += ", " + std::to_string(names[i]);
  Record("alSourceQueueBuffers", arguments);
  FakeSource* found = FindSource(source);
  for (ALsizei i = 0; found && i < count; ++i) found->queue.push_back(names[i]);
}

void AL_APIENTRY SourceUnqueueBuffers(ALuint source, ALsizei count, ALuint* names) {
  std::lock_guard<std::mutex> hold(fake->guard);
  Record("alSourceUnqueueBuffers", std::to_string(source) + ", " + std::to_string(count));
  FakeSource* found = FindSource(source);
  if (!found) return;
  if (static_cast<std::size_t>(count) > found->queue.size()) return Raise(AL_INVALID_VALUE);
  for (ALsizei i = 0; i < count; ++i) {
    names[i] = found->queue.front();
    found->queue.pop_front();
  }
}

void AL_APIENTRY BufferData(ALuint buffer, ALenum format, const ALvoid* data, ALsizei size,
                            ALsizei frequency) {
  std::lock_guard<std::mutex> hold(fake->guard);
  Record("alBufferData", std::to_string(buffer) + ", " + EnumName(format) + ", " +
                             std::to_string(size) + ", " + std::to_string(frequency));
  const auto found = fake->buffers.find(buffer);
  if (found == fake->buffers.end()) return Raise(AL_INVALID_NAME);
  const auto* bytes = static_cast<const uint8_t*>(data);
  found->second.assign(bytes, bytes + size);
  fake->bufferData.push_back(found->second);
}

// Device and context handles are addresses inside these, never dereferenced.
char fakeDevices[8];
char fakeContext;

ALCdevice* ALC_APIENTRY OpenDevice(const ALCchar* name) {
  std::lock_guard<std::mutex> hold(fake->guard);
  Record("alcOpenDevice", name ? name : "null");
  if (!name) return fake->defaultDevice ? reinterpret_cast<ALCdevice*>(&fakeDevices[0]) : nullptr;
  const auto found = std::find(fake->devices.begin(), fake->devices.end(), name);
  if (found == fake->devices.end()) return nullptr;
  return reinterpret_cast<ALCdevice*>(&fakeDevices[1 + (found - fake->devices.begin()) % 7]);
}

ALCboolean ALC_APIENTRY CloseDevice(ALCdevice*) {
  std::lock_guard<std::mutex> hold(fake->guard);
  Record("alcCloseDevice", "");
  return ALC_TRUE;
}

ALCcontext* ALC_APIENTRY CreateContext(ALCdevice*, const ALCint* attributes) {
  std::lock_guard<std::mutex> hold(fake->guard);
  std::string arguments;
  for (const ALCint* a = attributes; a; ++a) {
    arguments += (arguments.empty() ? "" : ", ") + (*a == ALC_FREQUENCY ? "ALC_FREQUENCY" : std::to_string(*a));
    if (*a == 0) break;
  }
  Record("alcCreateContext", arguments);
  return fake->contextFails ? nullptr : reinterpret_cast<ALCcontext*>(&fakeContext);
}

ALCboolean ALC_APIENTRY MakeContextCurrent(ALCcontext* context) {
  std::lock_guard<std::mutex> hold(fake->guard);
  Record("alcMakeContextCurrent", context ? "context" : "null");
  return ALC_TRUE;
}

void ALC_APIENTRY DestroyContext(ALCcontext*) {
  std::lock_guard<std::mutex> hold(fake->guard);
  Record("alcDestroyContext", "");
}

#define SS_FAKE_ENTRIES(X)                                                                        \
  X(alGetError, GetError)                                                                         \
  X(alGetString, GetString) X(alIsExtensionPresent, IsExtensionPresent)                           \
      X(alListener3f, Listener3f) X(alListenerfv, Listenerfv) X(alGenSources, GenSources)         \
          X(alDeleteSources, DeleteSources) X(alIsSource, IsSource) X(alSourcei, Sourcei)         \
              X(alSourcef, Sourcef) X(alSource3f, Source3f) X(alGetSourcei, GetSourcei)           \
                  X(alSourcePlay, SourcePlay) X(alSourceStop, SourceStop) X(alSourcePause, SourcePause)                         \
                      X(alGenBuffers, GenBuffers) X(alDeleteBuffers, DeleteBuffers)               \
                          X(alIsBuffer, IsBuffer) X(alBufferData, BufferData)                     \
                              X(alSourceQueueBuffers, SourceQueueBuffers)                         \
                                  X(alSourceUnqueueBuffers, SourceUnqueueBuffers)                 \
                                      X(alcOpenDevice, OpenDevice) X(alcCloseDevice, CloseDevice) \
                                          X(alcCreateContext, CreateContext)                      \
                                              X(alcMakeContextCurrent, MakeContextCurrent)        \
                                                  X(alcDestroyContext, DestroyContext)

void* FakeOpen(const char* file) {
  std::lock_guard<std::mutex> hold(fake->guard);
  fake->calls.push_back(std::string("open(") + file + ")");
  return fake->libraryPresent ? &fakeDevices[0] : nullptr;
}

void* FakeSymbol(void*, const char* name) {
  const std::string wanted = name;
#define SS_FAKE_SYMBOL(entry, function) \
  if (wanted == #entry) return reinterpret_cast<void*>(&function);
  SS_FAKE_ENTRIES(SS_FAKE_SYMBOL)
#undef SS_FAKE_SYMBOL
  return nullptr;
}

void FakeClose(void*) {
  std::lock_guard<std::mutex> hold(fake->guard);
  fake->calls.push_back("close");
}

}  // namespace

RecordingAl::RecordingAl()
    : savedTable_(alTable), state_(new RecordingAlState), savedState_(fake) {
  fake = state_;
  alTable = AlTable{};
#define SS_FAKE_INSTALL(entry, function) alTable.entry = &function;
  SS_FAKE_ENTRIES(SS_FAKE_INSTALL)
#undef SS_FAKE_INSTALL
}

RecordingAl::~RecordingAl() {
  alTable = savedTable_;
  fake = savedState_;
  delete state_;
}

namespace {

// Runs use on the state under its guard and returns what it returns.
template <typename Use>
auto Guarded(RecordingAlState* state, Use use) {
  std::lock_guard<std::mutex> hold(state->guard);
  return use(*state);
}

template <typename Map>
std::set<uint32_t> Keys(const Map& map) {
  std::set<uint32_t> keys;
  for (const auto& entry : map) keys.insert(entry.first);
  return keys;
}

}  // namespace

std::vector<std::string> RecordingAl::Calls() const {
  return Guarded(state_, [](auto& s) { return s.calls; });
}

std::vector<std::string> RecordingAl::CallsTo(const std::string& function) const {
  std::vector<std::string> matching;
  for (const std::string& call : Calls()) {
    if (call.compare(0, function.size() + 1, function + "(") == 0) matching.push_back(call);
  }
  return matching;
}

void RecordingAl::ClearCalls() {
  Guarded(state_, [](auto& s) { s.calls.clear(); });
}

std::set<uint32_t> RecordingAl::LiveSources() const {
  return Guarded(state_, [](auto& s) { return Keys(s.sources); });
}

std::set<uint32_t> RecordingAl::LiveBuffers() const {
  return Guarded(state_, [](auto& s) { return Keys(s.buffers); });
}

std::vector<uint8_t> RecordingAl::BufferBytes(uint32_t buffer) const {
  return Guarded(state_, [&](auto& s) {
    const auto found = s.buffers.find(buffer);
    return found != s.buffers.end() ? found->second : std::vector<uint8_t>{};
  });
}

std::vector<std::vector<uint8_t>> RecordingAl::AllBufferData() const {
  return Guarded(state_, [](auto& s) { return s.bufferData; });
}

void RecordingAl::SetBuffersProcessed(int32_t count) {
  Guarded(state_, [&](auto& s) { s.processed = count; });
}

void RecordingAl::SetSourceState(int32_t state) {
  Guarded(state_, [&](auto& s) { s.forcedState = state; });
}

void RecordingAl::FailCall(const std::string& function, int32_t error) {
  Guarded(state_, [&](auto& s) { s.failing[function] = error; });
}

void RecordingAl::SetDevices(std::vector<std::string> names) {
  Guarded(state_, [&](auto& s) { s.devices = std::move(names); });
}

void RecordingAl::SetDefaultDevice(bool available) {
  Guarded(state_, [&](auto& s) { s.defaultDevice = available; });
}

void RecordingAl::SetContextFails(bool fails) {
  Guarded(state_, [&](auto& s) { s.contextFails = fails; });
}

void RecordingAl::SetExtensions(std::set<std::string> names) {
  Guarded(state_, [&](auto& s) {
    s.extensions = std::move(names);
    s.extensionText.clear();
    for (const std::string& name : s.extensions) {
      s.extensionText += (s.extensionText.empty() ? "" : " ") + name;
    }
  });
}

AlLibraryAccess RecordingAl::LibraryAccess() const { return {FakeOpen, FakeSymbol, FakeClose}; }

void RecordingAl::SetLibraryPresent(bool present) {
  Guarded(state_, [&](auto& s) { s.libraryPresent = present; });
}
