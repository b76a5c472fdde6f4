#include "audio/volume.h"

#include <algorithm>
#include <atomic>

#include "audio/sound_effect.h"

namespace {

constexpr int32_t kTopStep = 10;

// Written by the main thread; read by the music threads as they follow the
// level and by the loader as it sets the gain of the sounds it loads.
std::atomic<float> musicScale{1.0f};
std::atomic<float> effectsScale{1.0f};

float ScaleOf(int32_t step) { return static_cast<float>(std::clamp(step, 0, kTopStep)) / kTopStep; }

}  // namespace

void SetVolumeSteps(int32_t musicStep, int32_t effectsStep) {
  musicScale.store(ScaleOf(musicStep), std::memory_order_relaxed);
  effectsScale.store(ScaleOf(effectsStep), std::memory_order_relaxed);
  // The ship's sounds keep their sources, the thrust looping on one of them;
  // the music threads look at the scale on their own.
  ApplyVolumeToShipSounds();
}

float MusicVolumeScale() { return musicScale.load(std::memory_order_relaxed); }
float EffectsVolumeScale() { return effectsScale.load(std::memory_order_relaxed); }
