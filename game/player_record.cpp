#include "game/player_record.h"

#include "audio/game_sounds.h"
#include "game/level.h"

PlayerRecord* playerRecord = nullptr;

namespace {

constexpr uint64_t kExtraLifeStep = 500000;

}  // namespace

PlayerRecord::PlayerRecord(int32_t timer) : timer(timer) {}

void PlayerRecord::Reset() {
  score = 0;
  lives = 3;
  ship = nullptr;
  controlsEnabled = false;
  extraLifeCount = 0;
}

void PlayerRecord::AddScore(uint32_t points) {
  score += points;
  // The first threshold is 0, so the first points of a game bring a life.
  if (score >= static_cast<uint64_t>(extraLifeCount) * kExtraLifeStep) {
    ++extraLifeCount;
    ++lives;
    PlayCentredSound(EventSound::ExtraLife);
  }
}

void PlayerRecord::LoseLife() {
  controlsEnabled = false;
  if (ship) {
    ship->TurnRightOff();
    ship->TurnLeftOff();
    ship->StopThrust();
  }
  --lives;
  ship = nullptr;
}

Ship* PlayerRecord::SpawnShip() {
  ship = new Ship;
  return ship;
}

void PlayerRecord::ResetShip() {
  if (ship) ship->Reset();
}

void PlayerRecord::TurnRightOn() {
  if (CanSteer()) ship->TurnRightOn();
}

void PlayerRecord::TurnRightOff() {
  if (CanSteer()) ship->TurnRightOff();
}

void PlayerRecord::TurnLeftOn() {
  if (CanSteer()) ship->TurnLeftOn();
}

void PlayerRecord::TurnLeftOff() {
  if (CanSteer()) ship->TurnLeftOff();
}

void PlayerRecord::StartThrust() {
  if (CanSteer()) ship->StartThrust();
}

void PlayerRecord::StopThrust() {
  if (CanSteer()) ship->StopThrust();
}

bool PlayerRecord::Fire() { return CanSteer() && ship->Fire(); }

void AwardPoints(uint32_t points) {
  if (playerRecord) playerRecord->AddScore(points);
  levelCounters.levelScore += points;
}
