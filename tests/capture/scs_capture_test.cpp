#include <gtest/gtest.h>

#include <algorithm>

#include "capture/capture_orchestration.h"
#include "capture/scs_capture.h"
#include "support/capture_fixture.h"

namespace {

using ck::capture::CaptureAttachedCompanions;

constexpr const char* kFailed = "message: Cradle Keep failed to pod your shoulder pet. Check the server log.";

class ScsCaptureTest : public cktest::CaptureTest {
 protected:
  void StartScs(const std::string& config = "{}", int capture_actors = 1, sim::ServerSettings server = {}) {
    game_.reset();
    game_ = std::make_unique<sim::Game>(server, sim::ModSettings{true, capture_actors});
    StartWorld(config, {{"mounted", "splash"}}, {Creature("splash", "Otter_Character_BP_C", "Splash")});
    MarkTimeline();
  }
  std::size_t PodsCreated() { return game().ArgsOf("UPrimalItem.AddNewItem").size(); }
  // Where in the recorded calls a function was first called.
  std::ptrdiff_t FirstCall(const std::string& key) {
    const auto& calls = fw().faults.Recorded();
    return std::find_if(calls.begin(), calls.end(), [&](const auto& call) { return call.key == key; }) - calls.begin();
  }
};

constexpr const char* kNotPlaced = "warn: Cradlekeep could not add SCS pod to player inventory; the companion was not captured";
constexpr const char* kProcessEvent = "AActor.ProcessEvent(UFunction*,void*)";

TEST_F(ScsCaptureTest, TheModCapturesTheCompanionIntoAPodInTheInventory) {
  StartScs();
  ASSERT_TRUE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  ASSERT_EQ(Items().size(), 1u);
  EXPECT_EQ(Items()[0]->ClassPrivate->Name(), sim::Game::kScsCryopodClass);
  EXPECT_EQ(Where("splash"), "pod");
  EXPECT_EQ(game().SlotCreature(Ava(), "mounted"), nullptr);
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Prepared for transfer: Splash (cryopod)."});
  ASSERT_EQ(game().ArgsOf("CaptureDino").size(), 1u);
  EXPECT_EQ(game().ArgsOf("CaptureDino")[0], "splash," + Items()[0]->Name() + ",0,1,000000")
      << "the creature, the pod, the flags false and true, six zero bytes";
}

TEST_F(ScsCaptureTest, WithoutSlotClearingThePodIsPlacedAndTheSlotStays) {
  StartScs(R"({"ClearShoulderMountAfterCapture": false})");
  ASSERT_TRUE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  EXPECT_EQ(game().ArgsOf("APrimalCharacter.ClearMountedDino"), std::vector<std::string>{"false,false"})
      << "the only clearing is the game's own, when the mod takes the creature";
  EXPECT_EQ(Items().size(), 1u);
}

TEST_F(ScsCaptureTest, NoCaptureActorInTheWorldFailsQuietlyButStillMakesAPod) {
  StartScs("{}", 0);
  EXPECT_FALSE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  EXPECT_EQ(Timeline(), std::vector<std::string>{kFailed});
  EXPECT_EQ(PodsCreated(), 1u);
  EXPECT_EQ(Where("splash"), "slot");
}

TEST_F(ScsCaptureTest, TheFirstOfTwoCaptureActorsIsUsed) {
  StartScs("{}", 2);
  ASSERT_TRUE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  EXPECT_EQ(Where("splash"), "pod");
}

TEST_F(ScsCaptureTest, ACaptureActorClassThatDoesNotLoadIsLoggedEveryTime) {
  StartScs(R"({"ScsCaptureActorBlueprint": "Blueprint'/SCS/Missing.Missing'"})");
  EXPECT_FALSE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  EXPECT_FALSE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  const std::string warn = "warn: Cradlekeep failed to load SCS capture actor class: Blueprint'/SCS/Missing.Missing'";
  EXPECT_EQ(Timeline(), (std::vector<std::string>{warn, kFailed, warn, kFailed}));
}

TEST_F(ScsCaptureTest, BothClassesFailingLogBothCaptureActorFirst) {
  StartScs(R"({"ScsCaptureActorBlueprint": "A", "ScsCryopodBlueprint": "B"})");
  EXPECT_FALSE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  EXPECT_EQ(Timeline(), (std::vector<std::string>{"warn: Cradlekeep failed to load SCS capture actor class: A",
                                                  "warn: Cradlekeep failed to load SCS cryopod class: B", kFailed}));
  EXPECT_EQ(PodsCreated(), 0u);
}

TEST_F(ScsCaptureTest, ThePodNotCreatedFailsWithoutALogLine) {
  StartScs();
  fw().faults.Arm({"UPrimalItem.AddNewItem(TSubclassOf<UPrimalItem>,UPrimalInventoryComponent*,bool,bool,float,bool,"
                   "int,bool,float,bool,TSubclassOf<UPrimalItem>,float,bool,bool,bool,bool,bool,bool,UWorld*)",
                   std::nullopt, simfw::FaultMode::kFail, 1, false});
  EXPECT_FALSE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  EXPECT_EQ(Timeline(), std::vector<std::string>{kFailed});
}

TEST_F(ScsCaptureTest, AnActorWithoutCaptureDinoIsLoggedAndTheSlotStays) {
  StartScs();
  fw().faults.Arm({"UClass.FindFunctionByName(FName,EIncludeSuperFlag::Type)", std::nullopt, simfw::FaultMode::kFail,
                   1, false});
  EXPECT_FALSE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  EXPECT_EQ(Timeline(),
            (std::vector<std::string>{"warn: Cradlekeep SCS capture actor has no CaptureDino function", kFailed}));
  EXPECT_EQ(Where("splash"), "slot");
}

TEST_F(ScsCaptureTest, NoWorldFailsWithoutALogLine) {
  StartScs();
  fw().utils.SetWorld(nullptr);
  EXPECT_FALSE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  EXPECT_EQ(Timeline(), std::vector<std::string>{kFailed});
  fw().utils.SetWorld(reinterpret_cast<UWorld*>(game().world()));
}

TEST_F(ScsCaptureTest, APodThatCannotBePlacedIsReportedBeforeTheMessageAndTheCompanionStays) {
  StartScs();
  Ava().inventory->InventoryFlags = 0;
  fw().faults.Arm({"UPrimalItem.AddToInventory(UPrimalInventoryComponent*,bool,bool,FItemNetID*,bool,bool,bool,bool,"
                   "bool,bool)",
                   std::nullopt, simfw::FaultMode::kFail, 1, false});
  EXPECT_FALSE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  EXPECT_EQ(Timeline(),
            (std::vector<std::string>{kNotPlaced, kFailed}));
  // The mod never got the creature: a pod with nowhere to go holds nothing.
  EXPECT_EQ(game().SlotCreature(Ava(), "mounted"), game().FindCreature("splash")->actor());
  EXPECT_EQ(Where("splash"), "slot");
  EXPECT_TRUE(game().ArgsOf("CaptureDino").empty());
  EXPECT_TRUE(game().ArgsOf("APrimalCharacter.ClearMountedDino").empty());
  EXPECT_TRUE(Items().empty());
  EXPECT_TRUE(game().Lost().empty());
}

TEST_F(ScsCaptureTest, AFullInventoryKeepsTheCompanionOnItsShoulder) {
  StartScs();
  Ava().inventory->item_limit = 0;
  EXPECT_FALSE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  EXPECT_EQ(Timeline(), (std::vector<std::string>{kNotPlaced, kFailed}));
  EXPECT_EQ(game().SlotCreature(Ava(), "mounted"), game().FindCreature("splash")->actor());
  EXPECT_TRUE(game().ArgsOf("CaptureDino").empty());
  EXPECT_TRUE(Items().empty());
  EXPECT_EQ(PodsCreated(), 1u) << "the empty pod is left to the engine";
  EXPECT_TRUE(game().Lost().empty());
}

TEST_F(ScsCaptureTest, AFullInventoryUnderTheTransferLockKeepsTheCompanionAndTheLock) {
  StartScs();
  Ava().inventory->item_limit = 0;
  Ava().controller->bIsTransferringCharacter = 1;
  Ava().expected_transferring = 1;
  EXPECT_FALSE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  EXPECT_EQ(Timeline(), (std::vector<std::string>{kNotPlaced, kFailed}));
  EXPECT_EQ(game().ArgsOf("UPrimalInventoryComponent.AddItemObjectEx").size(), 1u);
  EXPECT_EQ(game().ArgsOf("UPrimalItem.AddToInventory").size(), 1u);
  EXPECT_EQ(Where("splash"), "slot");
  EXPECT_TRUE(game().LockViolations().empty());
}

TEST_F(ScsCaptureTest, AForcedAddThatPassesTheLimitTakesThePodAndTheCompanion) {
  sim::ServerSettings server;
  server.forced_add_ignores_limit = true;
  StartScs("{}", 1, server);
  Ava().inventory->item_limit = 0;
  ASSERT_TRUE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  ASSERT_EQ(Items().size(), 1u);
  EXPECT_EQ(sim::PayloadCreature(Items()[0]), "splash");
  EXPECT_EQ(Where("splash"), "pod");
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Prepared for transfer: Splash (cryopod)."});
}

TEST_F(ScsCaptureTest, TheEmptyPodIsInTheInventoryBeforeTheModCapturesIntoIt) {
  StartScs();
  fw().faults.SetRecording(true);
  ASSERT_TRUE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  EXPECT_LT(FirstCall("UPrimalInventoryComponent.AddItemObject(UPrimalItem*)"), FirstCall(kProcessEvent));
  EXPECT_LT(FirstCall(kProcessEvent), FirstCall("APrimalCharacter.ClearMountedDino(bool,bool)"))
      << "the slot is cleared once the creature is in its pod";
  EXPECT_EQ(game().ArgsOf("UPrimalItem.UpdatedItem"), std::vector<std::string>{Items()[0]->Name()});
  EXPECT_EQ(Ava().inventory->refreshes, 1);
}

TEST_F(ScsCaptureTest, AnInventoryThatPlacesAnotherItemGetsTheCreatureInTheItemItHolds) {
  StartScs();
  Ava().inventory->adds_replace_item = true;
  ASSERT_TRUE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  ASSERT_EQ(Items().size(), 1u);
  EXPECT_EQ(game().ArgsOf("CaptureDino"), std::vector<std::string>{"splash," + Items()[0]->Name() + ",0,1,000000"});
  EXPECT_EQ(sim::PayloadCreature(Items()[0]), "splash");
  EXPECT_EQ(Where("splash"), "pod");
}

TEST_F(ScsCaptureTest, ACaptureDinoThatThrowsLeavesTheCompanionAndTakesItsEmptyPodBack) {
  StartScs();
  fw().faults.Arm({kProcessEvent, std::nullopt, simfw::FaultMode::kThrow, 1, false});
  EXPECT_THROW(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}), std::runtime_error);
  EXPECT_EQ(Where("splash"), "slot");
  EXPECT_TRUE(Items().empty()) << "the pod the mod never filled is out of the inventory again";
  EXPECT_EQ(JournalLines().size(), 1u);
  EXPECT_TRUE(game().ArgsOf("APrimalCharacter.ClearMountedDino").empty());
}

TEST_F(ScsCaptureTest, AModThatTakesNothingWithoutAFailureIsToldAndItsEmptyPodGoesBack) {
  StartScs();
  // The game answers the mod's call and the mod does nothing.
  fw().faults.Arm({kProcessEvent, std::nullopt, simfw::FaultMode::kFail, 1, false});
  CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")});
  EXPECT_EQ(Where("splash"), "slot");
  EXPECT_TRUE(Items().empty()) << "the pod the mod never filled is out of the inventory again";
  const auto lines = Lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      "Cradlekeep the cryopod mod did not take the companion; its empty pod was taken back out"),
            lines.end());
  ASSERT_EQ(JournalLines().size(), 1u);
  EXPECT_NE(JournalLines()[0].find("outcome=left"), std::string::npos) << JournalLines()[0];
  EXPECT_NE(JournalLines()[0].find("reason=\"the cryopod mod did not take the creature\""), std::string::npos);
}

TEST_F(ScsCaptureTest, AnInsertionThatThrowsComesBeforeTheCaptureAndLeavesTheCompanion) {
  StartScs();
  fw().faults.Arm({"UPrimalInventoryComponent.AddItemObject(UPrimalItem*)", std::nullopt, simfw::FaultMode::kThrow, 1,
                   false});
  fw().faults.Arm({"FWeakObjectPtr.Get()", std::nullopt, simfw::FaultMode::kThrow, 1, false});
  EXPECT_THROW(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}), std::runtime_error);
  EXPECT_EQ(Where("splash"), "slot");
  EXPECT_TRUE(game().ArgsOf("CaptureDino").empty());
  EXPECT_TRUE(game().Lost().empty());
}

TEST_F(ScsCaptureTest, ASlotClearingThatThrowsStillPutsTheFilledPodInTheInventory) {
  StartScs();
  // The first clearing is the game's own, when the mod takes the creature;
  // the second is the plugin's.
  fw().faults.Arm({"APrimalCharacter.ClearMountedDino(bool,bool)", std::nullopt, simfw::FaultMode::kThrow, 2, false});
  EXPECT_THROW(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}), std::runtime_error);
  EXPECT_EQ(Where("splash"), "pod") << "the creature the mod took is in the player's inventory, not lost";
}

TEST_F(ScsCaptureTest, ClassesAreLoadedAfreshAfterAReload) {
  StartScs();
  ASSERT_TRUE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  Stop();
  fw().faults.SetRecording(true);
  sim::CreatureSpec other = Creature("pip");
  game().AddCreature(other);
  game().SetSlot(Ava(), "mounted", game().FindCreature("pip")->actor());
  Start();
  ASSERT_TRUE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("pip")}));
  int loads = 0;
  for (const auto& call : fw().faults.Recorded()) loads += call.key == "UVictoryCore.StringReferenceToClass(FString&)";
  EXPECT_EQ(loads, 2) << "the pod class and the capture actor class";
}

}  // namespace
