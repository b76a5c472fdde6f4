#include "tools/assetgen/audio/vorbis_file.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>

namespace synth {
namespace {

void AppendPage(const ogg_page& page, std::string& bytes) {
  bytes.append(reinterpret_cast<const char*>(page.header), static_cast<size_t>(page.header_len));
  bytes.append(reinterpret_cast<const char*>(page.body), static_cast<size_t>(page.body_len));
}

// Owns the libvorbis and libogg state of one encode and frees it on every path.
struct Encoder {
  vorbis_info info;
  vorbis_comment comment;
  vorbis_dsp_state dsp;
  vorbis_block block;
  ogg_stream_state stream;
  bool analysing = false;

  Encoder() {
    vorbis_info_init(&info);
    vorbis_comment_init(&comment);
  }
  ~Encoder() {
    if (analysing) {
      ogg_stream_clear(&stream);
      vorbis_block_clear(&block);
      vorbis_dsp_clear(&dsp);
    }
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
  }
  Encoder(const Encoder&) = delete;
  Encoder& operator=(const Encoder&) = delete;

  // Moves every finished packet into pages; `flush` forces out a partly
  // filled page (the headers must end a page of their own).
  void Drain(std::string& bytes, bool flush) {
    ogg_page page;
    while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page))
      AppendPage(page, bytes);
  }

  void Analyse(std::string& bytes) {
    ogg_packet packet;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
        ogg_stream_packetin(&stream, &packet);
        Drain(bytes, false);
      }
    }
  }
};

}  // namespace

bool EncodeVorbis(const StereoBuffer& audio, uint32_t serial, float quality, const std::string& title,
                  std::string& bytes) {
  bytes.clear();
  Encoder encoder;
  if (vorbis_encode_init_vbr(&encoder.info, 2, kSampleRate, quality) != 0) return false;
  if (encoder.info.bitrate_nominal <= 0) return false;
  vorbis_comment_add_tag(&encoder.comment, "TITLE", title.c_str());
  vorbis_analysis_init(&encoder.dsp, &encoder.info);
  vorbis_block_init(&encoder.dsp, &encoder.block);
  ogg_stream_init(&encoder.stream, static_cast<int>(serial));
  encoder.analysing = true;

  ogg_packet identification;
  ogg_packet comments;
  ogg_packet codebooks;
  vorbis_analysis_headerout(&encoder.dsp, &encoder.comment, &identification, &comments, &codebooks);
  ogg_stream_packetin(&encoder.stream, &identification);
  ogg_stream_packetin(&encoder.stream, &comments);
  ogg_stream_packetin(&encoder.stream, &codebooks);
  encoder.Drain(bytes, true);

  constexpr size_t kBlockFrames = 4096;
  const size_t frames = audio.Frames();
  for (size_t first = 0; first < frames; first += kBlockFrames) {
    const size_t count = std::min(kBlockFrames, frames - first);
    float** channels = vorbis_analysis_buffer(&encoder.dsp, static_cast<int>(count));
    std::copy_n(audio.left.begin() + first, count, channels[0]);
    std::copy_n(audio.right.begin() + first, count, channels[1]);
    vorbis_analysis_wrote(&encoder.dsp, static_cast<int>(count));
    encoder.Analyse(bytes);
  }
  vorbis_analysis_wrote(&encoder.dsp, 0);  // end of stream
  encoder.Analyse(bytes);
  encoder.Drain(bytes, true);
  return true;
}

}  // namespace synth
