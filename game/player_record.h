#pragma once
#include <cstdint>

#include "game/ship.h"

// The player across a whole run: score, lives, the controls switch and the
// current ship. Created once at start-up and reset for every game. Main
// thread only.
class PlayerRecord {
 public:
  // timer: the game's FrameTimer index. Score 0, lives 3, controls off, no ship.
  explicit PlayerRecord(int32_t timer);

  // A new game: score 0, lives 3, no ship, controls off, extra lives from
  // the first points again.
  void Reset();
  // Adds points. Awards one life when the score reaches the next threshold:
  // the first points of a game (threshold 0), then every 500000.
  void AddScore(uint32_t points);
  // The ship was destroyed: controls off, the ship's turning and thrust
  // stopped, one life less, no ship. Lives may go to -1: the game is then lost.
  void LoseLife();
  // Makes a new Ship, keeps it as the current one and returns it; the caller
  // adds it to the object list, which owns it.
  Ship* SpawnShip();
  // Puts the current ship, if any, back to its level start (Ship::Reset).
  void ResetShip();
  void EnableControls() { controlsEnabled = true; }
  void DisableControls() { controlsEnabled = false; }

  // Key forwarders: act only while controls are on and a ship exists.
  void TurnRightOn();
  void TurnRightOff();
  void TurnLeftOn();
  void TurnLeftOff();
  void StartThrust();
  void StopThrust();
  // True when a shot was fired.
  bool Fire();

  uint32_t score = 0;
  bool controlsEnabled = false;
  Ship* ship = nullptr;  // not owned; the object list owns it
  int32_t lives = 3;
  int32_t timer;
  int32_t extraLifeCount = 0;  // index of the next extra-life threshold

 private:
  bool CanSteer() const { return controlsEnabled && ship; }
};

// The run's record; created by the game flow at start-up, never destroyed.
// Game objects score through it and skip scoring while it is null.
extern PlayerRecord* playerRecord;

// Points for something destroyed or collected in play: AddScore on the
// player's record (when there is one) and the same points to levelCounters.levelScore.
void AwardPoints(uint32_t points);
