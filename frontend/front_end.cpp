#include "frontend/front_end.h"

#include <chrono>
#include <cstdio>
#include <thread>

FrontEndRecord frontEnd;

namespace {

void SleepMilliseconds(int32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

ScreenPauseFunction pauseFunction = SleepMilliseconds;

}  // namespace

void FormatHighScoreText(const char* format, int32_t highScore) {
  std::snprintf(frontEnd.highScoreText, sizeof frontEnd.highScoreText, format, highScore);
}

void PauseScreen(int32_t milliseconds) { pauseFunction(milliseconds); }

void SetScreenPauseFunction(ScreenPauseFunction pause) {
  pauseFunction = pause ? pause : SleepMilliseconds;
}
