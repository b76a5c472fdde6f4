#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/gamma.h"
#include "platform/gl_table.h"
#include "platform/offscreen_frame.h"
#include "support/x_display.h"
#include "x11/engine_session.h"

namespace {

constexpr float kGrey = 128 / 255.0f;
constexpr const char* kTrueColor = "4";

class Brightness : public EngineSession {
 protected:
  void TearDown() override {
    EngineSession::TearDown();
    AllowFramebufferObjects(true);
    unsetenv("SDL_VIDEO_X11_VISUALID");
  }

  // The red level the screen shows once a grey frame has been presented.
  static int PresentedGrey() {
    int level = -1;
    for (int frame = 0; frame < 3; ++frame) {
      gl.glClearColor(kGrey, kGrey, kGrey, 1.0f);
      gl.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
      PresentFrame();
      gl.glFinish();
    }
    const std::string pixel = ScreenPixel(kWidth / 2, kHeight / 2);
    if (!pixel.empty()) level = std::atoi(pixel.c_str());
    return level;
  }

  std::string GameWindow() const { return FindWindowNamed(kTitle); }

  // A ramp no brightness step gives, as the desktop's.
  static std::vector<uint16_t> DesktopRamp() {
    std::vector<uint16_t> ramp(kGammaRampSize);
    for (int i = 0; i < kGammaRampSize; ++i) ramp[i] = static_cast<uint16_t>(i * 200);
    return ramp;
  }
  static std::vector<uint16_t> Channel(const GammaRamp& ramp) {
    return std::vector<uint16_t>(ramp.green, ramp.green + kGammaRampSize);
  }
};

// Through the framebuffer the picture carries the step, by the ramps' curve:
// grey 128 becomes 255 × (129 / 256)^e, and High leaves it as it is.
TEST_F(Brightness, MediumAndLowDarkenThePictureByTheCurveAndTheServersRampStaysAsItWas) {
  const std::vector<uint16_t> before = DesktopRamp();
  DesktopGammaRamp desktop(before);
  ASSERT_TRUE(desktop.set());
  ASSERT_EQ(ReadCrtcGamma(), before);
  Settings.brightness = 1;
  ASSERT_TRUE(StartGameEngine(config_));
  ASSERT_TRUE(OffscreenFrameActive());
  EXPECT_NEAR(PresentedGrey(), 102, 1) << "Medium";
  ApplyBrightness(2);  // as the options screen does
  EXPECT_NEAR(PresentedGrey(), 82, 1) << "Low";
  ApplyBrightness(0);
  EXPECT_EQ(PresentedGrey(), 128) << "High";
  EXPECT_EQ(ReadCrtcGamma(), before);
  StopEngine();
  EXPECT_EQ(ReadCrtcGamma(), before);
}

// On a TrueColor visual X takes no ramp from SDL; without focus SDL only
// stores the ramp and reports success. The saved step must still reach the
// screen, through the CRTC's gamma.
TEST_F(Brightness, WithoutAFramebufferATrueColorWindowGetsItsRampFromTheStart) {
  const std::string visual = VisualIdOfClass(std::atoi(kTrueColor));
  ASSERT_FALSE(visual.empty());
  setenv("SDL_VIDEO_X11_VISUALID", visual.c_str(), 1);
  AllowFramebufferObjects(false);
  DesktopGammaRamp desktop(DesktopRamp());
  ASSERT_TRUE(desktop.set());
  Settings.brightness = 2;
  ASSERT_TRUE(StartGameEngine(config_));
  const std::string id = GameWindow();
  ASSERT_FALSE(id.empty());
  EXPECT_EQ(WindowVisualClass(std::strtoul(id.c_str(), nullptr, 10)), std::atoi(kTrueColor));

  EXPECT_EQ(ReadCrtcGamma(), Channel(BuildGammaRamp(2))) << "the saved step is not on the screen";
  ApplyBrightness(1);
  EXPECT_EQ(ReadCrtcGamma(), Channel(BuildGammaRamp(1)));
  StopEngine();
  EXPECT_EQ(ReadCrtcGamma(), DesktopRamp()) << "the desktop's ramp is not back";
}

// A driver without GLSL gets the display's ramp, even with a framebuffer.
class RecordedGamma final : public GammaOutput {
 public:
  void Save() override { calls += "save "; }
  void Apply(const GammaRamp& ramp) override {
    calls += "apply " + std::to_string(ramp.red[127]) + " ";
  }
  void Restore() override { calls += "restore"; }
  std::string calls;
};

TEST_F(Brightness, WithoutGlslTheDisplaysRampCarriesIt) {
  setenv("MESA_EXTENSION_OVERRIDE", "-GL_ARB_shading_language_100", 1);
  RecordedGamma gamma;
  SetGammaOutput(&gamma);
  Settings.brightness = 1;
  const bool started = StartGameEngine(config_);
  unsetenv("MESA_EXTENSION_OVERRIDE");
  ASSERT_TRUE(started);
  EXPECT_TRUE(OffscreenFrameActive());
  ApplyBrightness(2);
  StopEngine();
  SetGammaOutput(nullptr);
  EXPECT_EQ(gamma.calls, "save apply 26068 apply 20738 restore");
}

}  // namespace
