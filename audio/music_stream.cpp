#include "audio/music_stream.h"

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "audio/audio_device.h"
#include "audio/mix_levels.h"
#include "audio/volume.h"
#include "platform/asset_directory.h"
#include "platform/console_log.h"
#include "platform/frame_timer.h"
#include "platform/threads.h"
#include "resources/settings.h"

namespace {

constexpr auto kRefillPeriod = std::chrono::milliseconds(10);
constexpr auto kStopPollPeriod = std::chrono::milliseconds(1);
constexpr float kStopWaitMilliseconds = 500.0f;
// A chunk of half the nominal bitrate: 8 MiB at most, which no real stream
// comes near, so a damaged header cannot ask for gigabytes.
constexpr uint32_t kMaxChunkBytes = 8u << 20;
// Consecutive decoding errors after which a first fill gives up; the stream
// is not played anyway once one error is seen.
constexpr int kMaxReadErrors = 64;

// 16-bit signed little-endian output.
constexpr int kBigEndian = 0;
constexpr int kWordBytes = 2;
constexpr int kSigned = 1;

float MusicGain() { return kMusicGain * MusicVolumeScale(); }

bool LogOpenFailure(const char* path) {
  LogText((std::string("Music load failed: ") + path).c_str());
  return false;
}

}  // namespace

MusicStream::~MusicStream() {
  Stop();
  if (decoder) {
    ov_clear(decoder);  // also closes the file
    delete decoder;
  }
}

bool MusicStream::Open(const char* path) {
  if (decoder) return false;
  AssetFile file;
  OpenAssetFile(path, "rb", &file);
  if (!file) return LogOpenFailure(path);
  auto* opened = new OggVorbis_File;
  if (ov_open(file, opened, nullptr, 0) < 0) {
    AssetClose(file);  // a failed open leaves the file to us
    delete opened;
    return LogOpenFailure(path);
  }
  const vorbis_info* info = ov_info(opened, -1);
  ov_comment(opened, -1);
  if (!info) {
    ov_clear(opened);
    delete opened;
    return LogOpenFailure(path);
  }
  format = info->channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
  rate = static_cast<int32_t>(info->rate);
  ov_raw_seek(opened, 0);
  bitrate = static_cast<int32_t>(info->bitrate_nominal);

  // A chunk ends on a whole frame: ov_read refuses a request shorter than one
  // frame, which would read as a decoding error at the end of every chunk.
  const uint32_t frameBytes = static_cast<uint32_t>(info->channels) * kWordBytes;
  uint32_t bytes = static_cast<uint32_t>(bitrate) >> 1;
  bytes -= bytes % frameBytes;  // the decoder never opens a stream of 0 channels
  chunkBytes = bitrate > 0 && bytes <= kMaxChunkBytes ? static_cast<int32_t>(bytes) : 0;
  // Such a stream stays open (its header can still be read) but never plays;
  // the log says why the music is silent.
  if (chunkBytes == 0)
    LogText((std::string("Music has no usable bitrate, not played: ") + path).c_str());
  decoder = opened;
  return true;
}

void MusicStream::Play(bool loop) {
  if (!Settings.soundEnabled || !decoder || chunkBytes <= 0 || !AudioTableLoaded()) return;
  Stop();
  looping = loop;
  stopRequested.store(false, std::memory_order_relaxed);
  pauseRequested.store(false, std::memory_order_relaxed);
  finished.store(false, std::memory_order_relaxed);
  ov_raw_seek(decoder, 0);
  // Starting the thread publishes everything written above to it.
  thread = StartThread(StreamMain, this);
}

void MusicStream::Stop() {
  if (!thread) return;
  stopRequested.store(true, std::memory_order_release);
  const int32_t timer = AcquireTimer();
  while (!finished.load(std::memory_order_acquire) && !ThreadFinished(thread) &&
         TimerMilliseconds(timer) < kStopWaitMilliseconds) {
    std::this_thread::sleep_for(kStopPollPeriod);
    UpdateTimers();
  }
  ReleaseTimer(timer);
  StopThread(thread);
  thread = nullptr;
  finished.store(true, std::memory_order_release);
}

uint32_t MusicStream::StreamMain(void* self) {
  static_cast<MusicStream*>(self)->Stream();
  return 0;
}

int32_t MusicStream::FillChunk(char* chunk, bool refill, bool* errorMark) {
  int32_t filled = 0;
  int errors = 0;
  bool rewound = false;  // a rewind that has not yet given any bytes
  int section = 0;
  while (filled < chunkBytes) {
    const long got =
        ov_read(decoder, chunk + filled, chunkBytes - filled, kBigEndian, kWordBytes, kSigned, &section);
    if (got > 0) {
      filled += static_cast<int32_t>(got);
      errors = 0;
      rewound = false;
    } else if (!refill) {
      if (got == 0) break;
      *errorMark = true;
      if (++errors == kMaxReadErrors) break;
    } else if (got == 0 && looping && !rewound && ov_raw_seek(decoder, 0) == 0) {
      rewound = true;
    } else {
      stopRequested.store(true, std::memory_order_release);
      break;
    }
  }
  return filled;
}

void MusicStream::Stream() {
  ALuint buffers[2] = {0, 0};
  ALuint source = 0;
  bool haveBuffers = false, haveSource = false;
  std::vector<char> chunk;
  bool errorMark = false;

  // Every way out deletes the names this thread generated, so neither an
  // OpenAL error nor a short stream leaves a source or buffers behind.
  auto release = [&] {
    if (haveSource) {
      alTable.alSourceStop(source);
      alTable.alDeleteSources(1, &source);
    }
    if (haveBuffers) alTable.alDeleteBuffers(2, buffers);
  };
  auto bufferChunk = [&](ALuint buffer, int32_t bytes) {
    alTable.alBufferData(buffer, format, chunk.data(), bytes, rate);
    return AlOk();
  };

  alTable.alGenBuffers(2, buffers);
  haveBuffers = AlOk();
  if (!haveBuffers) return release();
  alTable.alGenSources(1, &source);
  haveSource = AlOk();
  if (!haveSource) return release();
  alTable.alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
  alTable.alSourcef(source, AL_PITCH, 1.0f);
  float gain = MusicGain();
  alTable.alSourcef(source, AL_GAIN, gain);

  chunk.resize(static_cast<std::size_t>(chunkBytes));
  int32_t bytes = FillChunk(chunk.data(), false, &errorMark);
  if (bytes == 0 || !bufferChunk(buffers[0], bytes)) return release();
  bytes = FillChunk(chunk.data(), false, &errorMark);
  if (bytes == 0) return release();
  if (errorMark) {
    stopRequested.store(true, std::memory_order_release);
  } else {
    if (!bufferChunk(buffers[1], bytes)) return release();
    alTable.alSourceQueueBuffers(source, 2, buffers);
    alTable.alSourcePlay(source);
  }

  bool paused = false;
  while (!stopRequested.load(std::memory_order_acquire)) {
    // The music volume is followed within one refill period.
    const float wantedGain = MusicGain();
    if (wantedGain != gain) {
      gain = wantedGain;
      alTable.alSourcef(source, AL_GAIN, gain);
    }
    const bool pauseWanted = pauseRequested.load(std::memory_order_acquire);
    if (pauseWanted != paused) {
      if (pauseWanted) {
        alTable.alSourcePause(source);
      } else {
        alTable.alSourcePlay(source);
      }
      paused = pauseWanted;
    }
    ALint processed = 0;
    alTable.alGetSourcei(source, AL_BUFFERS_PROCESSED, &processed);
    for (ALint i = 0; i < processed; ++i) {
      ALuint buffer = 0;
      alTable.alSourceUnqueueBuffers(source, 1, &buffer);
      bytes = FillChunk(chunk.data(), true, &errorMark);
      if (!bufferChunk(buffer, bytes)) return release();
      alTable.alSourceQueueBuffers(source, 1, &buffer);
      if (!AlOk()) return release();
    }
    if (processed > 0 && !stopRequested.load(std::memory_order_acquire)) {
      // A source that ran dry while this thread was late has stopped on its
      // own; the refilled buffers would otherwise never sound.
      ALint state = AL_PLAYING;
      alTable.alGetSourcei(source, AL_SOURCE_STATE, &state);
      if (state == AL_STOPPED) alTable.alSourcePlay(source);
    }
    std::this_thread::sleep_for(kRefillPeriod);
  }

  release();
  finished.store(true, std::memory_order_release);
}
