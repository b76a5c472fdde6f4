#include "game/object_list.h"

#include "platform/frame_timer.h"

ObjectList* objectList = nullptr;

ObjectList::ObjectList(int32_t timer) : timer(timer) {}

ObjectList::~ObjectList() { Clear(); }

int32_t ObjectList::Add(GameObject* object) {
  if (!object) return count;
  head = new ObjectNode{object, head};
  return ++count;
}

void ObjectList::ResetClock() {
  last = 0;
  now = 0;
}

void ObjectList::UpdateAll() {
  if (timer >= 0) {
    now = TimerSeconds(timer);
    dt = now - last;
    last = now;
  } else {
    dt = 0;
  }
  // Walking on from the head taken here leaves out what the updates add.
  for (ObjectNode* node = head; node; node = node->next) node->object->Update(dt);
}

void ObjectList::DrawAll() {
  for (ObjectNode* node = head; node; node = node->next) node->object->Draw();
}

void ObjectList::CollideAll() {
  for (ObjectNode* outer = head; outer; outer = outer->next) {
    GameObject& a = *outer->object;
    if (a.GetState() != ObjectState::Active) continue;
    // Each inner walk starts at the current head, so objects made by a hit
    // earlier in this pass can already be hit as the second of a pair.
    for (ObjectNode* inner = head; inner; inner = inner->next) {
      if (a.GetState() != ObjectState::Active) break;
      GameObject& b = *inner->object;
      if (&b == &a || b.GetState() != ObjectState::Active) continue;
      const int32_t kind = b.GetKind();
      if (static_cast<uint32_t>(kind) > static_cast<uint32_t>(ObjectKind::Bullet)) continue;
      if ((a.GetGroup() & CollisionBitForKind(kind)) && Overlap(a, b)) {
        a.OnHit(b);
        b.OnHit(a);
      }
    }
  }
}

int32_t ObjectList::RemoveDead() {
  ObjectNode** link = &head;
  while (ObjectNode* node = *link) {
    if (node->object->GetState() == ObjectState::Dead) {
      *link = node->next;
      delete node->object;
      delete node;
      --count;
    } else {
      link = &node->next;
    }
  }
  return count;
}

void ObjectList::KillAllExcept(int32_t kind) {
  for (ObjectNode* node = head; node; node = node->next) {
    if (node->object->GetKind() != kind) node->object->SetState(ObjectState::Dead);
  }
}

void ObjectList::KillAll() {
  for (ObjectNode* node = head; node; node = node->next) node->object->SetState(ObjectState::Dead);
}

int32_t ObjectList::CountActive(int32_t kind) const {
  int32_t active = 0;
  for (const ObjectNode* node = head; node; node = node->next) {
    const GameObject& object = *node->object;
    if (object.GetKind() == kind && object.GetState() == ObjectState::Active) ++active;
  }
  return active;
}

void ObjectList::Clear() {
  while (ObjectNode* node = head) {
    head = node->next;
    delete node->object;
    delete node;
  }
  count = 0;
}
