#pragma once
// What the audio tests share: sound files they make themselves (WAV bytes
// chunk by chunk, short Ogg Vorbis tones encoded with libvorbisenc) and a few
// ways to watch threads.
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace audio_test {

inline std::string U16(uint16_t value) {
  return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

inline std::string U32(uint32_t value) { return U16(value & 0xFFFF) + U16(value >> 16); }

// A chunk whose size field says how many bytes follow; sizeOverride lets a
// test lie about it.
inline std::string Chunk(const std::string& id, const std::string& body,
                         int64_t sizeOverride = -1) {
  const auto size = static_cast<uint32_t>(sizeOverride >= 0 ? sizeOverride : body.size());
  return id + U32(size) + body;
}

// A "fmt " block; extra bytes follow the 16 PCM bytes.
inline std::string FmtChunk(uint16_t channels, uint16_t bits, uint32_t rate,
                            const std::string& extra = "", uint16_t tag = 1) {
  const uint16_t align = static_cast<uint16_t>(channels * bits / 8);
  return Chunk("fmt ", U16(tag) + U16(channels) + U32(rate) + U32(rate * align) + U16(align) +
                           U16(bits) + extra);
}

inline std::string RiffWave(const std::string& chunks) {
  return Chunk("RIFF", "WAVE" + chunks);
}

// 16-bit mono samples of a sine tone.
inline std::string Tone16(double frequency, uint32_t rate, double seconds, double amplitude = 0.5) {
  std::string bytes;
  const auto count = static_cast<uint32_t>(rate * seconds);
  for (uint32_t i = 0; i < count; ++i) {
    const double value = amplitude * std::sin(2.0 * M_PI * frequency * i / rate);
    bytes += U16(static_cast<uint16_t>(static_cast<int16_t>(std::lround(value * 32767.0))));
  }
  return bytes;
}

inline std::string MonoWav16(const std::string& samples, uint32_t rate = 22050) {
  return RiffWave(FmtChunk(1, 16, rate) + Chunk("data", samples));
}

// An Ogg Vorbis tone, the same on every channel, encoded at an average
// bitrate so that the stream's nominal bitrate is exactly bitrate. The tone
// changes from frequency to laterFrequency at switchSeconds, so a test can
// tell the start of the stream from the rest. claimedBitrate, when not
// negative, replaces the nominal bitrate written in the stream's header.
struct OggTone {
  int channels = 2;
  int rate = 44100;
  double seconds = 1.0;
  long bitrate = 128000;
  double frequency = 440.0;
  double switchSeconds = 1e9;
  double laterFrequency = 880.0;
  long claimedBitrate = -1;
};

// False when the encoder refuses the settings or the file cannot be written.
inline bool WriteOggTone(const std::filesystem::path& path, const OggTone& tone) {
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init(&info, tone.channels, tone.rate, -1, tone.bitrate, -1) != 0) {
    vorbis_info_clear(&info);
    return false;
  }
  // Only the header carries this field; the encoder works from its own setup.
  if (tone.claimedBitrate >= 0) info.bitrate_nominal = tone.claimedBitrate;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    vorbis_info_clear(&info);
    return false;
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block block;
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 1);
  ogg_page page;
  auto writePage = [&] {
    std::fwrite(page.header, 1, page.header_len, file);
    std::fwrite(page.body, 1, page.body_len, file);
  };

  ogg_packet header, commentHeader, codeHeader;
  vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &commentHeader);
  ogg_stream_packetin(&stream, &codeHeader);
  while (ogg_stream_flush(&stream, &page)) writePage();

  const long total = std::lround(tone.seconds * tone.rate);
  constexpr long kBlock = 1024;
  for (long done = 0;; done += kBlock) {
    const long count = std::min(kBlock, total - done);
    if (count > 0) {
      float** pcm = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
      for (long i = 0; i < count; ++i) {
        const double t = static_cast<double>(done + i) / tone.rate;
        const double f = t < tone.switchSeconds ? tone.frequency : tone.laterFrequency;
        const auto value = static_cast<float>(0.5 * std::sin(2.0 * M_PI * f * t));
        for (int c = 0; c < tone.channels; ++c) pcm[c][i] = value;
      }
    }
    vorbis_analysis_wrote(&dsp, count > 0 ? static_cast<int>(count) : 0);
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page)) writePage();
      }
    }
    if (count <= 0) break;
  }
  while (ogg_stream_flush(&stream, &page)) writePage();
  std::fclose(file);
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return true;
}

// Threads of this process right now. Sanitizers start a helper thread of
// their own with the first thread the program makes, so a test counts after
// one thread has come and gone.
inline int ThreadCount() {
  static const bool settled = [] {
    std::thread([] {}).join();
    return true;
  }();
  (void)settled;
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
    (void)entry;
    ++count;
  }
  return count;
}

// Polls done every millisecond until it holds or seconds have passed;
// returns its last answer.
template <typename Done>
bool WaitUntil(Done done, double seconds = 5.0) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return done();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

inline double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace audio_test
