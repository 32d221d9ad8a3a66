// Taking a failed capture's pod back out of the inventory: the game answers
// for an item id, not an item, and may keep what it reports removed; and
// whether the creature is still in the world must not hang on one read.
#include <gtest/gtest.h>

#include <optional>

#include "capture/capture_orchestration.h"
#include "capture/pod_take_back.h"
#include "host/engine/weak_pointer.h"
#include "support/capture_fixture.h"
#include "temporary_pods/custom_item_data.h"

namespace {

using ck::capture::CaptureAttachedCompanions;
using ck::capture::CreatureRemains;

constexpr const char* kVanilla = R"({"CaptureMode": "Vanilla"})";
constexpr const char* kDestroy = "APrimalDinoCharacter.Destroy(bool,bool)";
constexpr const char* kWeakGet = "FWeakObjectPtr.Get()";
constexpr const char* kReadFailed =
    "warn: Cradlekeep could not tell whether the podded companion left the world: injected fault: FWeakObjectPtr.Get()";

class PodTakeBackTest : public cktest::CaptureTest {
 protected:
  void FailNext(const char* key, simfw::FaultMode mode, bool repeat = false) {
    fw().faults.Arm({key, std::nullopt, mode, 1, repeat});
  }
};

// The player's own item listed first with the id the pod is given: the
// game's removal by that id would destroy the player's item and leave the
// pod. The pod is emptied where it is instead, and the item stays.
TEST_F(PodTakeBackTest, AnOwnItemCarryingThePodsIdIsNeverRemovedInItsPlace) {
  StartWorld(kVanilla, {{"mounted", "splash"}}, {Creature("splash")});
  sim::Item* own = game().NewItem(game().ClassNamed("PrimalItem"));
  Ava().inventory->Place(own);
  own->ItemID = game().NextItemId();  // the id the capture's pod will get
  FailNext(kDestroy, simfw::FaultMode::kFail);

  EXPECT_FALSE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));

  ASSERT_EQ(Items().size(), 2u) << "the player's own item is still there";
  EXPECT_EQ(Items()[0], own);
  sim::Item* pod = Items()[1];
  EXPECT_EQ(pod->ItemID.ItemID1, own->ItemID.ItemID1) << "the twin ids the test is about";
  EXPECT_EQ(pod->ItemID.ItemID2, own->ItemID.ItemID2);
  EXPECT_EQ(sim::PayloadCreature(pod), "") << "the pod left where it is holds nothing";
  EXPECT_EQ(Where("splash"), "world");
  EXPECT_TRUE(game().Duplicated().empty());
  EXPECT_TRUE(game().ArgsOf("UPrimalItem.RemoveFromSlot").empty()) << "the pod is not taken out of its slots either";
}

// An answered destroy is believed and nothing is read.
TEST_F(PodTakeBackTest, ADestroyThatAnsweredIsBelieved) {
  StartWorld(kVanilla, {}, {Creature("splash")});
  const FWeakObjectPtr ref = ck::host::MakeWeak(Dino("splash"));
  fw().faults.SetRecording(true);
  EXPECT_FALSE(CreatureRemains(true, ref));
  EXPECT_TRUE(CreatureRemains(false, ref));
  EXPECT_TRUE(fw().faults.Recorded().empty()) << "no read of the weak reference";
}

// A first read that fails must not pass for a creature gone: the second
// read finds it, and the failed read is told.
TEST_F(PodTakeBackTest, AFailedFirstReadIsReadAgain) {
  StartWorld(kVanilla, {}, {Creature("splash")});
  const FWeakObjectPtr ref = ck::host::MakeWeak(Dino("splash"));
  for (const simfw::FaultMode mode : {simfw::FaultMode::kThrow, simfw::FaultMode::kThrowUnknown}) {
    MarkTimeline();
    FailNext(kWeakGet, mode);
    EXPECT_TRUE(CreatureRemains(std::nullopt, ref)) << "the second read finds the creature in the world";
    ASSERT_EQ(Timeline().size(), 1u);
    if (mode == simfw::FaultMode::kThrow) {
      EXPECT_EQ(Timeline()[0], kReadFailed);
    }
  }
}

// A creature found at the first read is not read again; one that both
// reads miss counts as gone, each failed read told.
TEST_F(PodTakeBackTest, TwoReadsAtMost) {
  StartWorld(kVanilla, {}, {Creature("splash")});
  const FWeakObjectPtr ref = ck::host::MakeWeak(Dino("splash"));
  fw().faults.SetRecording(true);
  EXPECT_TRUE(CreatureRemains(std::nullopt, ref));
  EXPECT_EQ(fw().faults.Recorded().size(), 1u) << "one read";

  MarkTimeline();
  FailNext(kWeakGet, simfw::FaultMode::kThrow, /*repeat=*/true);
  EXPECT_FALSE(CreatureRemains(std::nullopt, ref));
  EXPECT_EQ(Timeline(), (std::vector<std::string>{kReadFailed, kReadFailed}));
  fw().faults.Clear();

  game().DestroyActor(game().FindCreature("splash")->actor());
  MarkTimeline();
  EXPECT_FALSE(CreatureRemains(std::nullopt, ref)) << "a creature gone is gone";
  EXPECT_TRUE(Timeline().empty());
}

}  // namespace
