#include "game/gameplay_loop.h"

#include <cstdio>

#include "audio/music_stream.h"
#include "game/game_random.h"
#include "game/hud.h"
#include "game/object_drawing.h"
#include "game/object_list.h"
#include "game/pause_screen.h"
#include "game/play_keys.h"
#include "game/player_record.h"
#include "game/power_ups.h"
#include "game/screen_frame.h"
#include "game/ship.h"
#include "platform/frame_timer.h"
#include "platform/gl_table.h"
#include "platform/input.h"
#include "platform/pause_request.h"
#include "platform/quit_request.h"
#include "resources/bitmap_font.h"

namespace {

constexpr float kIntroMs = 2000;

// The background sits on the plane z = -1.5, wide enough for 4:3.
constexpr QuadVertex kBackground[6] = {{-1.33f, 1, 0, 1},  {1.33f, 1, 1, 1},
                                       {-1.33f, -1, 0, 0}, {-1.33f, -1, 0, 0},
                                       {1.33f, 1, 1, 1},   {1.33f, -1, 1, 0}};

void DrawBackground() {
  gl.glDepthMask(GL_FALSE);
  gl.glColor4f(1, 1, 1, 1);
  gl.glEnable(GL_TEXTURE_2D);
  gl.glDisable(GL_BLEND);
  BindTexture(TextureSlot::Background);
  DrawTriangles(kBackground, -1.5f);
  gl.glDepthMask(GL_TRUE);
  gl.glDisable(GL_TEXTURE_2D);
}

bool Down(GameAction action) { return PlayKeyDown(InputState.keys, action); }

bool AnyActiveAsteroid() {
  for (int32_t kind = ObjectKind::SmallAsteroid; kind <= ObjectKind::FinalAsteroid; ++kind) {
    if (objectList->CountActive(kind) > 0) return true;
  }
  return false;
}

// The pause key newly pressed, or a pause asked for from outside (the
// window losing the focus).
bool PauseWanted(bool* pauseKeyWasDown) {
  const bool pauseKeyDown = PauseKeyDown(InputState.keys);
  const bool pressed = pauseKeyDown && !*pauseKeyWasDown;
  *pauseKeyWasDown = pauseKeyDown;
  return TakePauseRequest() || pressed;
}

bool DebrisFlying() { return objectList->CountActive(ObjectKind::ShipDebris) > 0; }

void SpawnPlayerShip() { objectList->Add(playerRecord->SpawnShip()); }

// Keys act through the player record, which ignores them while the controls
// are off or no ship exists.
void ApplyKeys(Level& level) {
  PlayerRecord& player = *playerRecord;
  if (Down(kActionThrust)) {
    player.StartThrust();
  } else {
    player.StopThrust();
  }
  if (Down(kActionTurnLeft)) {
    player.TurnLeftOn();
  } else {
    player.TurnLeftOff();
  }
  if (Down(kActionTurnRight)) {
    player.TurnRightOn();
  } else {
    player.TurnRightOff();
  }
  if (Down(kActionFire) && player.Fire()) ++level.shotCount;
}

}  // namespace

void LevelIntro(const Level& level, int32_t gameTimer, const BitmapFont& font) {
  char text[32];
  std::snprintf(text, sizeof text, "Level: %d", level.level);
  // A pause asked for in the menus or between levels is not this level's;
  // one asked for from here on (the focus lost while the intro shows) pauses
  // the level's first frame.
  TakePauseRequest();
  const float t0 = TimerMilliseconds(gameTimer);
  do {
    BeginScreenFrame();
    gl.glColor3f(0.8f, 0.8f, 0.1f);
    font.Print(2, 28, text);
    DrawScreenPicture(TextureSlot::Start, 0);
    EndScreenFrame();
  } while (TimerMilliseconds(gameTimer) - t0 <= kIntroMs && !QuitRequested());
}

bool GameplayLoop(Level& level, int32_t gameTimer, MusicStream* music) {
  PowerUpSpawner spawner;  // draws its first delay before anything else
  BitmapFont font;
  font.Init("fonts/default.tga", 2, 0);
  ResetTimer(level.timer);
  ResetTimer(gameTimer);
  if (objectList->CountActive(ObjectKind::Ship) == 0) SpawnPlayerShip();
  playerRecord->ResetShip();
  playerRecord->EnableControls();
  if (music) music->Play(true);
  level.shotCount = 0;
  levelCounters.hitCount = 0;

  bool running = true;
  bool result = false;
  float lastReseed = 0;          // level-timer ms
  uint32_t reseedInterval = 777; // ms
  float shieldRef = 0;
  auto drawLevel = [&] {
    // The background writes no depth and every object lies at the same
    // depth, so the depth test (less or equal) would pass every fragment of
    // theirs: off for them, it costs no depth reads and writes per pixel.
    gl.glDisable(GL_DEPTH_TEST);
    DrawBackground();
    objectList->DrawAll();
    gl.glEnable(GL_DEPTH_TEST);
    DrawHud(font, level.level, &shieldRef);
  };
  bool pauseKeyWasDown = true;  // a pause key still held from before does not pause
  for (;;) {
    SnapshotKeys(InputState.keys);
    SnapshotMouse(&InputState);
    if (PauseWanted(&pauseKeyWasDown)) {
      if (RunPause(drawLevel, font, music) == PauseOutcome::GiveUp) {
        playerRecord->StopThrust();
        result = false;
        break;
      }
      pauseKeyWasDown = true;  // the press that went on may still be down
    }
    BeginScreenFrame();
    drawLevel();

    const float now = TimerMilliseconds(level.timer);
    if (now - lastReseed >= static_cast<float>(reseedInterval)) {
      GameSrand(static_cast<uint32_t>(now));
      lastReseed = TimerMilliseconds(level.timer);
      reseedInterval = static_cast<uint32_t>(GameRand() % 1777 + 1);
    }
    spawner.Step(level.timer);
    EndScreenFrame();

    objectList->UpdateAll();
    objectList->CollideAll();
    objectList->RemoveDead();

    // Lost once the last ship's debris has gone; a new ship only then, too.
    if (playerRecord->lives < 0 && !DebrisFlying()) {
      running = false;
      result = false;
    } else if (!playerRecord->ship && !DebrisFlying()) {
      SpawnPlayerShip();
      playerRecord->EnableControls();
    }
    if (running && !AnyActiveAsteroid() && !DebrisFlying()) {
      result = true;
      running = false;
    }

    ApplyKeys(level);
    // A quit request gives the game up as the give-up key does.
    if (Down(kActionGiveUp) || QuitRequested()) {
      playerRecord->StopThrust();
      result = false;
      break;
    }
    if (!running) break;
  }

  playerRecord->DisableControls();
  objectList->KillAllExcept(ObjectKind::Ship);
  objectList->RemoveDead();
  if (music) music->Stop();
  return result;
}
