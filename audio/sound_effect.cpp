#include "audio/sound_effect.h"

#include <string>
#include <vector>

#include "audio/audio_device.h"
#include "audio/game_sounds.h"
#include "audio/volume.h"
#include "audio/wav_reader.h"
#include "platform/asset_directory.h"
#include "platform/console_log.h"
#include "resources/loader.h"
#include "resources/settings.h"

ShipSoundsRecord shipSounds;

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

void LogLoadFailure(const char* path) {
  LogText((std::string("Sound load failed: ") + path).c_str());
}

}  // namespace

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
  if (!file) {
    LogLoadFailure(path);
    return false;
  }
  *bytes = ReadWhole(file);
  AssetClose(file);
  return true;
}

bool SoundEffect::Load(const char* path) {
  std::vector<uint8_t> bytes;
  if (!ReadSoundFile(path, &bytes)) return false;
  isLoaded = false;

  WavSound wav;
  if (!ReadWav(bytes.data(), bytes.size(), &wav) || wav.sampleBytes > INT32_MAX) {
    LogLoadFailure(path);
    return true;
  }
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
  gain_ = 1.0f;
  alTable.alSourcef(source, AL_GAIN, gain_ * EffectsVolumeScale());
  // The error state is shared by the whole context: one left here would be
  // taken by the music thread's next check as a failure of its own stream.
  alTable.alGetError();
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
  gain_ = gain;
  alTable.alSourcef(source, AL_GAIN, gain * EffectsVolumeScale());
}

void SoundEffect::Stop() {
  if (!Settings.soundEnabled || !isLoaded) return;
  alTable.alSourceStop(source);
}

void LoadShipSounds() {
  ReleaseShipSounds();  // a second load must not leak the first set
  shipSounds.laserShotSound = new SoundEffect;
  shipSounds.thrustSound = new SoundEffect;
  shipSounds.explosionSound = new SoundEffect;
  shipSounds.laserShotSound->Load(kLaserShotSoundFile);
  shipSounds.thrustSound->Load(kThrustSoundFile);
  shipSounds.explosionSound->Load(kExplosionSoundFile);
}

void ReleaseShipSounds() {
  for (SoundEffect** slot :
       {&shipSounds.laserShotSound, &shipSounds.thrustSound, &shipSounds.explosionSound}) {
    delete *slot;
    *slot = nullptr;
  }
}

void ApplyVolumeToShipSounds() {
  for (SoundEffect* sound :
       {shipSounds.laserShotSound, shipSounds.thrustSound, shipSounds.explosionSound}) {
    if (sound) sound->ApplyVolume();
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
