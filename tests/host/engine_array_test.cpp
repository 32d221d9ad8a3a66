#include <gtest/gtest.h>

#include <limits>

#include "host/custom_item_record.h"
#include "host/engine_array.h"
#include "host/engine_text.h"
#include "support/sim_world.h"

namespace {

using ck::host::AppendCustomItemData;
using ck::host::AppendTrivial;
using ck::host::DestroyCustomItemData;
using ck::host::GrownCapacity;

TEST(GrowthRuleTest, FollowsTheEngineRule) {
  EXPECT_EQ(GrownCapacity(0, 1), 4);
  EXPECT_EQ(GrownCapacity(0, 9), 9);
  EXPECT_EQ(GrownCapacity(4, 4), 4) << "no growth while the count fits";
  EXPECT_EQ(GrownCapacity(4, 5), 5 + 15 / 8 + 16);
  EXPECT_EQ(GrownCapacity(22, 23), 23 + 69 / 8 + 16);
  EXPECT_EQ(GrownCapacity(2'000'000'000, 2'000'000'001), std::numeric_limits<int32>::max());
}

class EngineArrayTest : public cktest::SimWorldTest {};

TEST_F(EngineArrayTest, AppendsGrowByTheRuleAndKeepTheElements) {
  TArray<int32> array{nullptr, 0, 0};
  std::vector<int32> capacities;
  for (int32 i = 0; i < 30; ++i) {
    AppendTrivial(array, i * 7);
    capacities.push_back(array.ArrayMax);
  }
  EXPECT_EQ(capacities[0], 4);
  EXPECT_EQ(capacities[4], 22);
  EXPECT_EQ(capacities[22], 23 + 69 / 8 + 16);
  for (int32 i = 0; i < 30; ++i) EXPECT_EQ(array[i], i * 7);
  ck::host::FreeArray(array);
  EXPECT_EQ(fw().memory.LiveBlocks(), 0);
}

TEST_F(EngineArrayTest, CustomItemDataIsCopiedDeep) {
  FCustomItemData source{};
  source.CustomDataName = FName{5, 0};
  ck::host::AppendString(source.CustomDataStrings, *ck::host::MakeFString(u"Cradlekeep"));
  AppendTrivial(source.CustomDataFloats, 1.5f);
  AppendTrivial(source.CustomDataDoubles.Doubles, 2.5);
  auto* bytes = static_cast<FCustomItemByteArray*>(
      ck::host::AppendSlot(&source.CustomDataBytes.ByteArrays, sizeof(FCustomItemByteArray)));
  AppendTrivial(bytes->Bytes, static_cast<uint8>(9));

  TArray<FCustomItemData> items{nullptr, 0, 0};
  AppendCustomItemData(items, source);
  DestroyCustomItemData(source);  // the copy must not share anything with it

  ASSERT_EQ(items.Num(), 1);
  FCustomItemData& copy = items[0];
  EXPECT_EQ(copy.CustomDataName.ComparisonIndex, 5);
  ASSERT_EQ(copy.CustomDataStrings.Num(), 1);
  EXPECT_EQ(ck::host::FStringToUtf8(copy.CustomDataStrings[0]), "Cradlekeep");
  EXPECT_EQ(copy.CustomDataFloats[0], 1.5f);
  EXPECT_EQ(copy.CustomDataDoubles.Doubles[0], 2.5);
  EXPECT_EQ(copy.CustomDataBytes.ByteArrays[0].Bytes[0], 9);

  DestroyCustomItemData(copy);
  ck::host::FreeArray(items);
  EXPECT_EQ(fw().memory.LiveBlocks(), 0) << "every nested buffer was the copy's own";
}

}  // namespace
