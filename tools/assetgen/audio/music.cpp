#include <thread>

#include "tools/assetgen/audio/audio_assets.h"
#include "tools/assetgen/audio/songs.h"
#include "tools/assetgen/audio/vorbis_file.h"

namespace {

// About 128 kbit/s nominal: the game streams in chunks of half that many
// bytes, some 0.36 s of stereo each.
constexpr float kQuality = 0.4f;

bool WriteSong(const synth::Song& song, uint32_t serial, const std::string& title, const std::string& path) {
  const synth::StereoBuffer audio = synth::RenderSong(song, static_cast<float>(synth::DecibelsToGain(-1.0)));
  std::string bytes;
  return audio.Frames() > 0 && synth::EncodeVorbis(audio, serial, kQuality, title, bytes) &&
         synth::WriteBinaryFile(path, bytes);
}

}  // namespace

bool WriteMusic(const std::string& baseDir) {
  const std::string folder = synth::JoinPath(baseDir, "sound/music/");
  // The two pieces share nothing, so they are made side by side; each is
  // rendered and encoded on one thread only, which keeps the bytes fixed.
  bool menuWritten = false;
  std::thread menu([&] {
    menuWritten = WriteSong(synth::ComposeMenuTheme(), 0x55310001u, "Menu", folder + "SS_menu.ogg");
  });
  const bool gameplayWritten =
      WriteSong(synth::ComposeUpbeatTech(), 0x55310002u, "Upbeat Tech", folder + "SS_upbeat-tech.ogg");
  menu.join();
  return menuWritten && gameplayWritten;
}
