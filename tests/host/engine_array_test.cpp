#include <gtest/gtest.h>

#include "host/engine/array.h"
#include "host/framework/engine_text.h"
#include "support/sim_world.h"

namespace {

using ck::host::AppendTrivial;
using ck::host::GrownCapacity;

// The engine's growth rule: an array with no storage grows to
// max(4, new count); a full one to new count + 3 * new count / 8 + 16 (integer
// division), capped at the largest int32 (2'147'483'647).
TEST(GrowthRuleTest, FollowsTheEngineRule) {
  EXPECT_EQ(GrownCapacity(0, 1), 4) << "max(4, 1)";
  EXPECT_EQ(GrownCapacity(0, 9), 9) << "max(4, 9)";
  EXPECT_EQ(GrownCapacity(4, 4), 4) << "no growth while the count fits";
  EXPECT_EQ(GrownCapacity(4, 5), 22) << "5 + 15 / 8 + 16 = 5 + 1 + 16";
  EXPECT_EQ(GrownCapacity(22, 23), 47) << "23 + 69 / 8 + 16 = 23 + 8 + 16";
  EXPECT_EQ(GrownCapacity(2'000'000'000, 2'000'000'001), 2'147'483'647)
      << "2'000'000'001 + 750'000'000 + 16 passes the largest int32";
}

class EngineArrayTest : public cktest::SimWorldTest {};

TEST_F(EngineArrayTest, AppendsGrowByTheRuleAndKeepTheElements) {
  TArray<int32> array{nullptr, 0, 0};
  std::vector<int32> capacities;
  for (int32 i = 0; i < 30; ++i) {
    AppendTrivial(array, i * 7);
    capacities.push_back(array.ArrayMax);
  }
  // By the rule above: the 1st element gives max(4, 1) = 4 slots, the 5th
  // 5 + 15 / 8 + 16 = 22, the 23rd 23 + 69 / 8 + 16 = 47, which hold all 30.
  EXPECT_EQ(capacities[0], 4);
  EXPECT_EQ(capacities[3], 4);
  EXPECT_EQ(capacities[4], 22);
  EXPECT_EQ(capacities[21], 22);
  EXPECT_EQ(capacities[22], 47);
  EXPECT_EQ(capacities[29], 47);
  for (int32 i = 0; i < 30; ++i) EXPECT_EQ(array[i], i * 7);
  ck::host::FreeArray(array);
  EXPECT_EQ(fw().memory.LiveBlocks(), 0);
}

}  // namespace
