#pragma once
#include <string>

// The game's sounds and music, composed and synthesised from code. Both
// functions take the base/ folder (with or without a trailing "/"), create
// the sound/ subfolders they need and write their files there. Output is
// byte-for-byte the same on every run. Return false when a file cannot be
// written (or, for the music, encoded); files written before the failure
// are left in place. Single-threaded; call from the generator's main.

// sound/ship/SS_shot-laser3.wav, thrust.wav (a seamless loop) and
// SS_explosion-debris.wav, and beside them sound/events/ with the sounds of
// everything else that happens (event_sounds.h): 16-bit mono PCM at 44100 Hz.
bool WriteSoundEffects(const std::string& baseDir);

// sound/music/SS_menu.ogg and SS_upbeat-tech.ogg: stereo Ogg Vorbis at
// 44100 Hz with a positive nominal bitrate, each longer than 60 s and made
// to loop without a seam.
bool WriteMusic(const std::string& baseDir);
