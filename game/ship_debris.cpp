#include "audio/sound_effect.h"
#include "game/object_drawing.h"
#include "game/ship.h"
#include "platform/console_log.h"
#include "platform/gl_table.h"

namespace {

// Where each of the seven pieces has flown when the debris ends.
constexpr Vector3 kPieceOffsets[7] = {{2, 0, 0},     {-0.05f, -0.5f, 0}, {0, -0.5f, 0},
                                      {1, 0, 0},     {-1.25f, -0.1f, 0}, {1.75f, 1, 0},
                                      {2, 2.3f, 0}};

}  // namespace

ShipDebris::ShipDebris(Vector3 position, float duration) : duration(duration) {
  kind = ObjectKind::ShipDebris;
  x = position.x;
  y = position.y;
  z = kPlayPlaneZ;
  if (shipSounds.explosionSound) shipSounds.explosionSound->Play(false);
  // The game's own line for every ship that breaks up, kept on purpose: the
  // log has always carried it, so a count of these lines is the count of
  // ships lost in a run. Not a leftover to delete.
  LogLine("Hello World");
}

void ShipDebris::Update(float dt) {
  elapsed += dt;
  if (elapsed >= duration) state = ObjectState::Dead;
  if (state == ObjectState::Hit) state = ObjectState::Dead;
}

void ShipDebris::Draw() {
  const float t = elapsed / duration;
  // The pieces tumble slowly as a whole; the ship's heading plays no part.
  BeginObjectDraw(x, y, z, 10 * t);
  for (int32_t piece = 0; piece < 7; ++piece) {
    BindTexture(static_cast<TextureSlot>(static_cast<int32_t>(TextureSlot::ShipPiece0) + piece));
    DrawObjectSquare(2, z, t * kPieceOffsets[piece].x, t * kPieceOffsets[piece].y);
  }
  gl.glDisable(GL_TEXTURE_2D);
}
