#include "audio/volume.h"

#include <algorithm>

namespace {

constexpr int32_t kTopStep = 10;

float musicScale = 1.0f;
float effectsScale = 1.0f;

float ScaleOf(int32_t step) { return static_cast<float>(std::clamp(step, 0, kTopStep)) / kTopStep; }

}  // namespace

void SetVolumeSteps(int32_t musicStep, int32_t effectsStep) {
  musicScale = ScaleOf(musicStep);
  effectsScale = ScaleOf(effectsStep);
}

float MusicVolumeScale() { return musicScale; }
float EffectsVolumeScale() { return effectsScale; }
