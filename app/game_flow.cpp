#include "app/game_flow.h"

#include "app/engine_start.h"
#include "audio/audio_device.h"
#include "audio/music_stream.h"
#include "audio/sound_effect.h"
#include "audio/volume.h"
#include "frontend/front_end.h"
#include "frontend/menus.h"
#include "frontend/screens.h"
#include "game/gameplay_loop.h"
#include "game/level.h"
#include "game/level_summary.h"
#include "game/object_list.h"
#include "game/player_record.h"
#include "platform/console_log.h"
#include "platform/controls.h"
#include "platform/engine.h"
#include "platform/frame_timer.h"
#include "platform/gl_table.h"
#include "platform/input.h"
#include "platform/quit_request.h"
#include "resources/bitmap_font.h"
#include "resources/loader.h"
#include "resources/settings.h"
#include "resources/shader_program.h"

namespace {

constexpr const char* kStartFailure =
    "Starfield Stampede failed to initialize.  Please read the FAQ for possible solutions.";
constexpr const char* kGameplayMusicFile = "sound/music/SS_upbeat-tech.ogg";
constexpr const char* kFontSheet = "fonts/default.tga";
constexpr uint16_t kLastLevel = 15;
constexpr int kExitStartFailed = 1;
constexpr int kExitDone = 0;

void CreateFrontEnd() {
  frontEnd.gameplayMusic = new MusicStream;
  frontEnd.gameplayMusic->Open(kGameplayMusicFile);
  playerRecord = new PlayerRecord(frontEnd.gameTimer);
  frontEnd.firstFont = new BitmapFont;
  frontEnd.firstFont->Init(kFontSheet, 1, 0);
  frontEnd.secondFont = new BitmapFont;
  frontEnd.secondFont->Init(kFontSheet, 2, 0);
  FillLevelTable();
  levelCounters.scoreAtStart = 0;
  levelCounters.levelScore = 0;
  FormatHighScoreText("High Score:%d", Settings.highScore);
}

// The player record stays: game objects may still reach it until exit.
void DestroyFrontEnd() {
  delete frontEnd.gameplayMusic;
  frontEnd.gameplayMusic = nullptr;
  delete frontEnd.firstFont;
  frontEnd.firstFont = nullptr;
  delete frontEnd.secondFont;
  frontEnd.secondFont = nullptr;
}

bool PlayLevel(Level& level) {
  return GameplayLoop(level, frontEnd.gameTimer, frontEnd.gameplayMusic);
}

void IntroduceLevel(const Level& level) {
  if (frontEnd.firstFont) LevelIntro(level, frontEnd.gameTimer, *frontEnd.firstFont);
}

}  // namespace

const FlowSteps kGameFlowSteps = {
    [] { return StartGameEngine(); },
    StopEngine,
    ShowErrorMessage,
    ShowIntro,
    ShowTitleAndLoad,
    MainMenu,
    ShowStoryFrame,
    ShowStoryPanel,
    IntroduceLevel,
    PlayLevel,
    LevelSummary,
    ShowGameWon,
    ShowGameOver,
    ShowCredits,
};
FlowSteps flowSteps = kGameFlowSteps;

void PlayGame(int32_t startLevel) {
  if (startLevel == kSelectNewGame) {
    flowSteps.showStoryFrame();
    flowSteps.showStoryPanel(0);
    levelCounters.currentLevel = 1;
  } else {
    levelCounters.currentLevel = static_cast<uint16_t>(startLevel);
  }
  playerRecord->Reset();
  objectList = new ObjectList(frontEnd.gameTimer);

  bool won = false;
  for (bool playing = true; playing;) {
    // Mouse motion from the screens before must not reach the level.
    SnapshotKeys(InputState.keys);
    SnapshotMouse(&InputState);
    Level level(levelCounters.currentLevel);
    objectList->ResetClock();
    if (levelCounters.currentLevel == 5) flowSteps.showStoryPanel(1);
    if (levelCounters.currentLevel == 10) flowSteps.showStoryPanel(2);
    flowSteps.levelIntro(level);
    const bool cleared = flowSteps.gameplayLoop(level);
    if (shipSounds.thrustSound) shipSounds.thrustSound->Stop();  // never outlives its level
    if (!cleared) {
      playing = false;
    } else if (levelCounters.currentLevel == kLastLevel) {
      won = true;
      playing = false;
    } else if (QuitRequested()) {
      playing = false;  // given up between two levels
    } else {
      flowSteps.levelSummary(level);
      ++levelCounters.currentLevel;
    }
  }

  objectList->KillAll();
  objectList->RemoveDead();
  objectList->Clear();
  delete objectList;
  objectList = nullptr;

  if (won) {
    flowSteps.showGameWon();
  } else {
    flowSteps.showGameOver();
  }
  flowSteps.showCredits();
}

void ActOnSelection(int32_t code) {
  if (code >= kSelectNewGame && code <= kLastLevel) {
    PlayGame(code);
  } else if (code == kSelectClearHighScore) {
    ClearHighScore();
  }
}

int GameMain() {
  LoadSettings();
  // Before the engine: the system thread's first controller poll already
  // plays the player's buttons.
  SetPadBindings(Settings.bindings);
  SetRumbleEnabled(Settings.rumble);
  SetVolumeSteps(Settings.musicVolume, Settings.effectsVolume);
  if (!flowSteps.startEngine()) {
    // The window goes first, so that no black full-screen window hides the
    // box; a failed start is an error to whoever started the game.
    flowSteps.stopEngine();
    flowSteps.showErrorMessage("Error", kStartFailure);
    return kExitStartFailed;
  }
  // The lit path needs the shading language; the player's saved choice
  // (glslRequested) stays as it was.
  if (!gl.arbShadingLanguage100) Settings.glslEnabled = false;
  // Likewise without a sound device: silent for this run, the choice kept.
  if (AudioRunsSilent()) {
    Settings.soundWithheld = Settings.soundEnabled;
    Settings.soundEnabled = false;
  }
  frontEnd.gameTimer = AcquireTimer();
  CreateFrontEnd();
  OpenConsoleLog();
  if (Settings.screenSizeReplaced) {
    // Saved at once, or every later start would open the same blank window.
    LogLine("Screen size in the settings cannot be shown: using 640 x 480");
    SaveSettings();
  }
  gl.glEnable(GL_DEPTH_TEST);
  gl.glDepthFunc(GL_LEQUAL);
  gl.glShadeModel(GL_SMOOTH);

  flowSteps.showIntro();
  flowSteps.showTitleAndLoad();
  // A quit request (window closed, end signal) leaves as Exit does.
  for (int32_t code = flowSteps.mainMenu(); code != kSelectExit && !QuitRequested();
       code = flowSteps.mainMenu()) {
    ActOnSelection(code);
  }

  CloseConsoleLog();
  ReleaseResources();
  ReleaseShaders();  // while the context that built them still exists
  DestroyFrontEnd();
  // Alt+Enter or F11 may have changed the window since the start; a view
  // exists only while the engine's window does.
  if (EngineViewWidth() != 0) Settings.fullScreen = WindowIsFullScreen();
  SaveSettings();
  flowSteps.stopEngine();
  return kExitDone;
}
