#include "platform/gamma.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>

#include <SDL_syswm.h>

#include "platform/picture_brightness.h"
#include "platform/window.h"
#include "platform/xrandr_gamma.h"

namespace {

// Another video driver than X11 (Wayland, say) is taken at its word.
bool WindowTakesRamp(SDL_Window* window) {
  if (!window) return false;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return true;
  return VisualTakesGammaRamp(info.info.x11.display, info.info.x11.window);
}

// The game window's display. SDL sets window gamma only on visuals that take
// a ramp (DirectColor); on the usual TrueColor visuals X refuses, and the CRTC
// gamma of XRandR takes its place. Only the way that took a ramp is restored.
class DisplayGamma final : public GammaOutput {
 public:
  void Save() override {
    std::lock_guard<std::mutex> hold(mutex_);
    SDL_Window* window = GameWindow();
    sdlTakesRamp_ = WindowTakesRamp(window);
    sdlSaved_ = sdlTakesRamp_ &&
                SDL_GetWindowGammaRamp(window, saved_.red, saved_.green, saved_.blue) == 0 &&
                GammaChannelUsable(saved_.red, kGammaRampSize) &&
                GammaChannelUsable(saved_.green, kGammaRampSize) &&
                GammaChannelUsable(saved_.blue, kGammaRampSize);
    crtcSaved_ = SaveCrtcGamma();
  }

  void Apply(const GammaRamp& ramp) override {
    std::lock_guard<std::mutex> hold(mutex_);
    SDL_Window* window = GameWindow();
    if (window && sdlTakesRamp_ &&
        SDL_SetWindowGammaRamp(window, ramp.red, ramp.green, ramp.blue) == 0) {
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
    sdlTakesRamp_ = sdlSaved_ = sdlApplied_ = crtcSaved_ = crtcApplied_ = false;
  }

 private:
  // ApplyBrightness comes from the main thread (options screen) while the
  // system thread may restore on a signal.
  std::mutex mutex_;
  GammaRamp saved_{};
  const GammaRamp linear_ = LinearGammaRamp();
  bool sdlTakesRamp_ = false;
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
  const double exponent = BrightnessExponent(step);
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

void ApplyBrightness(int32_t step) {
  SetPictureBrightnessStep(step);
  // The present pass shows it from the next frame; the desktop stays as it is.
  if (BrightnessInPicture()) return;
  Output().Apply(BuildGammaRamp(step));
}

void RestoreGammaRamp() { Output().Restore(); }

void SetGammaOutput(GammaOutput* output) { installedOutput.store(output, std::memory_order_release); }
