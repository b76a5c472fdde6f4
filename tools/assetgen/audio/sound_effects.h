#pragma once
#include <vector>

// The ship's three sound effects as mono float samples at synth::kSampleRate,
// each normalised to the same peak. Deterministic: every call returns the
// same samples.
namespace synth {

// The thrust loop is exactly one ship restart period long (the ship replays
// the sound every 500 ms while thrusting), and everything in it repeats with
// that period, so both the loop and a restart land on the same waveform.
constexpr int kThrustLoopFrames = 22050;

std::vector<float> RenderLaserShot();
std::vector<float> RenderThrustLoop();
std::vector<float> RenderExplosion();

}  // namespace synth
