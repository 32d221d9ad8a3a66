#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "support/plugin_fixture.h"
#include "transfer/capture_cooldown.h"

namespace {

using ck::transfer::PassesCaptureCooldown;

// Each test starts from a fresh plugin state (an empty table).
class CooldownTest : public cktest::PluginTest {
 protected:
  void Wait(int64 ms) { fw().clock.Advance(ms * 1'000'000); }
  int a_ = 0, b_ = 0;
};

TEST_F(CooldownTest, ASecondTriggerWithinTheCooldownIsRefusedAndLetThroughAtExactlyTheCooldown) {
  EXPECT_TRUE(PassesCaptureCooldown(&a_));
  Wait(1500);
  EXPECT_FALSE(PassesCaptureCooldown(&a_));
  Wait(500);
  EXPECT_TRUE(PassesCaptureCooldown(&a_)) << "at exactly 2.0 seconds";
  Wait(1999);
  EXPECT_FALSE(PassesCaptureCooldown(&a_)) << "the pass stamped the pawn again";
}

TEST_F(CooldownTest, RefusalsDoNotExtendTheCooldown) {
  EXPECT_TRUE(PassesCaptureCooldown(&a_));
  for (int i = 0; i < 3; ++i) {
    Wait(600);
    EXPECT_FALSE(PassesCaptureCooldown(&a_));
  }
  Wait(200);
  EXPECT_TRUE(PassesCaptureCooldown(&a_));
}

TEST_F(CooldownTest, PawnsCoolDownSeparately) {
  EXPECT_TRUE(PassesCaptureCooldown(&a_));
  EXPECT_TRUE(PassesCaptureCooldown(&b_));
  EXPECT_EQ(ck::transfer::CaptureCooldownTableSize(), 2u);
}

TEST_F(CooldownTest, ZeroOrNegativeNeverRefuses) {
  for (double seconds : {0.0, -1.0}) {
    ck::config::Current().CaptureCooldownSeconds = seconds;
    EXPECT_TRUE(PassesCaptureCooldown(&a_));
    EXPECT_TRUE(PassesCaptureCooldown(&a_));
  }
}

TEST_F(CooldownTest, UnloadEmptiesTheTable) {
  Start();
  EXPECT_TRUE(PassesCaptureCooldown(&a_));
  Stop();
  EXPECT_FALSE(ck::state::Running()) << "the table went with the plugin's state";
  Start();
  EXPECT_EQ(ck::transfer::CaptureCooldownTableSize(), 0u);
  EXPECT_TRUE(PassesCaptureCooldown(&a_)) << "the new state remembers no pawn";
}

}  // namespace

namespace {

class CooldownTableTest : public cktest::PluginTest {};

TEST_F(CooldownTableTest, ABusyServerKeepsOnlyPawnsStillCoolingDown) {
  std::vector<int> pawns(1000);
  for (std::size_t i = 0; i < pawns.size(); ++i) {
    EXPECT_TRUE(ck::transfer::PassesCaptureCooldown(&pawns[i]));
    fw().clock.Advance(10'000'000);  // 10 ms between triggers
  }
  EXPECT_LE(ck::transfer::CaptureCooldownTableSize(), ck::transfer::kCooldownPruneAbove + 200u)
      << "pawns whose cooldown is over are forgotten once the table grows";
  EXPECT_FALSE(ck::transfer::PassesCaptureCooldown(&pawns[999])) << "a pawn still cooling down is remembered";
  fw().clock.Advance(2'000'000'000);
  EXPECT_TRUE(ck::transfer::PassesCaptureCooldown(&pawns[0]));
}

// A prune forgets only pawns whose cooldown is over: a pawn still cooling
// down stays refused after it, and the table keeps no cooled pawn.
TEST_F(CooldownTableTest, APruneKeepsThePawnStillCoolingDownAndForgetsTheRest) {
  std::vector<int> cooled(ck::transfer::kCooldownPruneAbove - 1);
  for (int& pawn : cooled) EXPECT_TRUE(ck::transfer::PassesCaptureCooldown(&pawn));
  fw().clock.Advance(2'000'000'000);  // their cooldown is over
  int cooling = 0, newcomer = 0;
  EXPECT_TRUE(ck::transfer::PassesCaptureCooldown(&cooling));
  EXPECT_EQ(ck::transfer::CaptureCooldownTableSize(), ck::transfer::kCooldownPruneAbove) << "at the threshold";
  fw().clock.Advance(1'000'000'000);

  EXPECT_TRUE(ck::transfer::PassesCaptureCooldown(&newcomer)) << "a new pawn past the threshold prunes the table";
  EXPECT_EQ(ck::transfer::CaptureCooldownTableSize(), 2u) << "the cooling pawn and the newcomer";
  EXPECT_FALSE(ck::transfer::PassesCaptureCooldown(&cooling)) << "still cooling down after the prune";
  EXPECT_TRUE(ck::transfer::PassesCaptureCooldown(&cooled[0])) << "a forgotten pawn passes as before";
}

// Pawns arriving slower than their cooldown never let the table pass its
// threshold, however many there are.
TEST_F(CooldownTableTest, PawnsArrivingOneByOneNeverGrowTheTablePastItsThreshold) {
  std::vector<int> pawns(3 * ck::transfer::kCooldownPruneAbove);
  std::size_t largest = 0;
  for (int& pawn : pawns) {
    EXPECT_TRUE(ck::transfer::PassesCaptureCooldown(&pawn));
    largest = std::max(largest, ck::transfer::CaptureCooldownTableSize());
    fw().clock.Advance(3'000'000'000);
  }
  EXPECT_EQ(largest, ck::transfer::kCooldownPruneAbove);
}

}  // namespace
