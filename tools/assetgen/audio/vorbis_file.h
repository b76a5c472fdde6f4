#pragma once
#include <cstdint>
#include <string>

#include "tools/assetgen/audio/synth.h"

namespace synth {

// Encodes a stereo buffer at kSampleRate as one Ogg Vorbis stream in
// quality-based VBR (quality -0.1 .. 1), with the given stream serial
// number and TITLE comment. Deterministic for equal input. Returns false
// when the encoder refuses the setup or would write no positive nominal
// bitrate: the game's music streamer sizes its chunks from that field.
bool EncodeVorbis(const StereoBuffer& audio, uint32_t serial, float quality, const std::string& title,
                  std::string& bytes);

}  // namespace synth
