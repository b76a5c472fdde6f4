#pragma once

// What sound effects and music streams share: three operations, in this
// order. Callers that hold an AudioSource* may load, play and stop without
// knowing which kind it is.
class AudioSource {
 public:
  virtual ~AudioSource() = default;

  // Reads the asset file at path (relative to the asset directory, with
  // "/"). False only when the file cannot be used at all; callers may ignore
  // the result, the source then stays silent.
  virtual bool Load(const char* path) = 0;
  // Starts the sound from its beginning, looping or once. Silent while the
  // "Sound" setting is off.
  virtual void Play(bool loop) = 0;
  virtual void Stop() = 0;
};
