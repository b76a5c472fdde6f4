#include "audio/music_stream.h"
#include "frontend/front_end.h"
#include "frontend/menu_frame.h"
#include "frontend/menus.h"
#include "platform/frame_timer.h"
#include "platform/gl_table.h"
#include "platform/input.h"
#include "platform/quit_request.h"
#include "resources/bitmap_font.h"
#include "resources/catalogue.h"
#include "resources/settings.h"
#include "resources/texture.h"

namespace {

constexpr const char* kPointerPicture = "textures/menu/Pointer.tga";
constexpr const char* kMenuMusicFile = "sound/music/SS_menu.ogg";

// The high-score line in cells of the second font's 80 × 60 grid.
constexpr int32_t kHighScoreColumn = 30;
constexpr int32_t kHighScoreRow = 7;

// The options screen has changed the settings: show the notice when that
// needs a restart, then write them.
void AfterOptions(int32_t choice, const Texture& pointer) {
  if (choice == kOptionsLeft) return;
  if (choice == kOptionsNeedRestart) RestartNoticeScreen(pointer);
  SaveSettings();
}

}  // namespace

void ClearHighScore() {
  Settings.highScore = 0;
  FormatHighScoreText("High Score:%d", 0);
}

int32_t MainMenu() {
  using enum SpriteSlot;
  ResetTimer(frontEnd.gameTimer);
  Texture pointer;
  pointer.Load(kPointerPicture, false);
  DiscardMouseMotion();

  MenuButton header(-0.5f, 0.5f, 0.55f, 0.2f, CatalogueSprite(Header));
  MenuButton ship(-0.75f, -0.35f, 0.3f, -0.1f, CatalogueSprite(ShipScreen));
  MenuButton start(-0.15f, 0.15f, 0.2f, 0.07f, CatalogueSprite(StartNormal), CatalogueSprite(StartActive));
  MenuButton exit(-0.15f, 0.15f, -0.22f, -0.35f, CatalogueSprite(ExitNormal), CatalogueSprite(ExitActive));
  MenuButton options(-0.17f, 0.17f, 0.06f, -0.07f, CatalogueSprite(OptionsNormal), CatalogueSprite(OptionsActive));
  MenuButton clearHigh(-0.27f, 0.27f, -0.08f, -0.21f, CatalogueSprite(ClearHighNormal), CatalogueSprite(ClearHighActive));
  MenuButton disclaimer(0, 0.77f, -0.4f, -0.55f, CatalogueSprite(Disclaimer));
  // Left > right and bottom > top: turned by half a turn.
  MenuButton asteroid(0.6f, 0.5f, -0.2f, -0.1f, CatalogueSprite(Asteroid2));
  MenuButton pc(-0.7f, -0.6f, -0.4f, -0.5f, CatalogueSprite(Pc));

  frontEnd.menuMusic = new MusicStream;
  frontEnd.menuMusic->Open(kMenuMusicFile);
  frontEnd.menuMusic->Play(true);

  int32_t result = kSelectExit;
  for (bool running = true; running && !QuitRequested();) {
    TakeMenuInput();
    if (MenuKeyDown(kKeyEscape)) {
      result = kSelectExit;
      running = false;
    }
    HoverButtons({&start, &exit, &options, &clearHigh});
    BeginMenuFrame({&header, &ship, &start, &exit, &options, &clearHigh, &disclaimer, &asteroid, &pc});
    gl.glColor3f(0.25f, 0.95f, 0.25f);
    if (frontEnd.secondFont)
      frontEnd.secondFont->Print(kHighScoreColumn, kHighScoreRow, frontEnd.highScoreText);
    EndMenuFrame(pointer);

    if (!LeftButtonDown()) continue;
    if (start.UnderPointer() || exit.UnderPointer() || options.UnderPointer() ||
        clearHigh.UnderPointer()) {
      PlayMenuClick();
    }
    // Escape came first: a click on Start in the same frame still plays.
    if (start.UnderPointer()) {
      result = kSelectNewGame;
      running = false;
    }
    if (exit.UnderPointer()) {
      result = kSelectExit;
      running = false;
    }
    if (options.UnderPointer()) {
      PauseScreen(200);
      AfterOptions(OptionsScreen(pointer), pointer);
    }
    if (clearHigh.UnderPointer()) ClearHighScore();
  }

  if (QuitRequested()) result = kSelectExit;
  frontEnd.menuMusic->Stop();
  delete frontEnd.menuMusic;
  frontEnd.menuMusic = nullptr;
  return result;
}
