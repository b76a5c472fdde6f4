#include "platform/gamma.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>

#include "platform/window.h"
#include "platform/xrandr_gamma.h"

namespace {

// The game window's display. SDL sets window gamma only on visuals that take
// a ramp (DirectColor); on the usual TrueColor visuals X refuses, and the CRTC
// gamma of XRandR takes its place. Only the way that took a ramp is restored.
class DisplayGamma final : public GammaOutput {
 public:
  void Save() override {
    std::lock_guard<std::mutex> hold(mutex_);
    SDL_Window* window = GameWindow();
    sdlSaved_ = window && SDL_GetWindowGammaRamp(window, saved_.red, saved_.green, saved_.blue) == 0 &&
                GammaChannelUsable(saved_.red, kGammaRampSize) &&
                GammaChannelUsable(saved_.green, kGammaRampSize) &&
                GammaChannelUsable(saved_.blue, kGammaRampSize);
    crtcSaved_ = SaveCrtcGamma();
  }

  void Apply(const GammaRamp& ramp) override {
    std::lock_guard<std::mutex> hold(mutex_);
    SDL_Window* window = GameWindow();
    if (window && SDL_SetWindowGammaRamp(window, ramp.red, ramp.green, ramp.blue) == 0) {
      sdlApplied_ = true;
    } else if (crtcSaved_) {
      crtcApplied_ = ApplyCrtcGamma(ramp);
    }
  }

  void Restore() override {
    std::lock_guard<std::mutex> hold(mutex_);
    SDL_Window* window = GameWindow();
    if (sdlApplied_ && window) {
      const GammaRamp& back = sdlSaved_ ? saved_ : linear_;
      SDL_SetWindowGammaRamp(window, back.red, back.green, back.blue);
    }
    if (crtcApplied_) {
      RestoreCrtcGamma();
    } else if (crtcSaved_) {
      ForgetCrtcGamma();
    }
    sdlSaved_ = sdlApplied_ = crtcSaved_ = crtcApplied_ = false;
  }

 private:
  // ApplyBrightness comes from the main thread (options screen) while the
  // system thread may restore on a signal.
  std::mutex mutex_;
  GammaRamp saved_{};
  const GammaRamp linear_ = LinearGammaRamp();
  bool sdlSaved_ = false;
  bool sdlApplied_ = false;
  bool crtcSaved_ = false;
  bool crtcApplied_ = false;
};

DisplayGamma displayGamma;
// Set by tests while no window exists; read by the gamma operations.
std::atomic<GammaOutput*> installedOutput{nullptr};

GammaOutput& Output() {
  GammaOutput* output = installedOutput.load(std::memory_order_acquire);
  return output ? *output : displayGamma;
}

}  // namespace

GammaRamp BuildGammaRamp(int32_t step) {
  double exponent = step == 0 ? 1.0 : step == 1 ? 1.33 : 1.66;
  GammaRamp ramp;
  for (int i = 0; i < kGammaRampSize; ++i) {
    double value = std::pow((i + 1) / 256.0, exponent) * 65535.0 + 0.5;
    auto entry = static_cast<uint16_t>(std::clamp(value, 0.0, 65535.0));
    ramp.red[i] = ramp.green[i] = ramp.blue[i] = entry;
  }
  return ramp;
}

GammaRamp LinearGammaRamp() {
  GammaRamp ramp;
  for (int i = 0; i < kGammaRampSize; ++i) {
    ramp.red[i] = ramp.green[i] = ramp.blue[i] = static_cast<uint16_t>(i * 257);
  }
  return ramp;
}

void SaveGammaRamp() { Output().Save(); }

void ApplyBrightness(int32_t step) { Output().Apply(BuildGammaRamp(step)); }

void RestoreGammaRamp() { Output().Restore(); }

void SetGammaOutput(GammaOutput* output) { installedOutput.store(output, std::memory_order_release); }
