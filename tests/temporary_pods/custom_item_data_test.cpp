#include <gtest/gtest.h>

#include <cstring>

#include "host/engine/custom_item_record.h"
#include "host/engine/array.h"
#include "host/framework/engine_text.h"
#include "sim/framework/engine_text.h"
#include "host/engine/names.h"
#include "support/capture_fixture.h"
#include "temporary_pods/custom_item_data.h"

namespace {

using namespace ck::temporary_pods;

class CustomItemDataTest : public cktest::CaptureTest {
 protected:
  void SetUp() override {
    CaptureTest::SetUp();
    item_ = game().NewItem(game().ClassNamed(sim::Game::kVanillaCryopodClass));
  }
  // The item's records as the plugin sees them, where the plugin finds them.
  TArray<FCustomItemData>& Records() {
    return *ck::game::kItemCustomItemDatas.In(reinterpret_cast<UPrimalItem*>(item_));
  }
  FCustomItemData& Entry(const char* name) {
    const FName record_name = ck::host::MakeName(name, FNAME_Add);
    FCustomItemData& entry = ck::host::AppendEmptyRecord(Records());
    entry.CustomDataName = record_name;
    return entry;
  }
  UPrimalItem* Item() { return reinterpret_cast<UPrimalItem*>(item_); }
  sim::Item* item_ = nullptr;
};

TEST_F(CustomItemDataTest, AnItemWithoutEntries) {
  EXPECT_FALSE(IsTemporaryPod(Item()));
  EXPECT_FALSE(HasCreaturePayload(Item()));
  EXPECT_EQ(DescribeCustomItemData(Item()), "marker=false payload=false customData=[]");
  EXPECT_EQ(DescribeCustomItemData(nullptr), "item=null");
  EXPECT_FALSE(IsTemporaryPod(nullptr));
  EXPECT_FALSE(HasCreaturePayload(nullptr));
}

// The engine's names fold letter case and keep their first spelling: once
// the table met the marker's name in other letters, that spelling shares
// the marker name's comparison index and only its text tells it apart. A
// name of the marker's index with a number is another name too.
TEST_F(CustomItemDataTest, TheMarkerNameMustMatchExactly) {
  Entry("cradlekeeptemporarycryopod");
  ASSERT_EQ(ck::host::MakeName(kMarkerName, FNAME_Find).ComparisonIndex, Records()[0].CustomDataName.ComparisonIndex)
      << "one name to the engine";
  EXPECT_EQ(CustomDataEntryName(Records()[0]), "cradlekeeptemporarycryopod");
  EXPECT_FALSE(IsTemporaryPod(Item()));
  EXPECT_FALSE(MarkerTest().IsMarkerEntry(Records()[0]));
}

TEST_F(CustomItemDataTest, TheMarkerNameWithANumberIsNotTheMarker) {
  sim::AddMarker(item_);
  EXPECT_TRUE(IsTemporaryPod(Item()));
  EXPECT_FALSE(HasCreaturePayload(Item())) << "the marker's own string is no payload";
  const FName marker = Records()[0].CustomDataName;

  item_ = game().NewItem(game().ClassNamed(sim::Game::kVanillaCryopodClass));
  Entry(kMarkerName).CustomDataName = FName{marker.ComparisonIndex, 1};
  EXPECT_EQ(CustomDataEntryName(Records()[0]), std::string(kMarkerName) + "_0");
  EXPECT_FALSE(IsTemporaryPod(Item()));
  EXPECT_FALSE(MarkerTest().IsMarkerEntry(Records()[0]));
}

TEST_F(CustomItemDataTest, EveryArrayCountsAsPayload) {
  const auto one_element = [&](auto fill) {
    FCustomItemData& e = Entry("Dino");
    fill(e);
    const bool payload = EntryHasPayload(e);
    ck::host::ReleaseRecord(e);
    item_->CustomItemDatas.ArrayNum = 0;
    return payload;
  };
  EXPECT_TRUE(one_element([](FCustomItemData& e) { ck::host::AppendString(e.CustomDataStrings, simfw::FromUtf8("x")); }));
  EXPECT_TRUE(one_element([](FCustomItemData& e) { ck::host::AppendTrivial(e.CustomDataFloats, 1.0f); }));
  EXPECT_TRUE(one_element([](FCustomItemData& e) { ck::host::AppendTrivial(e.CustomDataObjects, (UObject*)nullptr); }));
  EXPECT_TRUE(one_element([](FCustomItemData& e) { ck::host::AppendTrivial(e.CustomDataClasses, (UClass*)nullptr); }));
  EXPECT_TRUE(one_element([](FCustomItemData& e) { ck::host::AppendTrivial(e.CustomDataNames, FName{1, 0}); }));
  EXPECT_TRUE(one_element([](FCustomItemData& e) {
    ck::host::AppendSlot(&e.CustomDataSoftClasses, sizeof(TSoftClassPtr<UObject>));
  }));
  EXPECT_TRUE(one_element([](FCustomItemData& e) { ck::host::AppendTrivial(e.UniquePaintingIdMap, FPaintingKeyValue{1, 2}); }));
  EXPECT_TRUE(one_element([](FCustomItemData& e) { ck::host::AppendTrivial(e.PaintingRevisionMap, FPaintingKeyValue{1, 2}); }));
  EXPECT_TRUE(one_element([](FCustomItemData& e) { ck::host::AppendTrivial(e.CustomDataDoubles.Doubles, 1.0); }));
  EXPECT_TRUE(one_element([](FCustomItemData& e) {
    ck::host::AppendSlot(&e.CustomDataBytes.ByteArrays, sizeof(FCustomItemByteArray));
    auto* second = static_cast<FCustomItemByteArray*>(ck::host::AppendSlot(&e.CustomDataBytes.ByteArrays, sizeof(FCustomItemByteArray)));
    ck::host::AppendTrivial(second->Bytes, static_cast<uint8>(1));
  }));
  EXPECT_FALSE(one_element([](FCustomItemData& e) {
    ck::host::AppendSlot(&e.CustomDataBytes.ByteArrays, sizeof(FCustomItemByteArray));
    ck::host::AppendSlot(&e.CustomDataBytes.ByteArrays, sizeof(FCustomItemByteArray));
  })) << "byte arrays that are all empty hold nothing";
  EXPECT_FALSE(one_element([](FCustomItemData&) {}));
}

TEST_F(CustomItemDataTest, APodWithoutTheMarkerStillHasPayload) {
  sim::CustomData data = sim::MakeCryoData("splash");
  sim::AppendCustomData(item_->CustomItemDatas, data);
  sim::DestroyCustomData(data);
  EXPECT_TRUE(HasCreaturePayload(Item()));
  EXPECT_FALSE(IsTemporaryPod(Item()));
  sim::AddMarker(item_);
  sim::EmptyCryoData(item_);
  EXPECT_FALSE(HasCreaturePayload(Item())) << "an emptied pod keeps only its marker's data";
  EXPECT_EQ(DescribeCustomItemData(Item()),
            "marker=true payload=false customData=[Dino s=0 f=0 o=0 c=0 n=0 b=0 d=0; "
            "CradlekeepTemporaryCryopod s=1 f=0 o=0 c=0 n=0 b=0 d=0]");
}

// A record the game made, with every kind of content the game puts in one
// (strings, soft class references, painting maps, byte arrays), is released
// to the last buffer: through the game's own move assignment, and by the
// record's layout when that call fails.
TEST_F(CustomItemDataTest, AGameMadeRecordIsReleasedWhole) {
  const int64 before = fw().memory.LiveBlocks();
  for (bool game_call_fails : {false, true}) {
    SCOPED_TRACE(game_call_fails ? "the game's move assignment fails" : "the game's move assignment runs");
    fw().faults.Clear();
    fw().faults.SetRecording(true);
    if (game_call_fails) {
      fw().faults.Arm({"FCustomItemData.operator=(FCustomItemData&&)", std::nullopt, simfw::FaultMode::kFail, 1,
                       false});
    }
    {
      ck::host::OwnedCustomItemData owned;
      sim::CustomData made = sim::MakeCryoData("splash");
      std::memcpy(static_cast<void*>(owned.get()), &made, sizeof(made));
      ASSERT_EQ(owned.get()->CustomDataSoftClasses.Num(), 1);
      EXPECT_EQ(ck::host::FStringToUtf8(owned.get()->CustomDataSoftClasses[0].SoftObjectPtr.ObjectID.SubPathString),
                "/Game/PrimalEarth/Dinos/Dodo/Dodo_Character_BP.Dodo_Character_BP_C");
      EXPECT_EQ(owned.get()->UniquePaintingIdMap.Num(), 1);
      EXPECT_GT(fw().memory.LiveBlocks(), before);
    }
    EXPECT_EQ(fw().memory.LiveBlocks(), before);
    int game_calls = 0;
    for (const simfw::FaultableCall& call : fw().faults.Recorded()) {
      game_calls += call.key == "FCustomItemData.operator=(FCustomItemData&&)";
    }
    EXPECT_EQ(game_calls, 1);
    EXPECT_EQ(fw().faults.Injected(), game_call_fails ? 1u : 0u);
  }
}

}  // namespace
