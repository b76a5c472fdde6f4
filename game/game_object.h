#pragma once
#include <cstdint>
#include <memory>

// The common model of everything that moves during play: ship, asteroids,
// bullets, power-ups, the ship's debris and the burst spawner. Objects live
// in the game's ObjectList (object_list.h), which owns them. Main thread only.

// Object states, as returned by GameObject::GetState.
struct ObjectState {
  static constexpr int32_t Dead = 0;
  static constexpr int32_t Hit = 1;    // destroyed: drawn once more, Dead at its next update
  static constexpr int32_t Active = 2;
};

// Object kinds, as returned by GameObject::GetKind. Kinds above 9 never take
// part in collisions.
struct ObjectKind {
  static constexpr int32_t InvulnPowerUp = 0;
  static constexpr int32_t LongRangePowerUp = 1;
  static constexpr int32_t SpreadPowerUp = 2;
  static constexpr int32_t StarburstPowerUp = 3;
  static constexpr int32_t Ship = 4;
  static constexpr int32_t SmallAsteroid = 5;
  static constexpr int32_t MediumAsteroid = 6;
  static constexpr int32_t LargeAsteroid = 7;
  static constexpr int32_t FinalAsteroid = 8;
  static constexpr int32_t Bullet = 9;  // every shot and the burst spawner
  static constexpr int32_t ShipDebris = 10;
};

// Collision mask bits of GameObject::group: an object meets another when its
// group holds the bit that stands for the other's kind.
struct CollisionGroup {
  static constexpr uint16_t MeetsShip = 1;       // ObjectKind::Ship
  static constexpr uint16_t MeetsPowerUps = 2;   // the four power-up kinds
  static constexpr uint16_t MeetsAsteroids = 4;  // SmallAsteroid .. FinalAsteroid
  static constexpr uint16_t MeetsBullets = 8;    // ObjectKind::Bullet
};

// The mask bit that stands for a kind; 0 for kinds outside 0..9.
constexpr uint16_t CollisionBitForKind(int32_t kind) {
  using G = CollisionGroup;
  constexpr uint16_t kBits[10] = {G::MeetsPowerUps,  G::MeetsPowerUps,  G::MeetsPowerUps,
                                  G::MeetsPowerUps,  G::MeetsShip,      G::MeetsAsteroids,
                                  G::MeetsAsteroids, G::MeetsAsteroids, G::MeetsAsteroids,
                                  G::MeetsBullets};
  return kind >= 0 && kind <= 9 ? kBits[kind] : 0;
}

// The play plane: every object lies at z = -25; it wraps when its centre
// leaves |x| <= r + 35.5, |y| <= r + 26.5.
constexpr float kPlayPlaneZ = -25.0f;
constexpr float kPlayHalfWidth = 35.5f;
constexpr float kPlayHalfHeight = 26.5f;

// Angles are degrees, counter-clockwise about +z; heading a points along
// (-sin a, cos a), so 0 points up the screen.
constexpr float kDegreesToRadians = 0.017453292519943295f;

struct Vector3 {
  float x = 0;
  float y = 0;
  float z = 0;
};

struct CollisionCircle {
  float radius = 0;
  float offsetX = 0;
  float offsetY = 0;
  float offsetZ = 0;
};

// An object's collision circles, placed at the object's position and turned
// by its angle (degrees). Owned by its object.
struct CollisionShape {
  int32_t count = 0;
  std::unique_ptr<CollisionCircle[]> circles;
  float x = 0;
  float y = 0;
  float z = kPlayPlaneZ;
  float angle = 0;

  // The shape of every class but the burst spawner: one circle of the given
  // radius with no offset, at (x, y, -25), angle 0.
  static std::unique_ptr<CollisionShape> SingleCircle(float radius, float x, float y);
  // A shape with no circles: it never overlaps anything.
  static std::unique_ptr<CollisionShape> Empty();
  // The centre of circle i in world coordinates.
  void CircleCentre(int32_t i, float* worldX, float* worldY) const;
};

class GameObject {
 public:
  // group 0, kind InvulnPowerUp (0), position (0, 0, 0), Active, no shape.
  GameObject() = default;
  // Frees the shape and leaves the state Dead.
  virtual ~GameObject();
  GameObject(const GameObject&) = delete;
  GameObject& operator=(const GameObject&) = delete;

  // The nine operations, in this order. dt in seconds. The accessors are
  // final: the collision pass calls them tens of thousands of times a frame.
  virtual void Update(float dt);
  virtual void Draw();
  virtual int32_t GetState() const final { return state; }
  virtual void SetState(int32_t newState) final { state = newState; }
  virtual void OnHit(GameObject& other);
  virtual int32_t GetKind() const final { return kind; }
  virtual uint16_t GetGroup() const final { return group; }
  virtual CollisionShape* GetShape() const final { return shape.get(); }
  virtual Vector3 GetPosition() const final { return {x, y, z}; }

  // The move of every moving class: position += velocity × dt, wrap-around
  // with the first circle's radius, then the shape takes the position and
  // the angle (degrees). Needs a shape with a circle.
  void Drift(float velX, float velY, float dt, float angle);

  uint16_t group = 0;
  int32_t kind = 0;
  float x = 0;
  float y = 0;
  float z = 0;
  int32_t state = ObjectState::Active;
  std::unique_ptr<CollisionShape> shape;  // null until the class creates it
};

// True when some circle of a's shape overlaps (or touches) some circle of
// b's shape. False when neither object is Active or either has no circles.
bool Overlap(const GameObject& a, const GameObject& b);

// An angle turned past a full turn either way comes back by 360 degrees.
float WrapAngle(float angle);

// Moves a position that has left the play area (strictly beyond r + 35.5 or
// r + 26.5) to the opposite edge; r is the object's first circle radius.
void WrapAround(float* x, float* y, float radius);
