#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "audio/audio_device.h"
#include "platform/gl_table.h"
#include "x11/engine_session.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string GlString(GLenum name) {
  const GLubyte* text = gl.glGetString(name);
  return text ? reinterpret_cast<const char*>(text) : "";
}

using Engine = EngineSession;

TEST_F(Engine, StartsAndStopsAgainAndAgain) {
  for (int round = 0; round < 3; ++round) {
    Settings.fullScreen = round != 1;  // the windowed way too
    ASSERT_TRUE(StartGameEngine(config_)) << "round " << round;
    EXPECT_EQ(EngineStartStatus(), kEngineRunning);
    EXPECT_EQ(EngineRunState(), kSystemThreadRunning);
    EXPECT_TRUE(WaitFor([] { return !FindWindowNamed(kTitle).empty(); })) << "round " << round;

    EXPECT_TRUE(StopEngine());
    EXPECT_EQ(EngineRunState(), kSystemThreadGone);
    EXPECT_TRUE(WaitFor([] { return FindWindowNamed(kTitle).empty(); }));
    EXPECT_EQ(gl.glClear, nullptr);
  }
}

TEST_F(Engine, ConsoleLogHoldsTheStartUpLinesInOrder) {
  ASSERT_TRUE(StartGameEngine(config_));
  std::vector<std::string> lines = Lines(ConsoleLog());
  std::vector<std::string> expected = {
      "loading library: libGL.so.1... Success!",
      "loading library: libopenal.so.1... Success!",
      "EAX not present.  Using fallback.",
      "AL_EXT_vorbis not present.  Using fallback.",
      GlString(GL_RENDERER),
      GlString(GL_VENDOR),
      GlString(GL_VERSION),
      GlString(GL_EXTENSIONS),
  };
  // Each expected line appears after the one before; the audio driver's own
  // strings sit between the library line and the EAX line.
  std::size_t at = 0;
  for (const std::string& line : expected) {
    while (at < lines.size() && lines[at] != line) ++at;
    ASSERT_LT(at, lines.size()) << "missing or out of order: " << line.substr(0, 80);
    ++at;
  }
  EXPECT_EQ(at, lines.size()) << "the extension string is the last start-up line";
}

TEST_F(Engine, TheContextIsReadyToDrawWithTheGameProjection) {
  ASSERT_TRUE(StartGameEngine(config_));
  GLint viewport[4] = {};
  gl.glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[0], 0);
  EXPECT_EQ(viewport[1], 0);
  EXPECT_EQ(viewport[2], kWidth);
  EXPECT_EQ(viewport[3], kHeight);

  GLdouble projection[16] = {};
  gl.glGetDoublev(GL_PROJECTION_MATRIX, projection);
  EXPECT_NEAR(projection[5], 1.7926, 1e-4);
  EXPECT_NEAR(projection[0], 1.7926 * 3.0 / 4.0, 1e-4);
  EXPECT_EQ(projection[11], -1.0);
  GLint mode = 0;
  gl.glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);

  GLfloat clear[4] = {1, 1, 1, 1};
  gl.glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  EXPECT_EQ(clear[0] + clear[1] + clear[2] + clear[3], 0.0f);
  GLint depthBits = 0, stencilBits = 0;
  gl.glGetIntegerv(GL_DEPTH_BITS, &depthBits);
  gl.glGetIntegerv(GL_STENCIL_BITS, &stencilBits);
  EXPECT_GE(depthBits, 16);
  EXPECT_GE(stencilBits, 1);

  // Mesa's software renderer offers the lit path; its entry points came
  // through the window system.
  EXPECT_TRUE(gl.arbShadingLanguage100);
  EXPECT_TRUE(gl.arbShaderObjects);
  EXPECT_TRUE(gl.arbMultitexture);
  EXPECT_NE(gl.glUseProgramObjectARB, nullptr);
  EXPECT_NE(gl.glActiveTextureARB, nullptr);
}

TEST_F(Engine, APresentedFrameFillsTheScreen) {
  ASSERT_TRUE(StartGameEngine(config_));
  for (int frame = 0; frame < 2; ++frame) {
    gl.glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    gl.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    PresentFrame();
  }
  gl.glFinish();
  EXPECT_TRUE(WaitFor([] { return ScreenPixel(0, 0) == "255,0,0"; }));
  EXPECT_EQ(ScreenPixel(kWidth - 1, kHeight - 1), "255,0,0");
}

TEST_F(Engine, AFailedMiddleStepReportsFailureAndStopsWithoutWaiting) {
  // conlog.txt cannot be created where a folder of that name stands.
  std::filesystem::create_directory(folder_ / "conlog.txt");
  EXPECT_FALSE(StartGameEngine(config_));
  EXPECT_EQ(EngineStartStatus(), kEngineFailed);
  EXPECT_EQ(EngineRunState(), kSystemThreadGone);

  auto before = std::chrono::steady_clock::now();
  EXPECT_TRUE(StopEngine());
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(10));
  EXPECT_TRUE(FindWindowNamed(kTitle).empty());

  // Nothing of the failed start is left in the way of the next one.
  std::filesystem::remove(folder_ / "conlog.txt");
  ASSERT_TRUE(StartGameEngine(config_));
  EXPECT_TRUE(WaitFor([] { return !FindWindowNamed(kTitle).empty(); }));
}

TEST_F(Engine, AMissingGlLibraryFailsTheWindowAndTheStart) {
  config_.glLibrary = "libNoSuchGL.so.1";
  EXPECT_FALSE(StartGameEngine(config_));
  EXPECT_EQ(EngineStartStatus(), kEngineFailed);
  EXPECT_TRUE(StopEngine());
  EXPECT_EQ(ConsoleLog(), "loading library: libNoSuchGL.so.1... Failed\n");
  EXPECT_TRUE(FindWindowNamed(kTitle).empty());
}

TEST_F(Engine, NoDisplayFailsTheStart) {
  std::string display = xvfb_.display();
  unsetenv("DISPLAY");
  EXPECT_FALSE(StartGameEngine(config_));
  EXPECT_EQ(EngineStartStatus(), kEngineFailed);
  EXPECT_TRUE(StopEngine());
  setenv("DISPLAY", display.c_str(), 1);
  // SDL's offscreen driver would have opened a window nobody sees.
  EXPECT_EQ(ConsoleLog(),
            "loading library: libGL.so.1... Success!\n"
            "Video did not start: no X or Wayland display could be reached\n");
}

// No audio backend at all: the game starts silent and the log names the
// device that failed.
TEST_F(Engine, WithoutAnAudioDeviceTheStartGoesOnSilent) {
  setenv("ALSOFT_DRIVERS", "no-such-backend", 1);
  ASSERT_TRUE(StartGameEngine(config_));
  setenv("ALSOFT_DRIVERS", "null", 1);
  EXPECT_TRUE(AudioRunsSilent());
  EXPECT_FALSE(AudioTableLoaded());
  EXPECT_NE(ConsoleLog().find("Sound off for this run: audio device "), std::string::npos)
      << ConsoleLog();
  EXPECT_TRUE(StopEngine());
  ASSERT_TRUE(StartGameEngine(config_));
  EXPECT_FALSE(AudioRunsSilent());
}

}  // namespace
