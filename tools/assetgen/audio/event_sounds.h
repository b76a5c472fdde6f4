#pragma once
#include <string>
#include <vector>

#include "audio/event_sound_files.h"

// The sounds of asteroids breaking, the final asteroid, power-ups, extra
// lives, the level summary and the menus, made with the same synthesis as
// the ship's. Each is normalised to its own peak: the ones heard often or
// at once (breaks, menu ticks) sit lower than the rare lead events, so they
// sit together with the music.
namespace synth {

struct EventSoundRecipe {
  EventSound sound;
  double seconds;  // length of the file
  double peakDb;   // dBFS of its largest sample
  std::vector<float> (*render)(double seconds);
};

// One recipe per EventSound, in EventSound order.
const std::vector<EventSoundRecipe>& EventSoundRecipes();

// The recipe rendered at its length and normalised to its peak.
std::vector<float> RenderEventSound(const EventSoundRecipe& recipe);

}  // namespace synth

// Writes every event sound as 16-bit mono PCM at 44100 Hz under the base
// folder (paths from kEventSoundFiles). False when a file cannot be written.
bool WriteEventSounds(const std::string& baseDir);
