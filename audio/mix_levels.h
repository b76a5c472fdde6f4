#pragma once

// OpenAL gains (linear, 1 = the file as written) of everything the game
// plays. The sound files peak near full scale on their own, so these take
// the whole mix down far enough that the music, the ship and a full voice
// pool of asteroid breaks played at once stay below full scale; the event
// files' own peaks (set by the asset generator) order them among each other.
constexpr float kMusicGain = 0.3f;
// The shot, the thrust and the ship's explosion: the player's own sounds
// stay on top of everything but the music.
constexpr float kShipSoundGain = 0.22f;
// The final asteroid, pick-ups, power-ups, extra life and the fanfare.
constexpr float kLeadEventGain = 0.12f;
// Asteroid breaks come twenty at a time when a level is cleared in a rush.
constexpr float kBreakGain = 0.1f;
// Nothing else plays in the menus but their music.
constexpr float kMenuSoundGain = 0.3f;
