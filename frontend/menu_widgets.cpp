#include "frontend/menu_widgets.h"

#include "frontend/screen_drawing.h"
#include "platform/gl_table.h"
#include "resources/bundle_sprite.h"
#include "resources/texture.h"

MenuPointer menuPointer;

namespace {

constexpr float kPointerStep = 0.002f;  // plane units per mouse count
constexpr float kPointerLimitX = 0.743f;
constexpr float kPointerLimitY = 0.557f;
constexpr float kPointerSize = 0.025f;

float Clamp(float value, float limit) {
  if (value < -limit) return -limit;
  if (value > limit) return limit;
  return value;
}

}  // namespace

MenuButton::MenuButton(float left, float right, float top, float bottom, const BundleSprite* normal,
                       const BundleSprite* active)
    : corners{left, top, kMenuDepth, right, top, kMenuDepth, left, bottom, kMenuDepth, right, bottom, kMenuDepth},
      currentImage(normal),
      normalImage(normal),
      activeImage(active) {}

MenuButton::MenuButton(float left, float right, float top, float bottom, const BundleSprite* picture)
    : MenuButton(left, right, top, bottom, picture, picture) {}

MenuButton::~MenuButton() { currentImage = nullptr; }

void MenuButton::UpdateHover(float pointerX, float pointerY) {
  if (!visible) return;
  const float left = corners[0], top = corners[1], right = corners[3], bottom = corners[7];
  const bool over = left < pointerX && pointerX < right && bottom < pointerY && pointerY < top;
  currentImage = over ? activeImage : normalImage;
}

void MenuButton::Draw() const {
  if (!visible || !currentImage) return;
  gl.glEnableClientState(GL_VERTEX_ARRAY);
  gl.glDisableClientState(GL_NORMAL_ARRAY);
  gl.glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  gl.glVertexPointer(3, GL_FLOAT, 0, corners);
  gl.glEnable(GL_BLEND);
  gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  gl.glDisable(GL_CULL_FACE);
  gl.glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  gl.glColor4f(1, 1, 1, 1);
  // The sprite's corner order (upper left, upper right, lower left, lower
  // right) is the corner order above, so the picture fills the rectangle.
  currentImage->Bind();
  gl.glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_BYTE, indices);
}

void MovePointer(int32_t mouseDx, int32_t mouseDy) {
  menuPointer.x = Clamp(menuPointer.x + static_cast<float>(mouseDx) * kPointerStep, kPointerLimitX);
  menuPointer.y = Clamp(menuPointer.y - static_cast<float>(mouseDy) * kPointerStep, kPointerLimitY);
}

void DrawPointer(const Texture& texture, float x, float y, float z) {
  gl.glDisableClientState(GL_VERTEX_ARRAY);
  gl.glDisableClientState(GL_NORMAL_ARRAY);
  gl.glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  gl.glColor4f(1, 1, 1, 1);
  gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  gl.glEnable(GL_BLEND);
  texture.Bind();
  DrawPicture(x, x + kPointerSize, y, y - kPointerSize, z);
}
