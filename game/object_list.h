#pragma once
#include <cstdint>

#include "game/game_object.h"

// The game's objects in one singly linked list, newest first. The list owns
// its objects: removing a node destroys the object. Main thread only.
//
// Objects added during a pass (children of a split asteroid, the ship's
// debris, bullets) go to the head: UpdateAll and DrawAll do not visit them in
// the running pass; in CollideAll they are never the first object of a pair
// in that pass but can be the second one, since every inner walk starts again
// at the current head.

struct ObjectNode {
  GameObject* object;
  ObjectNode* next;
};

class ObjectList {
 public:
  // timer: the FrameTimer index the list takes its time steps from (-1: dt
  // is always 0).
  explicit ObjectList(int32_t timer);
  // Destroys every object still held.
  ~ObjectList();
  ObjectList(const ObjectList&) = delete;
  ObjectList& operator=(const ObjectList&) = delete;

  // Takes ownership of object and puts it at the head; returns the new
  // count. A null object is ignored.
  int32_t Add(GameObject* object);
  // Before every level: the next time step is measured from the timer's 0.
  void ResetClock();
  // dt = TimerSeconds(timer) - the previous reading, then Update(dt) on
  // every object, head first.
  void UpdateAll();
  void DrawAll();
  // For every Active object a, head first, and every other Active object b
  // of a kind that collides (Bullet and below): when a's group holds the bit of b's kind and the shapes
  // overlap, a.OnHit(b), then b.OnHit(a). A pair is looked at in both
  // orders; a's walk stops as soon as a is no longer Active.
  void CollideAll();
  // Destroys every Dead object; returns the count left.
  int32_t RemoveDead();
  // Sets every object Dead whose kind differs from kind / every object.
  void KillAllExcept(int32_t kind);
  void KillAll();
  // Objects of that kind in state Active (Hit ones do not count).
  int32_t CountActive(int32_t kind) const;
  // Destroys every object.
  void Clear();

  // For iteration: the newest node, or null.
  const ObjectNode* First() const { return head; }
  int32_t Count() const { return count; }
  // The time step of the last UpdateAll, seconds.
  float LastStep() const { return dt; }

 private:
  ObjectNode* head = nullptr;
  int32_t count = 0;
  int32_t timer = -1;
  float dt = 0;
  float last = 0;
  float now = 0;
};

// The list of the game being played; null outside a game. The game flow
// creates and publishes it at the start of a game and clears it at the end.
// Every spawn (asteroid children, debris, bullets) is skipped while null.
extern ObjectList* objectList;
