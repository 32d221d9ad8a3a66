#include <gtest/gtest.h>

#include "host/custom_item_record.h"
#include "host/engine_array.h"
#include "sim/framework/engine_text.h"
#include "host/names.h"
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
  FCustomItemData& Entry(const char* name) {
    FCustomItemData entry{};
    entry.CustomDataName = ck::host::MakeName(name, FNAME_Add);
    ck::host::AppendCustomItemData(item_->CustomItemDatas, entry);
    return item_->CustomItemDatas[item_->CustomItemDatas.Num() - 1];
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

TEST_F(CustomItemDataTest, TheMarkerNameMustMatchExactly) {
  Entry("cradlekeeptemporarycryopod");
  EXPECT_FALSE(IsTemporaryPod(Item()));
  sim::AddMarker(item_);
  EXPECT_TRUE(IsTemporaryPod(Item()));
  EXPECT_FALSE(HasCreaturePayload(Item())) << "the marker's own string is no payload";
}

TEST_F(CustomItemDataTest, EveryArrayCountsAsPayload) {
  const auto one_element = [&](auto fill) {
    FCustomItemData& e = Entry("Dino");
    fill(e);
    const bool payload = EntryHasPayload(e);
    ck::host::DestroyCustomItemData(e);
    item_->CustomItemDatas.ArrayNum = 0;
    return payload;
  };
  EXPECT_TRUE(one_element([](FCustomItemData& e) { ck::host::AppendString(e.CustomDataStrings, simfw::FromUtf8("x")); }));
  EXPECT_TRUE(one_element([](FCustomItemData& e) { ck::host::AppendTrivial(e.CustomDataFloats, 1.0f); }));
  EXPECT_TRUE(one_element([](FCustomItemData& e) { ck::host::AppendTrivial(e.CustomDataObjects, (UObject*)nullptr); }));
  EXPECT_TRUE(one_element([](FCustomItemData& e) { ck::host::AppendTrivial(e.CustomDataClasses, (UClass*)nullptr); }));
  EXPECT_TRUE(one_element([](FCustomItemData& e) { ck::host::AppendTrivial(e.CustomDataNames, FName{1, 0}); }));
  EXPECT_TRUE(one_element([](FCustomItemData& e) { ck::host::AppendSlot(&e.CustomDataSoftClasses, sizeof(FSoftObjectPtr)); }));
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
  FCustomItemData data = sim::MakeCryoData("splash");
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

}  // namespace
