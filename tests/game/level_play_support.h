#pragma once
// What the tests of the level screens share: a game in progress on the null
// platform (object list, player record and the game's timer on the fake
// clock), ready to run LevelIntro, GameplayLoop and LevelSummary for real.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/game_test_support.h"
#include "support/null_platform.h"

namespace level_play {

inline uint32_t FixedWallClock() { return 1700000000u; }

// The game world of game_test_support.h, drawn on the null platform with the
// world's clock moving one frame step at every frame the game draws.
class LevelPlay : public game_test::GameWorld {
 protected:
  explicit LevelPlay(double frameSeconds = 1.0 / 60) : platform(frameSeconds, &clock) {
    FillLevelTable();
    SetWallClockSource(FixedWallClock);
  }

  // The texts drawn in one frame, in order.
  std::vector<std::string> TextsOf(int frame) const {
    std::vector<std::string> texts;
    for (const auto& printed : platform.TextsOfFrame(frame)) texts.push_back(printed.text);
    return texts;
  }

  // The first printed text equal to text in frame (nullptr when none).
  const NullPlatform::PrintedText* Find(int frame, const std::string& text) const {
    for (const auto& printed : platform.Texts()) {
      if (printed.frame == frame && printed.text == text) return &printed;
    }
    return nullptr;
  }

  NullPlatform platform;
};

}  // namespace level_play
