#pragma once
#include "tools/assetgen/audio/synth.h"

// Time-based effects for a loop. Each runs over the loop twice and keeps the
// second pass, so its echoes from the end of the loop sound at the start, as
// they would if the piece had been playing round and round.
namespace synth {

// An echo that bounces between the channels every delayFrames, each repeat
// `feedback` times the last and a little darker. Returns only the echoes.
StereoBuffer PingPongDelay(const StereoBuffer& send, int delayFrames, float feedback);

// A room made of damped feedback combs and all-pass diffusers per channel.
// feedback (below 1) sets the size, damping (0..1) how fast highs die out.
// Returns only the reverberation.
StereoBuffer Reverb(const StereoBuffer& send, float feedback, float damping);

}  // namespace synth
