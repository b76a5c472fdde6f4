#include "app/game_flow.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "audio/audio_device.h"
#include "frontend/front_end.h"
#include "frontend/menus.h"
#include "game/level.h"
#include "game/object_list.h"
#include "game/player_record.h"
#include "platform/console_log.h"
#include "platform/frame_timer.h"
#include "platform/quit_request.h"
#include "resources/bitmap_font.h"
#include "resources/repository.h"
#include "resources/settings.h"
#include "support/null_platform.h"
#include "support/recording_al.h"

namespace {

// What the flow did, one line per step, as the recording steps below saw it.
std::vector<std::string> journal;
// Levels whose gameplay is lost (all others are cleared).
int lostLevel = 0;
std::deque<int32_t> menuCodes;
bool engineStarts = true;
bool shadingLanguage = true;
// The player's lives and score when each level began to play.
std::vector<std::pair<int32_t, uint32_t>> playerAtPlay;

void Note(const std::string& line) { journal.push_back(line); }

const FlowSteps kRecordingSteps = {
    [] {
      Note("start engine");
      gl.arbShadingLanguage100 = shadingLanguage;
      return engineStarts;
    },
    [] {
      Note("stop engine");
      return true;
    },
    [](const char* caption, const char* text) { Note(std::string(caption) + ": " + text); },
    [] { Note("intro screen"); },
    [] { Note("title"); },
    [] {
      Note("menu");
      const int32_t code = menuCodes.empty() ? kSelectExit : menuCodes.front();
      if (!menuCodes.empty()) menuCodes.pop_front();
      return code;
    },
    [] { Note("story frame"); },
    [](int32_t variant) { Note("panel " + std::to_string(variant)); },
    [](const Level& level) { Note("level " + std::to_string(level.level)); },
    [](Level& level) {
      Note("play " + std::to_string(level.level));
      playerAtPlay.emplace_back(playerRecord->lives, playerRecord->score);
      if (level.level != lostLevel) return true;
      playerRecord->score += 777;
      playerRecord->lives = -1;
      return false;
    },
    [](const Level& level) { Note("summary " + std::to_string(level.level)); },
    [] { Note("won"); },
    [] { Note("over"); },
    [] { Note("credits"); },
};

class GameFlow : public testing::Test {
 protected:
  GameFlow() {
    journal.clear();
    playerAtPlay.clear();
    menuCodes.clear();
    lostLevel = 0;
    engineStarts = true;
    shadingLanguage = true;
    flowSteps = kRecordingSteps;
    SetScreenPauseFunction([](int32_t) {});
    std::filesystem::create_directories(platform.assets / "config");
  }
  ~GameFlow() override {
    flowSteps = kGameFlowSteps;
    ClearQuitRequest();
    SetScreenPauseFunction(nullptr);
    delete playerRecord;
    playerRecord = nullptr;
    ReleaseTimer(frontEnd.gameTimer);
    frontEnd.gameTimer = -1;
  }

  // The run's objects that PlayGame needs, as the entry makes them.
  void MakeRun() {
    frontEnd.gameTimer = AcquireTimer();
    playerRecord = new PlayerRecord(frontEnd.gameTimer);
  }

  // The steps of one level from its intro to its summary.
  static std::vector<std::string> LevelSteps(int number, bool summary = true) {
    std::vector<std::string> steps;
    if (number == 5) steps.push_back("panel 1");
    if (number == 10) steps.push_back("panel 2");
    steps.push_back("level " + std::to_string(number));
    steps.push_back("play " + std::to_string(number));
    if (summary) steps.push_back("summary " + std::to_string(number));
    return steps;
  }
  static void Append(std::vector<std::string>* steps, const std::vector<std::string>& more) {
    steps->insert(steps->end(), more.begin(), more.end());
  }

  std::optional<int32_t> Saved(const char* key) const {
    Repository repository;
    int32_t value = 0;
    if (!repository.Load("config/ss.rep") || !repository.FindValue("StarfieldStampede", key)) return std::nullopt;
    repository.GetInt("StarfieldStampede", key, &value);
    return value;
  }

  NullPlatform platform;
};

TEST_F(GameFlow, ANewGameTellsTheStoryAndPlaysFifteenLevelsWithPanelsBeforeFiveAndTen) {
  MakeRun();
  ActOnSelection(kSelectNewGame);
  std::vector<std::string> expected = {"story frame", "panel 0"};
  for (int number = 1; number <= 14; ++number) Append(&expected, LevelSteps(number));
  Append(&expected, LevelSteps(15, false));  // a won game has no last summary
  Append(&expected, {"won", "credits"});
  EXPECT_EQ(journal, expected);
  EXPECT_EQ(objectList, nullptr);
}

TEST_F(GameFlow, AGameFromALevelSkipsTheStoryAndALostLevelEndsIt) {
  MakeRun();
  lostLevel = 6;
  ActOnSelection(4);
  std::vector<std::string> expected;
  for (int number = 4; number <= 5; ++number) Append(&expected, LevelSteps(number));
  Append(&expected, LevelSteps(6, false));
  Append(&expected, {"over", "credits"});
  EXPECT_EQ(journal, expected);

  journal.clear();
  ActOnSelection(15);
  EXPECT_EQ(journal, (std::vector<std::string>{"level 15", "play 15", "won", "credits"}));
}

TEST_F(GameFlow, EverySelectionCodeActsAsTheTableSays) {
  MakeRun();
  for (int32_t code = 1; code <= 15; ++code) {
    journal.clear();
    lostLevel = code;
    ActOnSelection(code);
    std::vector<std::string> expected = LevelSteps(code, false);
    Append(&expected, {"over", "credits"});
    EXPECT_EQ(journal, expected) << code;
  }

  journal.clear();
  Settings.highScore = 900;
  for (int32_t code : {kSelectExit, kSelectShowMenu, 19, -1, 1000}) ActOnSelection(code);
  EXPECT_TRUE(journal.empty());
  EXPECT_EQ(Settings.highScore, 900);

  ActOnSelection(kSelectClearHighScore);
  EXPECT_TRUE(journal.empty());
  EXPECT_EQ(Settings.highScore, 0);
  EXPECT_STREQ(frontEnd.highScoreText, "High Score:0");
}

TEST_F(GameFlow, EveryGameStartsWithThreeLivesAndNoScore) {
  MakeRun();
  lostLevel = 2;
  ActOnSelection(1);
  ActOnSelection(1);
  ASSERT_EQ(playerAtPlay.size(), 4u);
  EXPECT_EQ(playerAtPlay[1], (std::pair<int32_t, uint32_t>{3, 0}));  // level 2 of the first game
  EXPECT_EQ(playerAtPlay[2], (std::pair<int32_t, uint32_t>{3, 0}));  // level 1 of the second
}

TEST_F(GameFlow, AFailedStartShowsOnlyTheMessageStopsTheEngineAndSavesNothing) {
  engineStarts = false;
  EXPECT_EQ(GameMain(), 1);
  // The window is gone before the box shows.
  EXPECT_EQ(journal, (std::vector<std::string>{"start engine", "stop engine",
                                               "Error: Starfield Stampede failed to initialize.  "
                                               "Please read the FAQ for possible solutions."}));
  EXPECT_FALSE(std::filesystem::exists(platform.assets / "config/ss.rep"));
  EXPECT_FALSE(platform.gl.Count("glClear"));
  EXPECT_EQ(playerRecord, nullptr);
}

TEST_F(GameFlow, TheEntryRunsTheScreensAndTheMenuLoopThenShutsDownAndSaves) {
  // The saved choice asks for shaders; this driver has no shading language.
  Settings.glslRequested = true;
  Settings.highScore = 4242;
  SaveSettings();
  shadingLanguage = false;
  menuCodes = {kSelectClearHighScore, kSelectShowMenu, kSelectExit};
  EXPECT_EQ(GameMain(), 0);
  EXPECT_EQ(journal, (std::vector<std::string>{"start engine", "intro screen", "title", "menu", "menu", "menu",
                                               "stop engine"}));
  EXPECT_FALSE(Settings.glslEnabled);
  EXPECT_EQ(Saved("GLSL"), 1);
  EXPECT_EQ(Saved("HighScore"), 0);
  EXPECT_EQ(frontEnd.firstFont, nullptr);
  EXPECT_EQ(frontEnd.secondFont, nullptr);
  EXPECT_EQ(frontEnd.gameplayMusic, nullptr);
  EXPECT_NE(playerRecord, nullptr);  // lives as long as the process
  EXPECT_TRUE(platform.gl.Find("glEnable", [](const GlCall& call) { return call.Int(0) == GL_DEPTH_TEST; }));
  EXPECT_EQ(platform.gl.Last("glDepthFunc").Int(0), GL_LEQUAL);
  EXPECT_EQ(platform.gl.Last("glShadeModel").Int(0), GL_SMOOTH);
}

// The width the settings file held when the first menu came up.
std::optional<int32_t> widthAtMenu;

TEST_F(GameFlow, AnImpossibleScreenSizeIsReplacedLoggedAndSavedBeforeTheMenu) {
  Settings.screenWidth = 0;
  Settings.screenHeight = -7;
  SaveSettings();
  ASSERT_TRUE(StartConsoleLog());
  flowSteps.mainMenu = [] {
    Repository repository;
    int32_t width = 0;
    if (repository.Load("config/ss.rep") &&
        repository.GetInt("StarfieldStampede", "ScreenWidth", &width)) {
      widthAtMenu = width;
    }
    return kSelectExit;
  };
  widthAtMenu.reset();
  EXPECT_EQ(GameMain(), 0);
  StopConsoleLog();
  EXPECT_EQ(widthAtMenu, 640) << "saved at once, not only at the end of the run";
  EXPECT_EQ(Saved("ScreenHeight"), 480);
  EXPECT_NE(platform.assets.ReadFile("conlog.txt")
                .find("Screen size in the settings cannot be shown: using 640 x 480\n"),
            std::string::npos);
}

TEST_F(GameFlow, WithTheShadingLanguageTheSavedChoiceTurnsShadersOn) {
  Settings.glslRequested = true;
  SaveSettings();
  EXPECT_EQ(GameMain(), 0);
  EXPECT_TRUE(Settings.glslEnabled);
  EXPECT_EQ(menuCodes.size(), 0u);
}

// The real level screens through the null platform: Q gives up at once, the
// game is lost, and Escape skips the credits.
TEST_F(GameFlow, ARealGameGivenUpWithQEndsInGameOverAndCredits) {
  flowSteps = kGameFlowSteps;
  MakeRun();
  BitmapFont font;
  font.Init("fonts/default.tga", 1, 0);
  frontEnd.firstFont = &font;
  platform.input.Hold(kKeyQ);
  platform.input.Hold(kKeyEscape);
  ActOnSelection(2);
  frontEnd.firstFont = nullptr;

  bool intro = false;
  for (const auto& printed : platform.Texts()) intro = intro || printed.text == "Level: 2";
  EXPECT_TRUE(intro);
  EXPECT_EQ(objectList, nullptr);
  EXPECT_EQ(levelCounters.currentLevel, 2);
  // Intro (2 s), one frame of play, game over (5 s), one frame of credits.
  EXPECT_NEAR(platform.frames(), 121 + 1 + 300 + 1, 3);
}

// A closed window or an end signal in the middle of a level: every screen
// after it ends at once, the game is given up, its score still becomes the
// high score, and the menu is not shown again before the flow saves.
TEST_F(GameFlow, AQuitRequestDuringPlayGivesTheGameUpAndKeepsTheNewHighScore) {
  flowSteps = kGameFlowSteps;
  MakeRun();
  BitmapFont font;
  font.Init("fonts/default.tga", 1, 0);
  frontEnd.firstFont = &font;
  // Snapshot 1 is PlayGame's before the level, 3 the second frame of play.
  platform.input.AtKeySnapshot(3, [](ScriptedInput&) {
    playerRecord->score = 5150;
    RequestQuit();
  });
  // Should the request go unheard, Q and Escape end the game after all.
  platform.input.AtKeySnapshot(200, [](ScriptedInput& input) {
    input.Hold(kKeyQ);
    input.Hold(kKeyEscape);
  });
  ActOnSelection(2);
  frontEnd.firstFont = nullptr;
  EXPECT_EQ(levelCounters.currentLevel, 2);
  EXPECT_EQ(Settings.highScore, 5150);
  // The level intro (2 s), two frames of play, no game-over frame and one
  // of the credits.
  EXPECT_NEAR(platform.frames(), 121 + 2 + 1, 3);
}

TEST_F(GameFlow, AQuitRequestFromTheMenuEndsTheEntryAsExitDoesAndSaves) {
  flowSteps.mainMenu = [] {
    Note("menu");
    Settings.highScore = 9000;
    RequestQuit();
    return kSelectNewGame;  // a click in the same frame does not start a game
  };
  EXPECT_EQ(GameMain(), 0);
  EXPECT_EQ(journal, (std::vector<std::string>{"start engine", "intro screen", "title", "menu",
                                               "stop engine"}));
  EXPECT_EQ(Saved("HighScore"), 9000);
}

// No sound device: the game starts silent, the saved choice stays on.
TEST_F(GameFlow, WithoutASoundDeviceTheRunIsSilentAndTheSavedChoiceStays) {
  Settings.soundEnabled = true;
  SaveSettings();
  flowSteps.startEngine = [] {
    Note("start engine");
    RecordingAl al;
    al.SetDefaultDevice(false);
    SetAlLibraryAccess(al.LibraryAccess());
    StartAudioOrRunSilent();
    UseSystemAlLibraryAccess();
    return true;
  };
  EXPECT_EQ(GameMain(), 0);
  EXPECT_TRUE(AudioRunsSilent());
  EXPECT_FALSE(Settings.soundEnabled);
  EXPECT_EQ(Saved("Sound"), 1);

  RecordingAl al;  // a start that finds its device lowers the flag again
  SetAlLibraryAccess(al.LibraryAccess());
  StartAudioOrRunSilent();
  EXPECT_FALSE(AudioRunsSilent());
  StopAudio();
  UseSystemAlLibraryAccess();
}

}  // namespace
