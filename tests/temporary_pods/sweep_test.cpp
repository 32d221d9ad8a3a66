#include <gtest/gtest.h>

#include "sim/game/engine_arrays.h"
#include "support/capture_fixture.h"
#include "temporary_pods/inventory_sweep.h"

namespace {

using namespace ck::temporary_pods;

class SweepTest : public cktest::CaptureTest {
 protected:
  void SetUp() override {
    CaptureTest::SetUp();
    StartWorld("{}", {}, {});
  }
  sim::Item* Pod(bool marked, bool filled) {
    sim::Item* item = game().NewItem(game().ClassNamed(sim::Game::kVanillaCryopodClass));
    if (filled) {
      sim::CustomData data = sim::MakeCryoData("x");
      sim::AppendCustomData(item->CustomItemDatas, data);
      sim::DestroyCustomData(data);
    }
    if (marked) sim::AddMarker(item);
    Ava().inventory->Place(item);
    return item;
  }
  UPrimalInventoryComponent* Inv() { return reinterpret_cast<UPrimalInventoryComponent*>(Ava().inventory); }
  UPrimalItem* As(sim::Item* item) { return reinterpret_cast<UPrimalItem*>(item); }
};

TEST_F(SweepTest, RemovesOnlyEmptiedTemporaryPodsIncludingNeighbours) {
  sim::Item* filled = Pod(true, true);
  Pod(true, false);
  Pod(true, false);
  sim::Item* unmarked = Pod(false, false);
  sim::AppendToEngineArray(Ava().inventory->InventoryItems, static_cast<sim::Item*>(nullptr));
  Pod(true, false);
  EXPECT_EQ(SweepEmptyTemporaryPods(Inv()), 3);
  ASSERT_EQ(Ava().inventory->InventoryItems.Num(), 3);
  EXPECT_EQ(Ava().inventory->InventoryItems[0], filled);
  EXPECT_EQ(Ava().inventory->InventoryItems[1], unmarked);
  EXPECT_EQ(Ava().inventory->InventoryItems[2], nullptr);
  EXPECT_EQ(SweepEmptyTemporaryPods(nullptr), 0);
}

int RemoveCalls(simfw::Framework& fw) {
  int calls = 0;
  for (const auto& call : fw.faults.Recorded()) {
    calls += call.key == "UPrimalInventoryComponent.RemoveItem(FItemNetID&,bool,bool,bool,bool)";
  }
  return calls;
}

// The game may answer true and keep the item: the sweep moves past it (it
// used to ask again at the same place for ever, and the game thread spun).
TEST_F(SweepTest, APodTheGameReportsRemovedButKeepsIsPassedOver) {
  sim::Item* kept = Pod(true, false);
  kept->removal_ignored = true;
  sim::Item* filled = Pod(true, true);
  Pod(true, false);
  fw().faults.SetRecording(true);
  EXPECT_EQ(SweepEmptyTemporaryPods(Inv()), 1) << "only the pod that left counts";
  EXPECT_EQ(Items(), (std::vector<sim::Item*>{kept, filled}));
  EXPECT_EQ(RemoveCalls(fw()), 2) << "one request for each emptied pod";
}

// Item ids are not always unique. The game removes the first item carrying
// an id, so a pod whose id an earlier item carries stays: asking would have
// taken the player's own pod, and its creature with it.
TEST_F(SweepTest, APodWhoseIdAnEarlierItemCarriesStays) {
  sim::Item* own = Pod(false, true);
  sim::Item* twin = Pod(true, false);
  twin->ItemID = own->ItemID;
  Pod(true, false);  // an emptied pod of its own id after it still goes
  fw().faults.SetRecording(true);
  EXPECT_EQ(SweepEmptyTemporaryPods(Inv()), 1);
  EXPECT_EQ(Items(), (std::vector<sim::Item*>{own, twin}));
  EXPECT_EQ(RemoveCalls(fw()), 1) << "only for the pod whose id leads to it";
  EXPECT_FALSE(RemoveItemObject(Inv(), As(twin))) << "by the object, the game would still go by the id";
  EXPECT_EQ(Items().size(), 2u);
}

// Whoever asks, only an emptied pod that carries the marker ever leaves.
TEST_F(SweepTest, NothingButAnEmptiedTemporaryPodEverLeaves) {
  sim::Item* unmarked = Pod(false, false);
  sim::Item* filled = Pod(true, true);
  fw().faults.SetRecording(true);
  EXPECT_FALSE(RemoveItemById(Inv(), unmarked->ItemID));
  EXPECT_FALSE(RemoveItemObject(Inv(), As(unmarked)));
  EXPECT_FALSE(RemoveItemById(Inv(), filled->ItemID));
  EXPECT_FALSE(RemoveItemObject(Inv(), As(filled)));
  EXPECT_EQ(RemoveCalls(fw()), 0);
  EXPECT_EQ(Items(), (std::vector<sim::Item*>{unmarked, filled}));
}

TEST_F(SweepTest, RemovalClearsEverySlotEntryAndKeepsTheSlotBarLength) {
  sim::Item* pod = Pod(true, false);
  Ava().inventory->ItemSlots[2] = pod;
  Ava().inventory->ItemSlots[7] = pod;
  EXPECT_TRUE(RemoveItemById(Inv(), pod->ItemID));
  EXPECT_EQ(Ava().inventory->ItemSlots.Num(), sim::Inventory::kSlotBarSize);
  for (sim::Item* slot : Ava().inventory->ItemSlots) EXPECT_EQ(slot, nullptr);
  EXPECT_EQ(game().ArgsOf("UPrimalItem.RemoveFromSlot").size(), 1u);
}

TEST_F(SweepTest, RemovingAGivenPodClearsItsSlotEntriesToo) {
  sim::Item* pod = Pod(true, false);
  Ava().inventory->ItemSlots[4] = pod;
  EXPECT_TRUE(RemoveItemObject(Inv(), As(pod)));
  for (sim::Item* slot : Ava().inventory->ItemSlots) EXPECT_EQ(slot, nullptr) << "no slot points at the removed pod";
  EXPECT_EQ(game().ArgsOf("UPrimalItem.RemoveFromSlot").size(), 1u) << "taken out of its slot the game's way first";
}

TEST_F(SweepTest, AnUnknownIdCallsNoGameFunction) {
  fw().faults.SetRecording(true);
  EXPECT_FALSE(RemoveItemById(Inv(), FItemNetID{999, 999}));
  for (const auto& call : fw().faults.Recorded()) {
    EXPECT_NE(call.key.rfind("UPrimalInventoryComponent.RemoveItem", 0), 0u);
    EXPECT_NE(call.key, "UPrimalItem.RemoveFromSlot(bool,bool)");
  }
}

TEST_F(SweepTest, AnItemListedOnlyAmongTributeItemsIsRemovedFromThem) {
  sim::Item* pod = game().NewItem(game().ClassNamed(sim::Game::kVanillaCryopodClass));
  sim::AddMarker(pod);
  for (int i = 0; i < 3; ++i) sim::AppendToEngineArray(Ava().inventory->ArkTributeItems, pod);
  sim::Item* other = Pod(false, false);
  sim::AppendToEngineArray(Ava().inventory->ArkTributeItems, other);
  EXPECT_TRUE(InventoryListsItem(Inv(), As(pod)));
  fw().faults.SetRecording(true);
  RemoveItemObject(Inv(), As(pod));  // the game's answer for an item it no longer lists
  int remove_calls = 0;
  for (const auto& call : fw().faults.Recorded()) {
    remove_calls += call.key == "UPrimalInventoryComponent.RemoveItem(FItemNetID&,bool,bool,bool,bool)";
  }
  EXPECT_EQ(remove_calls, 1) << "the game is asked to remove it by its id";
  ASSERT_EQ(Ava().inventory->ArkTributeItems.Num(), 1);
  EXPECT_EQ(Ava().inventory->ArkTributeItems[0], other);
  EXPECT_FALSE(RemoveItemObject(Inv(), As(pod))) << "no longer listed";
  EXPECT_FALSE(RemoveItemObject(nullptr, As(other)));
}

TEST(ShrinkRuleTest, FollowsTheEngineRule) {
  EXPECT_EQ(ShrunkCapacity(0, 4), 0) << "an empty array gives its storage back";
  EXPECT_EQ(ShrunkCapacity(3, 4), 4) << "too little spare room";
  EXPECT_EQ(ShrunkCapacity(10, 100), 10);
  EXPECT_EQ(ShrunkCapacity(60, 100), 100) << "3n is not below 2m";
  EXPECT_EQ(ShrunkCapacity(30, 94), 94) << "spare room of 64 is not above 64";
  EXPECT_EQ(ShrunkCapacity(30, 95), 30);
  EXPECT_EQ(ShrunkCapacity(30, 60), 60) << "spare room of 30 is not above 64";
  EXPECT_EQ(ShrunkCapacity(5000, 7100), 5000) << "2048 spare entries are enough";
}

}  // namespace
