#include "audio/sound_effect.h"

#include <vector>

#include "audio/audio_device.h"
#include "audio/game_sounds.h"
#include "audio/wav_reader.h"
#include "platform/asset_directory.h"
#include "resources/loader.h"
#include "resources/settings.h"

SoundEffect* laserShotSound = nullptr;
SoundEffect* thrustSound = nullptr;
SoundEffect* explosionSound = nullptr;

SoundEffect::~SoundEffect() {
  // The "Sound" setting is read here as at every call: with sound off the
  // names are left to the device, which frees them when it closes.
  if (!Settings.soundEnabled || !isLoaded) return;
  alTable.alDeleteSources(1, &source);
  alTable.alDeleteBuffers(1, &buffer);
}

bool ReadSoundFile(const char* path, std::vector<uint8_t>* bytes) {
  AssetFile file;
  OpenAssetFile(path, "rb", &file);
  if (!file) return false;
  // Grows the buffer block by block, so nothing is allocated beyond what the
  // file actually holds.
  constexpr std::size_t kBlock = 64 * 1024;
  bytes->clear();
  std::size_t got;
  do {
    const std::size_t used = bytes->size();
    bytes->resize(used + kBlock);
    got = AssetRead(bytes->data() + used, 1, kBlock, file);
    bytes->resize(used + got);
  } while (got == kBlock);
  AssetClose(file);
  return true;
}

bool SoundEffect::Load(const char* path) {
  std::vector<uint8_t> bytes;
  if (!ReadSoundFile(path, &bytes)) return false;
  isLoaded = false;

  WavSound wav;
  if (!ReadWav(bytes.data(), bytes.size(), &wav) || wav.sampleBytes > INT32_MAX) return true;
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

void SoundEffect::SetGain(float gain) {
  // Unlike playing, set whatever the "Sound" setting: sound switched on
  // later must find the level already right.
  if (!isLoaded) return;
  alTable.alSourcef(source, AL_GAIN, gain);
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

// The loader, a layer below, loads the sounds after the pictures and
// releases them with the catalogue. Wherever these sounds are linked in, the
// loader learns of them before the program starts.
const bool soundsHandedToLoader = [] {
  SetLoaderSoundSteps({LoadAllSounds, ReleaseAllSounds, kEventSoundCount});
  return true;
}();

}  // namespace
