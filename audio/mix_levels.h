#pragma once

// OpenAL gains (linear, 1 = the file as written) of everything the game
// plays. The sound files peak near full scale on their own, so these take
// the whole mix down far enough that the loudest it can get stays below full
// scale: the music, the ship's three sounds and all sixteen voices taken by
// the loudest event sounds, started together at one edge, peak at about
// -3 dBFS through OpenAL Soft. The event files' own peaks (set by the asset
// generator) order them among each other.
constexpr float kMusicGain = 0.25f;
// The shot, the thrust and the ship's explosion: the player's own sounds
// stay on top of everything but the music.
constexpr float kShipSoundGain = 0.18f;
// The final asteroid, pick-ups, power-ups, extra life and the fanfare.
constexpr float kLeadEventGain = 0.09f;
// Asteroid breaks come twenty at a time when a level is cleared in a rush.
constexpr float kBreakGain = 0.075f;
// Nothing else plays in the menus but their music.
constexpr float kMenuSoundGain = 0.3f;
