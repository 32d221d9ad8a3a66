#include <gtest/gtest.h>

#include "sim/game/hooked_functions.h"
#include "support/capture_fixture.h"
#include "transfer/capture_cooldown.h"
#include "transfer/companion_discovery.h"
#include "transfer/trigger.h"

namespace {

using ck::transfer::CollectAttachedCompanions;

class DiscoveryTest : public cktest::CaptureTest {
 protected:
  void SetUp() override {
    CaptureTest::SetUp();
    StartWorld(R"({"CaptureMode": "Vanilla", "DebugLogging": true})", {{"riding", "rex"}, {"mounted", "splash"}},
               {Creature("rex", "Rex_Character_BP_C"), Creature("splash"), Creature("pip")});
    MarkTimeline();
  }
};

TEST_F(DiscoveryTest, RiddenFirstThenShoulderEachOnceAndMounted) {
  const auto list = CollectAttachedCompanions(Pawn());
  ASSERT_EQ(list.size(), 2u) << "the ridden creature is found twice but listed once";
  EXPECT_EQ(list[0].creature, Dino("rex"));
  EXPECT_EQ(list[1].creature, Dino("splash"));
  for (const auto& c : list) {
    EXPECT_TRUE(c.mounted);
    EXPECT_FALSE(c.carried);
    EXPECT_FALSE(c.secondary);
  }
  EXPECT_TRUE(CollectAttachedCompanions(nullptr).empty());
}

TEST_F(DiscoveryTest, ASecondaryMountedActorThatIsNoCreatureIsNotCollected) {
  Ava().pawn->RidingDino = FWeakObjectPtr{0, 0};
  Ava().pawn->MountedDino = FWeakObjectPtr{0, 0};
  sim::Actor* lamp = sim::Objects().Create<sim::Actor>(game().ClassNamed("Actor"), "Lamp");
  Ava().pawn->SecondaryMountedActor = sim::Objects().WeakOf(lamp);
  EXPECT_TRUE(CollectAttachedCompanions(Pawn()).empty());
}

TEST_F(DiscoveryTest, ClearingTheMountedSlotOfACreatureIsNotObserved) {
  Ava().controller->bIsTransferringCharacter = 1;
  sim::ClearMounted::Call(game().FindCreature("pip")->actor(), false, false);
  EXPECT_TRUE(Timeline().empty());
  EXPECT_EQ(Where("splash"), "slot");
  const auto* slot = fw().registry.Hookable("APrimalCharacter.ClearMountedDino(bool,bool)");
  EXPECT_EQ(slot->calls, slot->reached_game);
}

TEST_F(DiscoveryTest, APawnWithoutAnOwnerControllerIsNotCapturing) {
  Ava().controller->bIsTransferringCharacter = 1;
  Ava().pawn->owner_controller = nullptr;
  ck::transfer::ObserveShoulderDetach(reinterpret_cast<APrimalCharacter*>(Pawn()), "test", "mountedDetach", false, false);
  EXPECT_EQ(Timeline(),
            std::vector<std::string>{"info: Cradlekeep shoulder detach observed: test transferring=false "
                                     "uploadTerminal=false secondary=false companions=2 previous=actor=null"});
  EXPECT_EQ(Where("splash"), "slot");
}

TEST_F(DiscoveryTest, ADetachDuringTheCooldownStartsNoCaptureAndTheGameStillRuns) {
  Ava().controller->bIsTransferringCharacter = 1;
  ASSERT_TRUE(ck::transfer::PassesCaptureCooldown(Pawn())) << "the pawn starts cooling down";
  game().ClearSlot(Ava(), "mounted");
  EXPECT_EQ(Where("rex"), "world") << "the game dismounts the ridden creature first";
  EXPECT_EQ(Where("splash"), "slot");
  EXPECT_TRUE(fw().utils.Messages().empty());
}

}  // namespace
