#include "game/game_object.h"

#include <cmath>

std::unique_ptr<CollisionShape> CollisionShape::SingleCircle(float radius, float x, float y) {
  auto shape = std::make_unique<CollisionShape>();
  shape->count = 1;
  shape->circles = std::make_unique<CollisionCircle[]>(1);
  shape->circles[0].radius = radius;
  shape->x = x;
  shape->y = y;
  return shape;
}

std::unique_ptr<CollisionShape> CollisionShape::Empty() {
  return std::make_unique<CollisionShape>();
}

void CollisionShape::CircleCentre(int32_t i, float* worldX, float* worldY) const {
  const CollisionCircle& circle = circles[i];
  // Every circle of the game sits at its shape's centre; the turn is only
  // worked out for circles that are offset.
  if (circle.offsetX == 0 && circle.offsetY == 0) {
    *worldX = x;
    *worldY = y;
    return;
  }
  const float radians = angle * kDegreesToRadians;
  const float c = std::cos(radians);
  const float s = std::sin(radians);
  *worldX = x - (circle.offsetX * c + circle.offsetY * s);
  *worldY = y + (circle.offsetY * c - circle.offsetX * s);
}

GameObject::~GameObject() { state = ObjectState::Dead; }

void GameObject::Update(float) {}
void GameObject::Draw() {}
void GameObject::OnHit(GameObject&) {}

void GameObject::Drift(float velX, float velY, float dt, float angle) {
  x += velX * dt;
  y += velY * dt;
  WrapAround(&x, &y, shape->circles[0].radius);
  shape->x = x;
  shape->y = y;
  shape->angle = angle;
}

bool Overlap(const GameObject& a, const GameObject& b) {
  if (a.GetState() != ObjectState::Active && b.GetState() != ObjectState::Active) return false;
  const CollisionShape* shapeA = a.GetShape();
  const CollisionShape* shapeB = b.GetShape();
  if (!shapeA || !shapeB) return false;
  for (int32_t i = 0; i < shapeA->count; ++i) {
    float ax, ay;
    shapeA->CircleCentre(i, &ax, &ay);
    for (int32_t j = 0; j < shapeB->count; ++j) {
      float bx, by;
      shapeB->CircleCentre(j, &bx, &by);
      const float reach = shapeA->circles[i].radius + shapeB->circles[j].radius;
      const float dx = ax - bx;
      const float dy = ay - by;
      if (reach * reach >= dx * dx + dy * dy) return true;
    }
  }
  return false;
}

float WrapAngle(float angle) {
  if (angle >= 360) return angle - 360;
  if (angle <= -360) return angle + 360;
  return angle;
}

void WrapAround(float* x, float* y, float radius) {
  const float right = radius + kPlayHalfWidth;
  const float top = radius + kPlayHalfHeight;
  if (*x > right) *x = -right;
  if (*x < -right) *x = right;
  if (*y > top) *y = -top;
  if (*y < -top) *y = top;
}
