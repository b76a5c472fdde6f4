#pragma once
#include <AL/al.h>
#include <AL/alc.h>

// The process-wide OpenAL set-up. The program does not link OpenAL: the
// library is loaded by file name at run time and every OpenAL call in the
// program goes through the entry points of alTable (alTable.alSourcePlay(...)).
// The AL/ALC headers are used for types and constants only.

// alHint left the OpenAL 1.1 headers; the library may still export it.
using AlHintProc = void(AL_APIENTRY*)(ALenum target, ALenum mode);

// The 66 entry points, in lookup order.
#define SS_AL_ENTRY_POINTS(X)                                                        \
  X(LPALENABLE, alEnable) X(LPALDISABLE, alDisable) X(LPALISENABLED, alIsEnabled)    \
  X(AlHintProc, alHint) X(LPALGETBOOLEAN, alGetBoolean)                              \
  X(LPALGETINTEGER, alGetInteger) X(LPALGETFLOAT, alGetFloat)                        \
  X(LPALGETDOUBLE, alGetDouble) X(LPALGETBOOLEANV, alGetBooleanv)                    \
  X(LPALGETINTEGERV, alGetIntegerv) X(LPALGETFLOATV, alGetFloatv)                    \
  X(LPALGETDOUBLEV, alGetDoublev) X(LPALGETSTRING, alGetString)                      \
  X(LPALGETERROR, alGetError) X(LPALISEXTENSIONPRESENT, alIsExtensionPresent)        \
  X(LPALGETPROCADDRESS, alGetProcAddress) X(LPALGETENUMVALUE, alGetEnumValue)        \
  X(LPALLISTENERI, alListeneri) X(LPALLISTENERF, alListenerf)                        \
  X(LPALLISTENER3F, alListener3f) X(LPALLISTENERFV, alListenerfv)                    \
  X(LPALGETLISTENERI, alGetListeneri) X(LPALGETLISTENERF, alGetListenerf)            \
  X(LPALGETLISTENER3F, alGetListener3f) X(LPALGETLISTENERFV, alGetListenerfv)        \
  X(LPALGENSOURCES, alGenSources) X(LPALDELETESOURCES, alDeleteSources)              \
  X(LPALISSOURCE, alIsSource) X(LPALSOURCEI, alSourcei) X(LPALSOURCEF, alSourcef)    \
  X(LPALSOURCE3F, alSource3f) X(LPALSOURCEFV, alSourcefv)                            \
  X(LPALGETSOURCEI, alGetSourcei) X(LPALGETSOURCEF, alGetSourcef)                    \
  X(LPALGETSOURCEFV, alGetSourcefv) X(LPALSOURCEPLAYV, alSourcePlayv)                \
  X(LPALSOURCESTOPV, alSourceStopv) X(LPALSOURCEPLAY, alSourcePlay)                  \
  X(LPALSOURCEPAUSE, alSourcePause) X(LPALSOURCESTOP, alSourceStop)                  \
  X(LPALGENBUFFERS, alGenBuffers) X(LPALDELETEBUFFERS, alDeleteBuffers)              \
  X(LPALISBUFFER, alIsBuffer) X(LPALBUFFERDATA, alBufferData)                        \
  X(LPALGETBUFFERI, alGetBufferi) X(LPALGETBUFFERF, alGetBufferf)                    \
  X(LPALSOURCEQUEUEBUFFERS, alSourceQueueBuffers)                                    \
  X(LPALSOURCEUNQUEUEBUFFERS, alSourceUnqueueBuffers)                                \
  X(LPALDISTANCEMODEL, alDistanceModel) X(LPALDOPPLERFACTOR, alDopplerFactor)        \
  X(LPALDOPPLERVELOCITY, alDopplerVelocity) X(LPALCGETSTRING, alcGetString)          \
  X(LPALCGETINTEGERV, alcGetIntegerv) X(LPALCOPENDEVICE, alcOpenDevice)              \
  X(LPALCCLOSEDEVICE, alcCloseDevice) X(LPALCCREATECONTEXT, alcCreateContext)        \
  X(LPALCMAKECONTEXTCURRENT, alcMakeContextCurrent)                                  \
  X(LPALCPROCESSCONTEXT, alcProcessContext)                                          \
  X(LPALCGETCURRENTCONTEXT, alcGetCurrentContext)                                    \
  X(LPALCGETCONTEXTSDEVICE, alcGetContextsDevice)                                    \
  X(LPALCSUSPENDCONTEXT, alcSuspendContext)                                          \
  X(LPALCDESTROYCONTEXT, alcDestroyContext) X(LPALCGETERROR, alcGetError)            \
  X(LPALCISEXTENSIONPRESENT, alcIsExtensionPresent)                                  \
  X(LPALCGETPROCADDRESS, alcGetProcAddress) X(LPALCGETENUMVALUE, alcGetEnumValue)

#define SS_AL_TABLE_FIELD(type, name) type name = nullptr;
struct AlTable {
  void* library = nullptr;  // module handle of the loaded library
  SS_AL_ENTRY_POINTS(SS_AL_TABLE_FIELD)
};
#undef SS_AL_TABLE_FIELD

// Filled by LoadAlTable on the system thread before any other audio call;
// read from every thread afterwards. Tests may fill it with fakes directly.
extern AlTable alTable;

// The file StartAudio loads.
constexpr const char* kOpenAlLibraryFile = "libopenal.so.1";

// How LoadAlTable reaches a library. The default is dlopen / dlsym / dlclose;
// tests install a fake whose open returns any non-null handle and whose
// symbol answers recording fakes by name. A null result of symbol leaves that
// entry empty.
struct AlLibraryAccess {
  void* (*open)(const char* file);
  void* (*symbol)(void* library, const char* name);
  void (*close)(void* library);
};
void SetAlLibraryAccess(const AlLibraryAccess& access);
void UseSystemAlLibraryAccess();

// Loads the library and looks up every entry point (a name the library does
// not export stays empty, unchecked). Logs one line to the console log:
// "loading library: <file>... Success!" or "... Failed". False when the
// library cannot be loaded. System thread.
bool LoadAlTable(const char* file);

// Frees the library if one is loaded and clears every entry of alTable.
// Safe to call any number of times. System thread (start failure, stop) and
// the engine's stop operation.
void UnloadAlTable();

// System thread, once, during engine start: LoadAlTable(kOpenAlLibraryFile),
// opens the first device of the preference list that exists, else the
// default device, creates a 44100 Hz context and makes it current, logs the
// driver (ReportAudioDriver) and places the listener at the origin looking
// down -z. True when a context is current. On false the caller still calls
// StopAudio, which releases whatever was acquired.
bool StartAudio();

// The game's start of the sound: StartAudio, and when that fails the game
// runs silent instead of not at all: what was acquired is released (StopAudio,
// which empties alTable), conlog.txt gets "Sound off for this run: " and the
// reason, naming the device or library, and AudioRunsSilent() holds until the
// next call. Always true. System thread, once, during engine start.
bool StartAudioOrRunSilent();
// True after StartAudioOrRunSilent found no usable device. Any thread once
// the engine has started.
bool AudioRunsSilent();
// True while alTable holds the entry points: without them (a silent run)
// every sound and music call is a no-op. Any thread.
bool AudioTableLoaded();

// System thread, after its message loop ends (or after StartAudio failed):
// destroys the context, closes the device and unloads the table. Every sound
// and music stream must have been released before.
void StopAudio();

// Writes renderer, vendor, version and extension strings and the EAX and
// AL_EXT_vorbis probes to the console log, one line each. Needs a current
// context. Called by StartAudio.
void ReportAudioDriver();

// True when alGetError reports AL_NO_ERROR. Any thread.
bool AlOk();
