#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "audio/audio_device.h"

struct RecordingAlState;

// A fake OpenAL for tests. While it lives its entry points fill alTable (the
// previous table comes back when it goes); LibraryAccess() lets LoadAlTable
// find the same entry points by name. It logs every call the game makes as
// text, hands out source names from 1 and buffer names from 1001, keeps each
// source's queue, and answers queries and errors as configured. A second one
// made while another lives takes over until it goes; every member may be
// called from any thread.
//
// Log lines look like "alSourcei(1, AL_LOOPING, 1)", "alGenBuffers(2)",
// "alBufferData(1001, AL_FORMAT_MONO16, 4, 22050)", "alcOpenDevice(null)".
// alGetError and lookups by alIsSource / alIsBuffer are not logged.
class RecordingAl {
 public:
  RecordingAl();
  ~RecordingAl();
  RecordingAl(const RecordingAl&) = delete;
  RecordingAl& operator=(const RecordingAl&) = delete;

  std::vector<std::string> Calls() const;
  // The logged calls of one entry point, e.g. CallsTo("alSourcePlay").
  std::vector<std::string> CallsTo(const std::string& function) const;
  void ClearCalls();

  std::set<uint32_t> LiveSources() const;
  std::set<uint32_t> LiveBuffers() const;
  // Bytes last given to a buffer with alBufferData; every chunk ever given
  // to any buffer, in order.
  std::vector<uint8_t> BufferBytes(uint32_t buffer) const;
  std::vector<std::vector<uint8_t>> AllBufferData() const;

  // alGetSourcei(AL_BUFFERS_PROCESSED) answers min(count, buffers queued);
  // 0 until set.
  void SetBuffersProcessed(int32_t count);
  // alGetSourcei(AL_SOURCE_STATE) answers this instead of the state the
  // fake tracks from play and stop calls; a negative value restores tracking.
  void SetSourceState(int32_t state);
  // Every later call of the entry point raises error, which the next
  // alGetError returns (a failed alGen* hands out no names).
  void FailCall(const std::string& function, int32_t error = AL_INVALID_OPERATION);

  // The device side: which named devices exist (none at first), whether the
  // default one does (true at first), whether contexts can be created, and
  // the extensions alIsExtensionPresent reports. alGetString answers
  // "Recording Renderer", "Recording Vendor", "1.1 Recording" and the
  // extension names joined by spaces.
  void SetDevices(std::vector<std::string> names);
  void SetDefaultDevice(bool available);
  void SetContextFails(bool fails);
  void SetExtensions(std::set<std::string> names);

  // Library access for LoadAlTable: open answers a handle only while the
  // library is present (true at first) and logs "open(<file>)"; close logs
  // "close".
  AlLibraryAccess LibraryAccess() const;
  void SetLibraryPresent(bool present);

 private:
  AlTable savedTable_;
  RecordingAlState* state_;
  RecordingAlState* savedState_;
};
