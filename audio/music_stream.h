#pragma once
#include <atomic>
#include <cstdint>

#include "audio/audio_source.h"

struct OggVorbis_File;
struct ThreadRecord;

// Ogg Vorbis music decoded a chunk at a time on a thread of its own, which
// keeps two OpenAL buffers queued on one listener-relative source. Each chunk
// holds half the stream's nominal bitrate in bytes of 16-bit PCM (64000 bytes,
// about 0.36 s of 44.1 kHz stereo, at 128 kbit/s).
//
// Open, Play, Stop and destruction run on the main thread; between Play and
// Stop the streaming thread is the only user of the decoder.
class MusicStream : public AudioSource {
 public:
  MusicStream() = default;
  // Stops a stream still playing, then releases the decoder and its file.
  ~MusicStream() override;
  MusicStream(const MusicStream&) = delete;
  MusicStream& operator=(const MusicStream&) = delete;

  // Opens the asset file at path and its decoder. False when the file cannot
  // be opened or is not an Ogg Vorbis stream (the stream then stays silent),
  // with "Music load failed: PATH" in the console log. Call once.
  bool Open(const char* path);
  bool Load(const char* path) override { return Open(path); }

  // Starts a streaming thread that plays the stream from its beginning,
  // looping or once, at the music volume (audio/volume.h), which the thread
  // follows while it plays. Nothing while the "Sound" setting is off, the
  // stream is not open, or its nominal bitrate gives no usable chunk size. A
  // stream still playing is stopped first.
  void Play(bool loop) override;
  // Asks the streaming thread to stop, waits up to 500 ms for it to say it
  // has finished (on a frame timer of its own, updating the timers while it
  // waits), then joins it. The thread looks at its stop flag at least every
  // 10 ms, so the join is quick. Nothing when no thread is running.
  void Stop() override;
  // The game's pause: the streaming thread pauses the source within one
  // refill period and plays it on from the same sample after Resume. A Play
  // starts unpaused. Nothing when no thread is running.
  void Pause() { pauseRequested.store(true, std::memory_order_release); }
  void Resume() { pauseRequested.store(false, std::memory_order_release); }

  // True between a Play that started a thread and the next Stop, even when
  // the thread has ended by itself.
  bool HasThread() const { return thread != nullptr; }
  int32_t nominalBitrate() const { return bitrate; }

 private:
  static uint32_t StreamMain(void* self);
  void Stream();
  // Decodes into chunk, up to chunkBytes. The first two fills of a Play stop
  // at the stream's end and mark decoding errors; refills rewind at the end
  // of a looping stream and otherwise ask the thread to stop.
  int32_t FillChunk(char* chunk, bool refill, bool* errorMark);

  OggVorbis_File* decoder = nullptr;  // owned; open from Open to destruction
  int32_t format = 0;                 // AL_FORMAT_MONO16 or AL_FORMAT_STEREO16
  int32_t rate = 0;                   // samples per second of the stream
  int32_t bitrate = 0;                // nominal bits per second
  int32_t chunkBytes = 0;
  bool looping = false;               // set by Play before the thread starts
  ThreadRecord* thread = nullptr;
  // Written by Stop (main thread) and by the streaming thread at the end of
  // its stream; read by both.
  std::atomic<bool> stopRequested{false};
  // Written by Pause and Resume (main thread), followed by the streaming
  // thread.
  std::atomic<bool> pauseRequested{false};
  // Written by the streaming thread as its last act after a stop, and by
  // Stop once the thread is joined; read by Stop.
  std::atomic<bool> finished{false};
};
