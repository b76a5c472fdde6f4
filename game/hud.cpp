#include "game/hud.h"

#include <cstdio>

#include "game/object_drawing.h"
#include "game/player_record.h"
#include "game/ship.h"
#include "platform/gl_table.h"

namespace {

constexpr float kPowerUpBoxX = 9;
constexpr float kShieldBoxX = 20;
constexpr float kBoxY = -26.5f;

void PrintNumber(const BitmapFont& font, int32_t column, const char* format, int32_t value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  font.Print(column, 1, text);
}

// Identity, then to the box's centre at depth -50 with the object blending.
void BeginBox(float boxX, TextureSlot slot) {
  gl.glLoadIdentity();
  gl.glTranslatef(boxX, kBoxY, kPlayPlaneZ);
  gl.glEnable(GL_BLEND);
  gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  gl.glEnable(GL_TEXTURE_2D);
  gl.glColor4f(1, 1, 1, 1);
  BindTexture(slot);
}

void DrawBoxSquare(float h) {
  const QuadVertex square[6] = {{-h, h, 0, 1},  {h, h, 1, 1},   {h, -h, 1, 0},
                                {h, -h, 1, 0},  {-h, -h, 0, 0}, {-h, h, 0, 1}};
  DrawTriangles(square, kPlayPlaneZ);
}

// Fills the shield box from its bottom edge; f may exceed 1.
void DrawShieldBar(float f) {
  const float top = 2 * f - 1;
  const float v = 1 - f;
  const QuadVertex bar[6] = {{-1, top, 0, v}, {1, top, 1, v},  {1, -1, 1, 1},
                             {1, -1, 1, 1},   {-1, -1, 0, 1},  {-1, top, 0, v}};
  DrawTriangles(bar, kPlayPlaneZ);
}

// By the ship's powerUp 1..3.
constexpr TextureSlot kWeaponIcons[3] = {TextureSlot::PowerLongRange, TextureSlot::PowerSpread,
                                         TextureSlot::PowerStarburst};

}  // namespace

void PrintStatusLine(const BitmapFont& font, int32_t level) {
  const int32_t lives = playerRecord ? playerRecord->lives : 0;
  const uint32_t score = playerRecord ? playerRecord->score : 0;
  gl.glColor3f(0.77f, 0.77f, 0.99f);
  PrintNumber(font, 1, "Lives:%d", lives);
  PrintNumber(font, 10, "Level:%d", level);
  PrintNumber(font, 20, "Score:%d", static_cast<int32_t>(score));
}

void DrawHud(const BitmapFont& font, int32_t level, float* shieldRef) {
  PrintStatusLine(font, level);
  font.Print(40, 1, "Powerup:");
  font.Print(53, 1, "Shield:");

  BeginBox(kPowerUpBoxX, TextureSlot::DisplayBox);
  DrawBoxSquare(1);
  gl.glLoadIdentity();
  gl.glTranslatef(kShieldBoxX, kBoxY, kPlayPlaneZ);
  DrawBoxSquare(1);
  gl.glDisable(GL_TEXTURE_2D);

  const Ship* ship = playerRecord ? playerRecord->ship : nullptr;
  if (!ship) return;
  const int32_t powerUp = ship->PowerUp();
  if (powerUp >= 1 && powerUp <= 3) {
    BeginBox(kPowerUpBoxX, kWeaponIcons[powerUp - 1]);
    DrawBoxSquare(0.75f);
    gl.glDisable(GL_TEXTURE_2D);
  }
  if (ship->IsVulnerable()) {
    *shieldRef = 0;
    return;
  }
  if (*shieldRef == 0) *shieldRef = ship->Shield();
  if (ship->Shield() <= 0 || *shieldRef <= 0) return;
  BeginBox(kShieldBoxX, TextureSlot::PowerInvulnerable);
  DrawShieldBar(ship->Shield() / *shieldRef);
  gl.glDisable(GL_TEXTURE_2D);
}
