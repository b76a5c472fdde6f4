#pragma once
// What the game-world tests share: a game in progress (object list, player
// record, a fake clock driving the game's timer) that a test advances frame
// by frame, and a stand-in shot that hits like a bullet.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "game/asteroids.h"
#include "game/game_random.h"
#include "game/level.h"
#include "game/object_list.h"
#include "game/player_record.h"
#include "game/ship.h"
#include "platform/frame_timer.h"
#include "support/fake_clock.h"

namespace game_test {

// A kind 9 object with a bullet's circle that stands still: it marks itself
// Hit when it hits and is gone one update later.
class TestShot : public GameObject {
 public:
  TestShot(float atX, float atY) {
    kind = ObjectKind::Bullet;
    group = CollisionGroup::MeetsAsteroids;
    x = atX;
    y = atY;
    z = kPlayPlaneZ;
    shape = CollisionShape::SingleCircle(0.6f, x, y);
  }
  void Update(float) override {
    if (state == ObjectState::Hit) state = ObjectState::Dead;
  }
  void OnHit(GameObject&) override { state = ObjectState::Hit; }
};

class GameWorld : public testing::Test {
 protected:
  GameWorld() {
    gameTimer = AcquireTimer();
    objectList = new ObjectList(gameTimer);
    playerRecord = new PlayerRecord(gameTimer);
    levelCounters.currentLevel = 1;
    levelCounters.levelScore = levelCounters.scoreAtStart = 0;
    levelCounters.hitCount = 0;
    asteroidVariant = 0;
    GameSrand(1);
  }
  ~GameWorld() override {
    delete objectList;
    objectList = nullptr;
    delete playerRecord;
    playerRecord = nullptr;
    ReleaseTimer(gameTimer);
    SetWallClockSource(nullptr);
  }

  // One frame of play as the gameplay loop runs it: the clock moves on by
  // seconds, then update, collide and remove.
  void Step(double seconds) {
    clock.Advance(seconds);
    UpdateTimers();
    objectList->UpdateAll();
    objectList->CollideAll();
    objectList->RemoveDead();
  }

  template <typename T>
  T* Add(T* object) {
    objectList->Add(object);
    return object;
  }

  // The player's ship, made and added as the gameplay loop does.
  Ship* SpawnShip() { return Add(playerRecord->SpawnShip()); }

  // Every object of a kind, newest first.
  std::vector<GameObject*> OfKind(int32_t kind) const {
    std::vector<GameObject*> found;
    for (const ObjectNode* node = objectList->First(); node; node = node->next) {
      if (node->object->GetKind() == kind) found.push_back(node->object);
    }
    return found;
  }

  FakeClock clock;
  int32_t gameTimer = -1;
};

}  // namespace game_test
