#include "audio/game_sounds.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "audio/audio_device.h"
#include "audio/mix_levels.h"
#include "audio/sound_effect.h"
#include "audio/volume.h"
#include "audio/wav_reader.h"
#include "resources/settings.h"

GameSoundBank gameSounds;

namespace {

constexpr float kPlayAreaHalfWidth = 35.5f;
// The angle off straight ahead of a sound at either edge. OpenAL Soft pans
// a mono source between the two speakers by its direction; at half a radian
// its stereo panning puts the channels 12 dB apart (4.4 dB at 0.2, 8 dB at
// 0.35, measured through its wave writer), so a sound at the edge is placed
// without being lost from the far ear.
constexpr float kEdgeAngle = 0.5f;  // radians

struct EventSoundMix {
  SoundPriority priority;
  float gain;
};

constexpr EventSoundMix MixOf(EventSound sound) {
  switch (sound) {
    case EventSound::BreakLarge:
    case EventSound::BreakMedium:
    case EventSound::BreakSmall:
      return {SoundPriority::Event, kBreakGain};
    case EventSound::PowerUpAppear:
    case EventSound::PickUpShield:
    case EventSound::PickUpLongRange:
    case EventSound::PickUpSpread:
    case EventSound::PickUpStarburst:
    case EventSound::PowerUpRunsOut:
      return {SoundPriority::Event, kLeadEventGain};
    case EventSound::FinalHit:
    case EventSound::FinalCollapse:
    case EventSound::ExtraLife:
    case EventSound::LevelFanfare:
      return {SoundPriority::Lead, kLeadEventGain};
    case EventSound::MenuTick:
    case EventSound::MenuClick:
      return {SoundPriority::Menu, kMenuSoundGain};
  }
  return {SoundPriority::Menu, 0.0f};
}

// One event sound's file into a new buffer; 0 when it cannot be read.
uint32_t LoadBuffer(const char* path) {
  std::vector<uint8_t> bytes;
  WavSound wav;
  if (!ReadSoundFile(path, &bytes) || !ReadWav(bytes.data(), bytes.size(), &wav) ||
      wav.sampleBytes > INT32_MAX) {
    return 0;
  }
  ALuint buffer = 0;
  alTable.alGetError();
  alTable.alGenBuffers(1, &buffer);
  if (!AlOk()) return 0;
  alTable.alBufferData(buffer, wav.format, wav.samples, static_cast<ALsizei>(wav.sampleBytes),
                       wav.frequency);
  if (!AlOk()) {
    alTable.alDeleteBuffers(1, &buffer);
    return 0;
  }
  return buffer;
}

void Play(EventSound sound, PanPosition position) {
  const uint32_t buffer = gameSounds.buffers[static_cast<int32_t>(sound)];
  if (!Settings.soundEnabled || buffer == 0) return;
  const EventSoundMix mix = MixOf(sound);
  const uint32_t source = gameSounds.voices.Take(static_cast<int32_t>(sound), mix.priority);
  if (source == 0) return;
  // A voice taken from a sound still playing must stop before its buffer
  // can change.
  alTable.alSourceStop(source);
  alTable.alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
  alTable.alSourcei(source, AL_LOOPING, AL_FALSE);
  alTable.alSourcef(source, AL_GAIN, mix.gain * EffectsVolumeScale());
  alTable.alSource3f(source, AL_POSITION, position.x, 0.0f, position.z);
  alTable.alSourcePlay(source);
}

}  // namespace

PanPosition PanPositionFor(float playX) {
  const float across = std::clamp(playX / kPlayAreaHalfWidth, -1.0f, 1.0f);
  const float angle = across * kEdgeAngle;
  return {std::sin(angle), -std::cos(angle)};
}

void LoadAllSounds(void (*advanceProgress)()) {
  LoadShipSounds();
  for (SoundEffect* ship :
       {shipSounds.laserShotSound, shipSounds.thrustSound, shipSounds.explosionSound})
    ship->SetGain(kShipSoundGain);
  // A silent run has no OpenAL to load into; the bar still moves on.
  const bool audible = AudioTableLoaded();
  bool any = false;
  for (int32_t i = 0; i < kEventSoundCount; ++i) {
    gameSounds.buffers[i] = audible ? LoadBuffer(kEventSoundFiles[i]) : 0;
    any = any || gameSounds.buffers[i] != 0;
    if (advanceProgress) advanceProgress();
  }
  // Without a single sound there is nothing to play on voices.
  if (any) gameSounds.voices.Create();
}

void ReleaseAllSounds() {
  ReleaseShipSounds();
  gameSounds.voices.Release();
  for (uint32_t& buffer : gameSounds.buffers) {
    if (buffer != 0) alTable.alDeleteBuffers(1, &buffer);
    buffer = 0;
  }
}

void PlayEventSound(EventSound sound, float playX) { Play(sound, PanPositionFor(playX)); }

void PlayCentredSound(EventSound sound) { Play(sound, PanPositionFor(0.0f)); }
