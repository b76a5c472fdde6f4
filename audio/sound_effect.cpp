#include "audio/sound_effect.h"

#include <vector>

#include "audio/audio_device.h"
#include "audio/wav_reader.h"
#include "platform/asset_directory.h"
#include "resources/loader.h"
#include "resources/settings.h"

SoundEffect* laserShotSound = nullptr;
SoundEffect* thrustSound = nullptr;
SoundEffect* explosionSound = nullptr;

namespace {

// Grows the buffer block by block, so nothing is allocated beyond what the
// file actually holds.
std::vector<uint8_t> ReadWhole(AssetFile file) {
  constexpr std::size_t kBlock = 64 * 1024;
  std::vector<uint8_t> bytes;
  std::size_t got;
  do {
    const std::size_t used = bytes.size();
    bytes.resize(used + kBlock);
    got = AssetRead(bytes.data() + used, 1, kBlock, file);
    bytes.resize(used + got);
  } while (got == kBlock);
  return bytes;
}

}  // namespace

SoundEffect::~SoundEffect() {
  // The "Sound" setting is read here as at every call: with sound off the
  // names are left to the device, which frees them when it closes.
  if (!Settings.soundEnabled || !isLoaded) return;
  alTable.alDeleteSources(1, &source);
  alTable.alDeleteBuffers(1, &buffer);
}

bool SoundEffect::Load(const char* path) {
  AssetFile file;
  OpenAssetFile(path, "rb", &file);
  if (!file) return false;
  isLoaded = false;
  const std::vector<uint8_t> bytes = ReadWhole(file);
  AssetClose(file);

  WavSound wav;
  if (!ReadWav(bytes.data(), bytes.size(), &wav) || wav.sampleBytes > INT32_MAX) return true;
  if (!AudioTableLoaded()) return true;  // a silent run: no device to hold the sound
  format = wav.format;
  frequency = wav.frequency;
  alTable.alGenSources(1, &source);
  alTable.alGenBuffers(1, &buffer);
  alTable.alBufferData(buffer, format, wav.samples, static_cast<ALsizei>(wav.sampleBytes),
                       frequency);
  alTable.alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
  alTable.alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
  alTable.alSourcef(source, AL_PITCH, 1.0f);
  alTable.alSourcef(source, AL_GAIN, 1.0f);
  isLoaded = true;
  return true;
}

void SoundEffect::Play(bool loop) {
  if (!Settings.soundEnabled || !isLoaded) return;
  loopFlag = loop;
  alTable.alSourcei(source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
  alTable.alSourcePlay(source);
}

void SoundEffect::Stop() {
  if (!Settings.soundEnabled || !isLoaded) return;
  alTable.alSourceStop(source);
}

void LoadShipSounds() {
  laserShotSound = new SoundEffect;
  thrustSound = new SoundEffect;
  explosionSound = new SoundEffect;
  laserShotSound->Load(kLaserShotSoundFile);
  thrustSound->Load(kThrustSoundFile);
  explosionSound->Load(kExplosionSoundFile);
}

void ReleaseShipSounds() {
  for (SoundEffect** slot : {&laserShotSound, &thrustSound, &explosionSound}) {
    delete *slot;
    *slot = nullptr;
  }
}

namespace {

// The loader, a layer below, loads the ship sounds after the pictures and
// releases them with the catalogue. Wherever these sounds are linked in, the
// loader learns of them before the program starts.
const bool shipSoundsHandedToLoader = [] {
  SetLoaderSoundSteps({LoadShipSounds, ReleaseShipSounds});
  return true;
}();

}  // namespace
