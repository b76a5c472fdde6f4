#include "game/flame_emitter.h"

#include <gtest/gtest.h>

#include <vector>

#include "game/game_random.h"
#include "platform/frame_timer.h"
#include "support/fake_clock.h"

namespace {

class FlameEmitterTest : public testing::Test {
 protected:
  void Frame(FlameEmitter& flame, double seconds, Vector3 at = {0, 0, -25}, float angle = 0) {
    clock.Advance(seconds);
    UpdateTimers();
    flame.Update(at, angle);
  }

  FakeClock clock;
};

TEST_F(FlameEmitterTest, ASteadyFrameRateEmitsAboutHalfTheNominalRate) {
  FlameEmitter flame(750, 10, 4, 3, 0.266f);
  EXPECT_EQ(flame.Capacity(), 751);
  flame.StartEmitting();
  std::vector<float> births(flame.Capacity(), -1);
  int emitted = 0;
  int mostAlive = 0;
  for (int frame = 0; frame < 240; ++frame) {
    Frame(flame, 1.0 / 60);
    for (int32_t i = 0; i < flame.Capacity(); ++i) {
      const FlameParticle& particle = flame.Particle(i);
      if (particle.active && particle.birthTime != births[i]) {
        births[i] = particle.birthTime;
        ++emitted;
      }
    }
    mostAlive = std::max(mostAlive, flame.ActiveCount());
  }
  EXPECT_NEAR(emitted / 4.0, 375, 10);
  EXPECT_GT(mostAlive, 85);
  EXPECT_LT(mostAlive, 115);
}

TEST_F(FlameEmitterTest, ABurstReseedsWithZeroAtSlotZeroAndSpreadsItsBirthTimes) {
  // The fifteenth value after seed 0: what the game draws next after a
  // burst of seven particles (two draws each) that started at slot 0.
  GameSrand(0);
  for (int i = 0; i < 14; ++i) GameRand();
  const int32_t nextDraw = GameRand();

  FlameEmitter flame(750, 10, 4, 3, 0.266f);
  GameSrand(12345);
  flame.StartEmitting();
  Frame(flame, 0.01, {1, 2, -25}, 30);  // banks the step
  EXPECT_EQ(flame.ActiveCount(), 0);
  Frame(flame, 0.01, {1, 2, -25}, 30);  // spends it: seven particles
  ASSERT_EQ(flame.ActiveCount(), 7);

  const FlameParticle& first = flame.Particle(0);
  EXPECT_EQ(first.phase, 38.0f);  // the first two values after seed 0: 38, 7719
  EXPECT_EQ(first.r, 0.66f);
  EXPECT_EQ(first.b, 0.88f);
  EXPECT_EQ(first.birthX, 1.0f);
  EXPECT_EQ(first.angle, 30.0f);
  EXPECT_NEAR(first.birthTime, 0.02 - 1.5 * 0.01, 1e-5);
  EXPECT_NEAR(flame.Particle(1).birthTime - first.birthTime, 1.5 / 750, 1e-5);
  // A particle drifts backwards at the emitter's speed and fades.
  EXPECT_NEAR(flame.Offset(0).y, -10 * 0.015, 1e-4);
  EXPECT_NEAR(first.alpha, 1 - 0.015 / 0.266, 1e-4);
  EXPECT_EQ(GameRand(), nextDraw);
}

TEST_F(FlameEmitterTest, ReleasedThrustStopsAtOnceAndTheNextTrailRepeatsThePattern) {
  FlameEmitter flame(750, 10, 4, 3, 0.266f);
  flame.StartEmitting();
  Frame(flame, 0.01);
  Frame(flame, 0.01);
  std::vector<float> phases;
  for (int32_t i = 0; i < flame.ActiveCount(); ++i) phases.push_back(flame.Particle(i).phase);
  flame.StopEmitting();
  const int32_t alive = flame.ActiveCount();
  Frame(flame, 0.01);
  Frame(flame, 0.01);
  EXPECT_EQ(flame.ActiveCount(), alive);
  Frame(flame, 0.3);
  EXPECT_EQ(flame.ActiveCount(), 0);

  GameSrand(999);
  flame.StartEmitting();
  Frame(flame, 0.01);
  Frame(flame, 0.01);
  std::vector<float> again;
  for (int32_t i = 0; i < static_cast<int32_t>(phases.size()); ++i) {
    again.push_back(flame.Particle(i).phase);
  }
  EXPECT_EQ(again, phases);
}

TEST_F(FlameEmitterTest, ARateOfZeroEmitsEveryEighthOfASecondIntoASingleSlot) {
  FlameEmitter flame(0, 10, 4, 3, 1);
  EXPECT_EQ(flame.Capacity(), 1);
  flame.StartEmitting();
  Frame(flame, 0.2);
  Frame(flame, 0.2);
  EXPECT_EQ(flame.ActiveCount(), 1);
  const float born = flame.Particle(0).birthTime;
  Frame(flame, 0.2);
  Frame(flame, 0.2);  // the slot is taken: the emission is lost
  EXPECT_EQ(flame.ActiveCount(), 1);
  EXPECT_EQ(flame.Particle(0).birthTime, born);
}

TEST_F(FlameEmitterTest, AStepTooLongForFloatToCountDownStillEnds) {
  FlameEmitter flame(750, 10, 4, 3, 0.266f);
  flame.StartEmitting();
  Frame(flame, 40000);  // banked
  Frame(flame, 0.01);   // a bank of 40000 s: float cannot take 1/750 off it
  EXPECT_EQ(flame.ActiveCount(), 0);
  Frame(flame, 0.01);
  Frame(flame, 0.01);
  EXPECT_GT(flame.ActiveCount(), 0);  // emitting normally again
}

}  // namespace
