#pragma once
#include <cstdint>

#include "audio/event_sound_files.h"
#include "audio/voice_pool.h"

// The sounds of everything that happens besides the ship: each file is one
// OpenAL buffer, and every play takes a voice of the shared pool. Loaded by
// the loader thread after the ship's sounds, played on the main thread once
// loading is over, released at shutdown before the audio device stops.
struct GameSoundBank {
  // By EventSound; 0 where the file was missing or damaged (that sound then
  // stays silent).
  uint32_t buffers[kEventSoundCount] = {};
  VoicePool voices;
};
extern GameSoundBank gameSounds;

// The loader's sound step: the ship's three sounds (at the ship's gain),
// then the event sounds in EventSound order, calling advanceProgress (when
// given) after each, then the voice pool if any of them loaded.
void LoadAllSounds(void (*advanceProgress)());
// Main thread, at shutdown before the audio device stops: the ship's sounds,
// the voices, then the buffers. Safe when nothing was loaded.
void ReleaseAllSounds();

// Plays sound where it happens: playX is the play area's x, -35.5 (left
// edge) to 35.5 (right edge); values beyond are held at the edge. Nothing
// while the "Sound" setting is off, the sound did not load, or every voice
// is busy with sounds that outrank it.
void PlayEventSound(EventSound sound, float playX);
// The same, in the middle (menus, the level summary).
void PlayCentredSound(EventSound sound);

// The listener-relative position that places a sound at playX: on the unit
// circle in front of the listener (no distance to attenuate it), turned
// in proportion to playX; equal in both channels in the middle, 12 dB apart
// at the edges.
struct PanPosition {
  float x;
  float z;
};
PanPosition PanPositionFor(float playX);
