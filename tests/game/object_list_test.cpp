#include "game/object_list.h"

#include <gtest/gtest.h>

#include "game/game_test_support.h"
#include "support/recording_gl.h"

using namespace game_test;

namespace {

// An object that counts what the list does to it.
class Probe : public GameObject {
 public:
  Probe(int32_t probeKind, uint16_t probeGroup, float atX, float atY, float radius = 1) {
    kind = probeKind;
    group = probeGroup;
    x = atX;
    y = atY;
    z = kPlayPlaneZ;
    shape = CollisionShape::SingleCircle(radius, x, y);
  }
  void Update(float dt) override {
    ++updates;
    lastStep = dt;
    if (spawnOnUpdate) objectList->Add(new Probe(kind, 0, 0, 0));
  }
  void Draw() override { ++draws; }
  void OnHit(GameObject&) override { ++hits; }

  int updates = 0;
  int draws = 0;
  int hits = 0;
  float lastStep = -1;
  bool spawnOnUpdate = false;
};

using ObjectListTest = GameWorld;

TEST(WrapAroundTest, WrapsOnlyStrictlyBeyondTheBoundsPlusTheRadius) {
  float x = 36.5f, y = 27.5f;  // exactly on the bounds for radius 1
  WrapAround(&x, &y, 1);
  EXPECT_EQ(x, 36.5f);
  EXPECT_EQ(y, 27.5f);

  x = 36.51f;
  y = -27.51f;
  WrapAround(&x, &y, 1);
  EXPECT_EQ(x, -36.5f);
  EXPECT_EQ(y, 27.5f);

  x = -36.51f;
  y = 27.51f;
  WrapAround(&x, &y, 1);
  EXPECT_EQ(x, 36.5f);
  EXPECT_EQ(y, -27.5f);
}

TEST(OverlapTest, TouchingCirclesOverlapAndOffsetsTurnWithTheShape) {
  Probe a(ObjectKind::Ship, 0, 0, 0, 1);
  Probe b(ObjectKind::SmallAsteroid, 0, 2, 0, 1);
  EXPECT_TRUE(Overlap(a, b));
  b.shape->x = 2.001f;
  EXPECT_FALSE(Overlap(a, b));

  // A circle offset by (1, 0) in a shape turned by 90 degrees sits at (0, -1).
  Probe turned(ObjectKind::Ship, 0, 0, 0, 0.1f);
  turned.shape->circles[0].offsetX = 1;
  turned.shape->angle = 90;
  Probe below(ObjectKind::SmallAsteroid, 0, 0, -1, 0.1f);
  Probe right(ObjectKind::SmallAsteroid, 0, 1, 0, 0.1f);
  EXPECT_TRUE(Overlap(turned, below));
  EXPECT_FALSE(Overlap(turned, right));

  a.state = b.state = ObjectState::Hit;
  b.shape->x = 0;
  EXPECT_FALSE(Overlap(a, b));
  Probe noCircles(ObjectKind::Bullet, 0, 0, 0);
  noCircles.shape = CollisionShape::Empty();
  EXPECT_FALSE(Overlap(noCircles, right));
}

TEST_F(ObjectListTest, OnlyAGroupThatHoldsTheOthersBitStartsAHitAndBothOrdersAreTried) {
  // The shot meets asteroids; the asteroid-kind probe meets nothing.
  auto* shot = Add(new Probe(ObjectKind::Bullet, CollisionGroup::MeetsAsteroids, 0, 0));
  auto* rock = Add(new Probe(ObjectKind::SmallAsteroid, 0, 0.5f, 0));
  auto* far = Add(new Probe(ObjectKind::SmallAsteroid, 0, 10, 0));
  // Kinds above 9 are never met, whatever the other's group holds.
  auto* greedy = Add(new Probe(11, 0xFFFF, 50, 0));
  auto* debris = Add(new Probe(ObjectKind::ShipDebris, 0, 50, 0));
  objectList->CollideAll();
  EXPECT_EQ(shot->hits, 1);
  EXPECT_EQ(rock->hits, 1);
  EXPECT_EQ(far->hits, 0);
  EXPECT_EQ(greedy->hits, 0);
  EXPECT_EQ(debris->hits, 0);

  // Two objects that meet each other and stay Active get both orders.
  auto* ship = Add(new Probe(ObjectKind::Ship, CollisionGroup::MeetsAsteroids, 20, 0));
  auto* final = Add(new Probe(ObjectKind::FinalAsteroid, CollisionGroup::MeetsShip, 20, 0));
  objectList->CollideAll();
  EXPECT_EQ(ship->hits, 2);
  EXPECT_EQ(final->hits, 2);
}

TEST_F(ObjectListTest, AChildMadeInAPassIsNotItsFirstObjectButCanBeHitAsTheSecond) {
  // Head first: shot A, the large asteroid, shot B. A splits the asteroid;
  // B, further down, then meets one of the new medium asteroids at once.
  Add(new TestShot(0, 0));
  Add(new LargeAsteroid(0, {1, 1, 0}, {0, 0, kPlayPlaneZ}));
  Add(new TestShot(0, 0));
  objectList->CollideAll();
  const std::vector<GameObject*> mediums = OfKind(ObjectKind::MediumAsteroid);
  ASSERT_EQ(mediums.size(), 3u);
  EXPECT_EQ(mediums[0]->GetState(), ObjectState::Hit);
  EXPECT_EQ(mediums[1]->GetState(), ObjectState::Active);
  EXPECT_EQ(OfKind(ObjectKind::SmallAsteroid).size(), 5u);
  EXPECT_EQ(levelCounters.hitCount, 2);
  EXPECT_EQ(levelCounters.levelScore, 750u);
}

TEST_F(ObjectListTest, UpdateAllSkipsWhatItsPassAddsAndTakesTheStepFromTheTimer) {
  auto* parent = Add(new Probe(ObjectKind::Bullet, 0, 0, 0));
  parent->spawnOnUpdate = true;
  Step(0.25);
  EXPECT_FLOAT_EQ(parent->lastStep, 0.25f);
  auto* child = static_cast<Probe*>(objectList->First()->object);
  ASSERT_NE(child, parent);
  EXPECT_EQ(child->updates, 0);
  parent->spawnOnUpdate = false;
  Step(0.5);
  EXPECT_EQ(child->updates, 1);
  EXPECT_FLOAT_EQ(child->lastStep, 0.5f);

  // After ResetClock the next step is measured from 0 again: the game
  // resets its timer before every level.
  ResetTimer(gameTimer);
  objectList->ResetClock();
  Step(0.1);
  EXPECT_FLOAT_EQ(objectList->LastStep(), 0.1f);
}

TEST_F(ObjectListTest, AHitObjectIsDrawnOnceMoreStandsStillAndIsRemovedAfterItsNextUpdate) {
  RecordingGl rec;
  auto* rock = Add(new SmallAsteroid(0, {5, 0, 0}, {0, 0, kPlayPlaneZ}));
  auto* probe = Add(new Probe(ObjectKind::SmallAsteroid, 0, 10, 10));
  EXPECT_EQ(objectList->CountActive(ObjectKind::SmallAsteroid), 2);
  rock->OnHit(*probe);
  EXPECT_EQ(objectList->CountActive(ObjectKind::SmallAsteroid), 1);
  EXPECT_EQ(objectList->RemoveDead(), 2);  // Hit is not Dead
  objectList->DrawAll();
  EXPECT_EQ(probe->draws, 1);
  EXPECT_EQ(rec.Count("glTranslatef"), 1u);  // the hit asteroid

  clock.Advance(1);
  UpdateTimers();
  objectList->UpdateAll();
  EXPECT_EQ(rock->x, 0.0f);
  EXPECT_EQ(rock->GetState(), ObjectState::Dead);
  EXPECT_EQ(objectList->RemoveDead(), 1);
  EXPECT_EQ(objectList->First()->object, probe);
}

}  // namespace
