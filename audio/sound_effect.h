#pragma once
#include <cstdint>
#include <vector>

#include "audio/audio_source.h"

// A short sound read whole from a WAV file into one OpenAL buffer, played on
// its own listener-relative source; playing it again restarts it from the
// beginning. Load runs on the loader thread; Play, Stop and destruction on
// the main thread once loading has finished. OpenAL errors are ignored.
class SoundEffect : public AudioSource {
 public:
  SoundEffect() = default;
  // Deletes the source and then the buffer, if loaded, while the "Sound"
  // setting is on. Must run before the audio device stops.
  ~SoundEffect() override;
  SoundEffect(const SoundEffect&) = delete;
  SoundEffect& operator=(const SoundEffect&) = delete;

  // False only when the file cannot be opened. A file that opens but is not
  // a well-formed 8- or 16-bit mono or stereo PCM WAV returns true and leaves
  // the sound not loaded (silent, no OpenAL names). Either failure writes
  // "Sound load failed: PATH" to the console log. Leaves no OpenAL error
  // behind. Call once.
  bool Load(const char* path) override;
  // Nothing while the "Sound" setting is off or the sound is not loaded;
  // otherwise sets looping on or off and (re)starts the source.
  void Play(bool loop) override;
  // Nothing while the "Sound" setting is off or the sound is not loaded;
  // otherwise stops the source.
  void Stop() override;
  // Linear OpenAL gain of the source (1 after Load), scaled by the effects
  // volume (audio/volume.h); nothing when the sound is not loaded. Applies
  // whatever the "Sound" setting.
  void SetGain(float gain);
  // Sets the gain again at the effects volume of now: the volume changed.
  void ApplyVolume() { SetGain(gain_); }

  bool loaded() const { return isLoaded; }
  bool looping() const { return loopFlag; }

 private:
  bool isLoaded = false;
  bool loopFlag = false;
  int32_t format = 0;
  int32_t frequency = 0;
  uint32_t source = 0;
  uint32_t buffer = 0;
  float gain_ = 1.0f;  // before the effects volume
};

// The ship's three sounds, process-wide; empty until LoadShipSounds.
struct ShipSoundsRecord {
  SoundEffect* laserShotSound = nullptr;  // fired shot, played once
  SoundEffect* thrustSound = nullptr;     // engine, played looping
  SoundEffect* explosionSound = nullptr;  // ship breaking up, played once
};
extern ShipSoundsRecord shipSounds;

constexpr const char* kLaserShotSoundFile = "sound/ship/SS_shot-laser3.wav";
constexpr const char* kThrustSoundFile = "sound/ship/thrust.wav";
constexpr const char* kExplosionSoundFile = "sound/ship/SS_explosion-debris.wav";

// Any thread: the whole asset file at path into *bytes; false when it
// cannot be opened.
bool ReadSoundFile(const char* path, std::vector<uint8_t>* bytes);

// Loader thread: creates the three slots in the order laser shot, thrust,
// explosion and loads them in that order, first destroying any set an
// earlier call made. Results of the loads are ignored.
void LoadShipSounds();
// Main thread, at shutdown before the audio device stops: destroys the three
// sounds and empties the slots. Safe when they were never loaded.
void ReleaseShipSounds();
// Main thread, after the effects volume changed: the ship's sounds (the
// thrust may be looping) take the new level at once.
void ApplyVolumeToShipSounds();
