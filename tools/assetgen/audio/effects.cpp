#include "tools/assetgen/audio/effects.h"

#include <vector>

namespace synth {
namespace {

struct DelayLine {
  std::vector<float> samples;
  size_t position = 0;
  explicit DelayLine(size_t length) : samples(length, 0.0f) {}
  // Returns the sample written `length` calls ago and stores `input`.
  float Cycle(float input) {
    const float out = samples[position];
    samples[position] = input;
    if (++position == samples.size()) position = 0;
    return out;
  }
  float Front() const { return samples[position]; }
};

struct Comb {
  DelayLine line;
  float memory = 0.0f;
  explicit Comb(size_t length) : line(length) {}
  float Process(float input, float feedback, float damping) {
    const float out = line.Front();
    memory = out * (1.0f - damping) + memory * damping;
    line.Cycle(input + memory * feedback);
    return out;
  }
};

struct AllPass {
  DelayLine line;
  explicit AllPass(size_t length) : line(length) {}
  float Process(float input) {
    const float delayed = line.Front();
    line.Cycle(input + delayed * 0.5f);
    return delayed - input;
  }
};

// Comb and all-pass lengths in frames, mutually prime-ish so their echoes
// do not pile up; the right channel's are a little longer for width.
constexpr size_t kCombLengths[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr size_t kAllPassLengths[] = {556, 441, 341, 225};
constexpr size_t kStereoSpread = 23;

struct Room {
  std::vector<Comb> combs;
  std::vector<AllPass> allPasses;
  explicit Room(size_t spread) {
    for (size_t length : kCombLengths) combs.emplace_back(length + spread);
    for (size_t length : kAllPassLengths) allPasses.emplace_back(length + spread);
  }
  float Process(float input, float feedback, float damping) {
    float sum = 0.0f;
    for (Comb& comb : combs) sum += comb.Process(input, feedback, damping);
    for (AllPass& allPass : allPasses) sum = allPass.Process(sum);
    return sum;
  }
};

}  // namespace

StereoBuffer PingPongDelay(const StereoBuffer& send, int delayFrames, float feedback) {
  const size_t frames = send.Frames();
  StereoBuffer wet(frames);
  if (frames == 0 || delayFrames <= 0) return wet;
  DelayLine left(static_cast<size_t>(delayFrames));
  DelayLine right(static_cast<size_t>(delayFrames));
  float leftMemory = 0.0f;
  float rightMemory = 0.0f;
  for (int pass = 0; pass < 2; ++pass) {
    for (size_t i = 0; i < frames; ++i) {
      const float outLeft = left.Front();
      const float outRight = right.Front();
      // A gentle low-pass in the loop darkens every repeat.
      leftMemory += 0.6f * (outLeft - leftMemory);
      rightMemory += 0.6f * (outRight - rightMemory);
      left.Cycle(0.5f * (send.left[i] + send.right[i]) + rightMemory * feedback);
      right.Cycle(leftMemory * feedback);
      wet.left[i] = outLeft;
      wet.right[i] = outRight;
    }
  }
  return wet;
}

StereoBuffer Reverb(const StereoBuffer& send, float feedback, float damping) {
  const size_t frames = send.Frames();
  StereoBuffer wet(frames);
  Room left(0);
  Room right(kStereoSpread);
  constexpr float kInputGain = 0.05f;
  for (int pass = 0; pass < 2; ++pass) {
    for (size_t i = 0; i < frames; ++i) {
      const float input = kInputGain * (send.left[i] + send.right[i]);
      wet.left[i] = left.Process(input, feedback, damping);
      wet.right[i] = right.Process(input, feedback, damping);
    }
  }
  return wet;
}

}  // namespace synth
