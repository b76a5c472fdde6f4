#include <chrono>
#include <filesystem>
#include <thread>

#include "game/level.h"
#include "game/level_summary.h"
#include "game/player_record.h"
#include "platform/frame_timer.h"
#include "resources/loader.h"
#include "support/screen_capture.h"
#include "x11/engine_session.h"

// The level summary drawn by the real engine with the generated pictures and
// font, photographed while every line stands: clearing a level by remote
// control is too much left to chance for an end-to-end run, so this is where
// the summary's own screenshot comes from.
namespace {

namespace fs = std::filesystem;
using LevelSummaryX11 = EngineSession;

// The summary's text colour (0.8, 0.8, 0.1).
int YellowPixels(const Capture& shot) {
  int count = 0;
  for (int y = 0; y < shot.height; ++y) {
    for (int x = 0; x < shot.width; ++x) {
      const auto* c = reinterpret_cast<const unsigned char*>(&shot.rgb[(static_cast<size_t>(y) * shot.width + x) * 3]);
      count += c[0] > 150 && c[1] > 150 && c[2] < 80 ? 1 : 0;
    }
  }
  return count;
}

TEST_F(LevelSummaryX11, ShowsEveryLineAndCountsTheBonusIn) {
  const fs::path generated = fs::path(SS_BIN_DIR) / "base";
  if (!fs::exists(generated / "textures/gameplay/summary.tga")) GTEST_SKIP() << "no generated asset tree";
  for (const char* folder : {"textures", "fonts"}) fs::create_directory_symlink(generated / folder, folder_ / folder);
  ASSERT_TRUE(StartGameEngine(config_));
  LoadCatalogue();

  PlayerRecord record(AcquireTimer());
  playerRecord = &record;
  record.score = 21250;
  {
    Level level(3);
    levelCounters.levelScore = 8750;
    levelCounters.scoreAtStart = 12500;
    levelCounters.hitCount = 21;
    level.shotCount = 28;

    // Every line is up after 5 s; the count of 6562 points takes 7 frames.
    Capture shot;
    std::thread photographer([&shot, this] {
      std::this_thread::sleep_for(std::chrono::milliseconds(6500));
      shot = CaptureScreen((folder_ / "summary.xwd").string());
    });
    LevelSummary(level);
    photographer.join();

    ASSERT_TRUE(shot.valid());
    const fs::path kept = fs::path(SS_BIN_DIR).parent_path() / "screenshots";
    fs::create_directories(kept);
    EXPECT_TRUE(SaveXwdAsPng((folder_ / "summary.xwd").string(), (kept / "level-summary.png").string()));
    EXPECT_GT(YellowPixels(shot), 400);
  }
  EXPECT_EQ(record.score, 21250u + 8750u * 21 / 28);
  playerRecord = nullptr;
  ReleaseResources();
  ReleaseTimer(record.timer);
}

}  // namespace
