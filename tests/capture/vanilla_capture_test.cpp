#include <gtest/gtest.h>

#include <algorithm>

#include "capture/capture_orchestration.h"
#include "capture/inventory_insertion.h"
#include "capture/vanilla_capture.h"
#include "support/capture_fixture.h"
#include "temporary_pods/custom_item_data.h"

namespace {

using ck::capture::CaptureAttachedCompanions;
using ck::capture::CaptureWithVanillaCryopod;
using ck::temporary_pods::DescribeCustomItemData;
using ck::temporary_pods::HasCreaturePayload;
using ck::temporary_pods::IsTemporaryPod;

constexpr const char* kVanilla = R"({"CaptureMode": "Vanilla"})";
constexpr const char* kFailedText = "Cradle Keep failed to pod your shoulder pet. Check the server log.";

UPrimalItem* AsItem(sim::Item* item) { return reinterpret_cast<UPrimalItem*>(item); }

class VanillaCaptureTest : public cktest::CaptureTest {};

TEST_F(VanillaCaptureTest, TheCompanionBecomesAMarkedUploadablePodAndLeavesTheWorld) {
  StartWorld(kVanilla, {{"mounted", "splash"}}, {Creature("splash", "Otter_Character_BP_C", "Splash")});
  fw().faults.SetRecording(true);
  ASSERT_TRUE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));

  ASSERT_EQ(Items().size(), 1u);
  sim::Item* pod = Items()[0];
  EXPECT_EQ(pod->ClassPrivate->Name(), sim::Game::kVanillaCryopodClass);
  EXPECT_EQ(sim::PayloadCreature(pod), "splash");
  EXPECT_TRUE(IsTemporaryPod(AsItem(pod)));
  EXPECT_TRUE(game().IsReadyToUpload(pod)) << "uploadable at once";
  EXPECT_EQ(Where("splash"), "pod");
  EXPECT_EQ(game().SlotCreature(Ava(), "mounted"), nullptr);
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Prepared for transfer: Splash (cryopod)."});
  EXPECT_EQ(game().ArgsOf("APrimalCharacter.ClearMountedDino"), std::vector<std::string>{"false,false"});

  // The creature is destroyed only after its pod is in the inventory, and
  // the slot is cleared just before.
  std::vector<std::string> calls;
  for (const auto& call : fw().faults.Recorded()) calls.push_back(call.key);
  const auto at = [&](const std::string& key) {
    return std::find(calls.begin(), calls.end(), key) - calls.begin();
  };
  EXPECT_LT(at("UPrimalInventoryComponent.AddItemObject(UPrimalItem*)"), at("APrimalCharacter.ClearMountedDino(bool,bool)"));
  EXPECT_LT(at("APrimalCharacter.ClearMountedDino(bool,bool)"), at("APrimalDinoCharacter.Destroy(bool,bool)"));
  EXPECT_LT(at("UPrimalItem.SetCustomItemData(FCustomItemData&)"), at("UPrimalItem.UpdatedItem(bool,bool)"))
      << "the marker follows the payload";
}

TEST_F(VanillaCaptureTest, TheItemIsMadeWithTheNineteenArguments) {
  StartWorld(kVanilla, {{"mounted", "splash"}}, {Creature("splash")});
  ASSERT_TRUE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  EXPECT_EQ(game().ArgsOf("UPrimalItem.AddNewItem"),
            std::vector<std::string>{std::string(sim::Game::kVanillaCryopodClass) +
                                     ",null,false,false,0,false,0,false,0,false,null,0,false,false,true,false,false,"
                                     "false,world"});
}

TEST_F(VanillaCaptureTest, TheMarkerHasItsExactContentAndASecondMarkingAddsNothing) {
  StartWorld(kVanilla, {{"mounted", "splash"}}, {Creature("splash")});
  ASSERT_TRUE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  sim::Item* pod = Items()[0];
  EXPECT_EQ(DescribeCustomItemData(AsItem(pod)),
            "marker=true payload=true customData=[Dino s=2 f=1 o=0 c=0 n=1 b=1 d=1; "
            "CradlekeepTemporaryCryopod s=1 f=0 o=0 c=0 n=0 b=0 d=0]");
  const sim::CustomData& marker = pod->CustomItemDatas[1];
  EXPECT_EQ(sim::NameOf(marker), "CradlekeepTemporaryCryopod");
  ASSERT_EQ(marker.CustomDataStrings.ArrayNum, 1);
  EXPECT_EQ(sim::TextOf(marker.CustomDataStrings[0]), "Cradlekeep");
  EXPECT_EQ(marker.CustomDataSoftClasses.ArrayNum + marker.UniquePaintingIdMap.ArrayNum +
                marker.PaintingRevisionMap.ArrayNum + marker.CustomDataBytes.ByteArrays.ArrayNum,
            0);
  ck::temporary_pods::MarkTemporaryPod(AsItem(pod));
  EXPECT_EQ(pod->CustomItemDatas.ArrayNum, 2);
}

TEST_F(VanillaCaptureTest, WithoutTemporaryPodsThereIsNoMarkerButTheUploadTimeIsStillReset) {
  StartWorld(R"({"CaptureMode": "cryo", "TemporaryVanillaCryopods": false})", {{"mounted", "splash"}},
             {Creature("splash")});
  ASSERT_TRUE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  EXPECT_FALSE(IsTemporaryPod(AsItem(Items()[0])));
  EXPECT_TRUE(HasCreaturePayload(AsItem(Items()[0])));
  EXPECT_EQ(Items()[0]->UploadEarliestValidTime, 0.0);
}

TEST_F(VanillaCaptureTest, WithoutSlotClearingTheCreatureIsDestroyedAllTheSame) {
  StartWorld(R"({"CaptureMode": "cryo", "ClearShoulderMountAfterCapture": false})", {{"mounted", "splash"}},
             {Creature("splash")});
  ASSERT_TRUE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  EXPECT_EQ(game().ArgsOf("APrimalCharacter.ClearMountedDino"), std::vector<std::string>{"false,false"})
      << "the only clearing is the game's own, when the creature is destroyed";
  EXPECT_EQ(Where("splash"), "pod");
}

TEST_F(VanillaCaptureTest, TheSecondOfTwoCompanionsFailingLeavesItInTheWorld) {
  StartWorld(kVanilla, {{"riding", "rex"}, {"mounted", "splash"}},
             {Creature("rex", "Rex_Character_BP_C", "Rex"), Creature("splash", "Otter_Character_BP_C", "Splash")});
  fw().faults.Arm({"UVictoryCore.GetCryoDinoData(UObject*,APrimalDinoCharacter*)", std::nullopt,
                   simfw::FaultMode::kFail, 2, false});
  MarkTimeline();
  EXPECT_FALSE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("rex"), Companion("splash")}));
  EXPECT_EQ(Timeline(), (std::vector<std::string>{"message: Prepared for transfer: Rex (cryopod).",
                                                  "warn: Cradlekeep failed to build vanilla cryopod dino data",
                                                  std::string("message: ") + kFailedText}));
  EXPECT_EQ(Where("rex"), "pod");
  EXPECT_EQ(Where("splash"), "slot") << "the failed companion stays where it was";
}

TEST_F(VanillaCaptureTest, AClassThatDoesNotLoadIsLoggedBeforeTheMessageAndTriedAgainNextTime) {
  StartWorld(R"({"CaptureMode": "Vanilla", "VanillaCryopodBlueprint": "Blueprint'/Game/Nope.Nope'"})",
             {{"mounted", "splash"}}, {Creature("splash")});
  MarkTimeline();
  EXPECT_FALSE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  EXPECT_FALSE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  const std::string warn = "warn: Cradlekeep failed to load vanilla cryopod class: Blueprint'/Game/Nope.Nope'";
  EXPECT_EQ(Timeline(), (std::vector<std::string>{warn, std::string("message: ") + kFailedText, warn,
                                                  std::string("message: ") + kFailedText}));
  EXPECT_TRUE(game().ArgsOf("UPrimalItem.AddNewItem").empty()) << "no item is created";
  EXPECT_EQ(Where("splash"), "slot");
}

TEST_F(VanillaCaptureTest, AnItemThatIsNotCreatedIsReportedWithoutALogLine) {
  StartWorld(kVanilla, {{"mounted", "splash"}}, {Creature("splash")});
  fw().faults.Arm({"UPrimalItem.AddNewItem(TSubclassOf<UPrimalItem>,UPrimalInventoryComponent*,bool,bool,float,bool,"
                   "int,bool,float,bool,TSubclassOf<UPrimalItem>,float,bool,bool,bool,bool,bool,bool,UWorld*)",
                   std::nullopt, simfw::FaultMode::kFail, 1, false});
  MarkTimeline();
  EXPECT_FALSE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  EXPECT_EQ(Timeline(), std::vector<std::string>{std::string("message: ") + kFailedText});
  EXPECT_EQ(Where("splash"), "slot");
}

TEST_F(VanillaCaptureTest, NoWorldMeansNoItem) {
  StartWorld(kVanilla, {{"mounted", "splash"}}, {Creature("splash")});
  fw().utils.SetWorld(nullptr);
  EXPECT_FALSE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  EXPECT_TRUE(game().ArgsOf("UPrimalItem.AddNewItem").empty());
  fw().utils.SetWorld(reinterpret_cast<UWorld*>(game().world()));
}

TEST_F(VanillaCaptureTest, APodThatCannotBePlacedLeavesCreatureAndSlotUntouched) {
  StartWorld(kVanilla, {{"mounted", "splash"}}, {Creature("splash")});
  Ava().inventory->InventoryFlags = 0;  // refuses every add
  fw().faults.Arm({"UPrimalItem.AddToInventory(UPrimalInventoryComponent*,bool,bool,FItemNetID*,bool,bool,bool,bool,"
                   "bool,bool)",
                   std::nullopt, simfw::FaultMode::kFail, 1, false});
  MarkTimeline();
  EXPECT_FALSE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  EXPECT_EQ(Timeline(),
            (std::vector<std::string>{"warn: Cradlekeep captured dino data but failed to add vanilla cryopod to "
                                      "player inventory",
                                      std::string("message: ") + kFailedText}));
  EXPECT_EQ(Where("splash"), "slot");
  EXPECT_EQ(Ava().inventory->InventoryFlags, 0u) << "the lock is restored";
}

TEST_F(VanillaCaptureTest, AFullInventoryLeavesCreatureAndSlotUntouched) {
  StartWorld(kVanilla, {{"mounted", "splash"}}, {Creature("splash")});
  Ava().inventory->item_limit = 0;
  MarkTimeline();
  EXPECT_FALSE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  EXPECT_EQ(Timeline(),
            (std::vector<std::string>{"warn: Cradlekeep captured dino data but failed to add vanilla cryopod to "
                                      "player inventory",
                                      std::string("message: ") + kFailedText}));
  EXPECT_EQ(game().SlotCreature(Ava(), "mounted"), game().FindCreature("splash")->actor());
  EXPECT_TRUE(Items().empty());
  EXPECT_TRUE(game().Lost().empty());
}

TEST_F(VanillaCaptureTest, APodWhoseDataDidNotLandLeavesTheCreatureInTheWorld) {
  StartWorld(kVanilla, {{"mounted", "splash"}}, {Creature("splash")});
  fw().faults.Arm({"UPrimalItem.SetCustomItemData(FCustomItemData&)", std::nullopt, simfw::FaultMode::kFail, 1, false});
  MarkTimeline();
  EXPECT_FALSE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  EXPECT_EQ(Timeline(), (std::vector<std::string>{"warn: Cradlekeep failed to build vanilla cryopod dino data",
                                                  std::string("message: ") + kFailedText}));
  EXPECT_EQ(Where("splash"), "slot");
  EXPECT_TRUE(Items().empty());
}

TEST_F(VanillaCaptureTest, ASlotClearingThatThrowsStillTakesTheCapturedCreatureOutOfTheWorld) {
  StartWorld(kVanilla, {{"mounted", "splash"}}, {Creature("splash")});
  fw().faults.Arm({"APrimalCharacter.ClearMountedDino(bool,bool)", std::nullopt, simfw::FaultMode::kThrow, 1, false});
  EXPECT_THROW(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}), std::runtime_error);
  EXPECT_EQ(Where("splash"), "pod") << "one creature, in its pod: neither lost nor doubled";
}

TEST_F(VanillaCaptureTest, ASlotClearingThatThrowsBeforeADestroyThatFailsIsToldAndThePodTakenBack) {
  StartWorld(kVanilla, {{"mounted", "splash"}}, {Creature("splash")});
  fw().faults.Arm({"APrimalCharacter.ClearMountedDino(bool,bool)", std::nullopt, simfw::FaultMode::kThrow, 1, false});
  fw().faults.Arm({"APrimalDinoCharacter.Destroy(bool,bool)", std::nullopt, simfw::FaultMode::kFail, 1, false});
  MarkTimeline();
  EXPECT_FALSE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  EXPECT_EQ(Timeline(),
            (std::vector<std::string>{
                "warn: Cradlekeep could not clear the captured companion's slot: injected fault: "
                "APrimalCharacter.ClearMountedDino(bool,bool)",
                "warn: Cradlekeep could not take the podded companion out of the world; its pod was taken back out",
                std::string("message: ") + kFailedText}));
  EXPECT_EQ(Where("splash"), "slot");
  EXPECT_TRUE(Items().empty()) << "the pod is out of the inventory again";
  EXPECT_TRUE(game().Duplicated().empty());
}

TEST_F(VanillaCaptureTest, ACreatureThatCannotBeFollowedIsNotTouched) {
  StartWorld(kVanilla, {{"mounted", "splash"}}, {Creature("splash")});
  fw().faults.Arm({"FWeakObjectPtr.operator=(UObject*)", std::nullopt, simfw::FaultMode::kFail, 1, false});
  MarkTimeline();
  EXPECT_FALSE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  EXPECT_EQ(Timeline(), (std::vector<std::string>{"warn: Cradlekeep could not keep track of the companion through "
                                                  "its capture; it was not captured",
                                                  std::string("message: ") + kFailedText}));
  EXPECT_EQ(Where("splash"), "slot");
  EXPECT_TRUE(Items().empty());
  EXPECT_TRUE(game().ArgsOf("UPrimalItem.AddNewItem").empty()) << "no pod is made for it";
}

// How often the game was asked for a function since recording began.
std::size_t CallsOf(const std::string& key) {
  const auto& recorded = simfw::Fw().faults.Recorded();
  return static_cast<std::size_t>(
      std::count_if(recorded.begin(), recorded.end(), [&](const auto& call) { return call.key == key; }));
}

TEST_F(VanillaCaptureTest, ThePodClassIsLoadedAfreshAfterAnUnloadAndALoad) {
  constexpr const char* kLoadClass = "UVictoryCore.StringReferenceToClass(FString&)";
  StartWorld(kVanilla, {{"mounted", "splash"}, {"carried", "pip"}}, {Creature("splash"), Creature("pip")});
  fw().faults.SetRecording(true);
  ASSERT_TRUE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  ASSERT_EQ(CallsOf(kLoadClass), 1u);
  Stop();
  Start();
  ASSERT_TRUE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("pip", false, true)}));
  EXPECT_EQ(CallsOf(kLoadClass), 2u) << "the class the plugin held before its unload is not used again";
  ASSERT_EQ(Items().size(), 2u);
  EXPECT_EQ(Items()[1]->ClassPrivate->Name(), sim::Game::kVanillaCryopodClass);
  EXPECT_EQ(Where("pip"), "pod");
}

TEST_F(VanillaCaptureTest, WithDebugLoggingOffTheReadinessIsAskedForAndNothingIsWritten) {
  StartWorld(R"({"CaptureMode": "Vanilla", "DebugLogging": false})", {{"mounted", "splash"}},
             {Creature("splash", "Otter_Character_BP_C", "Splash")});
  fw().faults.SetRecording(true);
  MarkTimeline();
  ASSERT_TRUE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  EXPECT_EQ(CallsOf("UPrimalItem.GetTimeUntilUploadAllowed(UWorld*)"), 1u);
  EXPECT_EQ(CallsOf("UPrimalItem.IsReadyToUpload(UWorld*)"), 1u);
  EXPECT_EQ(Timeline(), std::vector<std::string>{"message: Prepared for transfer: Splash (cryopod)."})
      << "no line on success";
}

TEST_F(VanillaCaptureTest, AnAddReturningAnotherItemMakesThatItemUploadable) {
  StartWorld(R"({"CaptureMode": "Vanilla", "DebugLogging": true})", {{"mounted", "splash"}}, {Creature("splash")});
  Ava().inventory->adds_replace_item = true;
  ASSERT_TRUE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  ASSERT_EQ(Items().size(), 1u);
  sim::Item* placed = Items()[0];
  EXPECT_EQ(placed->UploadEarliestValidTime, 0.0);
  EXPECT_TRUE(game().IsReadyToUpload(placed));
  EXPECT_EQ(Lines()[Lines().size() - 2],
            "Cradlekeep prepared temporary vanilla cryopod for immediate upload ready=true remaining=0");
}

}  // namespace
