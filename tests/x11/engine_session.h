#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/engine_start.h"
#include "resources/settings.h"
#include "support/temp_dir.h"
#include "support/xvfb.h"

// A test with its own X server (640 × 480, the size of the settings it uses),
// OpenAL's null output and a fresh asset folder. The engine is stopped after
// every test, whatever happened in it.
class EngineSession : public ::testing::Test {
 protected:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 480;
  static constexpr const char* kTitle = "KelpforgeSoftware | StarfieldStampede";

  EngineSession() : xvfb_(kWidth, kHeight) {}

  void SetUp() override {
    ASSERT_TRUE(xvfb_.running());
    setenv("ALSOFT_DRIVERS", "null", 1);
    Settings = SettingsRecord{};
    Settings.screenWidth = kWidth;
    Settings.screenHeight = kHeight;
    Settings.colorDepth = 32;
    Settings.fullScreen = true;
    assetDirectory_ = folder_.withSlash();
    config_.assetDirectory = assetDirectory_.c_str();
  }

  void TearDown() override { StopEngine(); }

  std::string ConsoleLog() const { return folder_.ReadFile("conlog.txt"); }

  Xvfb xvfb_;
  TempDir folder_;
  std::string assetDirectory_;
  EngineConfig config_;
};
