// Players whose controller possesses no player character: a spectator's pawn
// (a pawn of another class, whose members are not a character's) or no pawn
// at all. Every place that reads a controller's pawn as a player character
// passes them over, and the players around them are served as ever.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/game/hooked_functions.h"
#include "support/capture_fixture.h"
#include "temporary_pods/scan/auto_remove_scan.h"
#include "temporary_pods/cleanup_passes.h"

extern "C" bool Cradlekeep_CaptureForTransfer(AShooterPlayerController* controller);

namespace {

class PawnClassTest : public cktest::CaptureTest {
 protected:
  // "sam" spectates and "bea" possesses nothing, each with a companion on
  // their character's shoulder and a temporary pod holding a creature; "ava"
  // plays, last in the server's list of players.
  void StartServer() {
    for (const char* id : {"rex", "moss", "pip", "kit"}) game().AddCreature(Creature(id));
    AddPlayer("sam", "spectator", "rex", "moss");
    AddPlayer("bea", "none", "pip", "kit");
    sim::PlayerSpec ava;
    ava.id = "ava";
    game().AddPlayer(ava);
    WriteConfig(R"({"CaptureMode": "Vanilla", "DebugLogging": true,
                    "TemporaryVanillaCryopodCleanupIntervalSeconds": 1})");
    Start();
    MarkTimeline();
  }

  void AddPlayer(const std::string& id, const std::string& pawn, const std::string& companion,
                 const std::string& in_pod) {
    sim::PlayerSpec spec;
    spec.id = id;
    spec.pawn = pawn;
    spec.slots["mounted"] = companion;
    sim::ItemSpec pod;
    pod.id = "pod";
    pod.cryopod_of = in_pod;
    pod.temporary_pod = true;
    spec.inventory.push_back(pod);
    game().AddPlayer(spec);
  }

  sim::Player& P(const std::string& id) { return *game().FindPlayer(id); }
  AShooterPlayerController* ControllerOf(const std::string& id) {
    return reinterpret_cast<AShooterPlayerController*>(P(id).controller);
  }

  // An emptied temporary pod in ava's inventory, for the scan to find.
  void GiveAvaAnEmptiedPod() {
    sim::Item* emptied = game().NewItem(game().ClassNamed(sim::Game::kVanillaCryopodClass));
    sim::AddMarker(emptied);
    Ava().inventory->Place(emptied);
  }

  std::size_t LinesContaining(const std::string& text) {
    std::size_t lines = 0;
    for (const auto& line : Timeline()) lines += line.find(text) != std::string::npos;
    return lines;
  }

  int CallsOf(const std::string& key) {
    int calls = 0;
    for (const auto& call : fw().faults.Recorded()) calls += call.key == key;
    return calls;
  }
};

TEST_F(PawnClassTest, EveryTriggerAndTheExportPassOverThem) {
  StartServer();
  fw().faults.SetRecording(true);
  for (const char* id : {"sam", "bea"}) {
    sim::Player& player = P(id);
    game().TransferButton(player);
    game().DialogResult(player, true);
    game().ConfirmTransfer(player, true);
    game().DropNotReady(player);
    EXPECT_FALSE(Cradlekeep_CaptureForTransfer(ControllerOf(id))) << id << " has no character to capture from";
  }
  // Nothing read the pawn as a character: no slot, no item, no message.
  EXPECT_EQ(CallsOf("AShooterCharacter.GetRidingDino()"), 0);
  EXPECT_EQ(CallsOf("AShooterCharacter.GetSecondaryMountedActor()"), 0);
  EXPECT_EQ(CallsOf("APrimalDinoCharacter.GetCurrentDinoName(APlayerController*)"), 0);
  EXPECT_EQ(Where("rex"), "slot");
  EXPECT_EQ(Where("pip"), "slot");
  EXPECT_EQ(P("sam").inventory->InventoryItems.Num(), 1);
  EXPECT_EQ(P("bea").inventory->InventoryItems.Num(), 1);
  EXPECT_TRUE(fw().utils.Messages().empty());
  EXPECT_EQ(LinesContaining("transfer trigger fired: ShowTransferCharacterConfirmationDialog"), 2u);
}

TEST_F(PawnClassTest, TheScanThePassesAndTheReleaseHandlingPassOverThem) {
  StartServer();
  GiveAvaAnEmptiedPod();
  // Their clients ask for a release: the game releases the creature and
  // empties the pod; the plugin queues its passes and sees both broadcasts.
  game().UseItem(P("sam"), game().FindPlayerItem(P("sam"), "pod", ""), false, false);
  game().UseItem(P("bea"), game().FindPlayerItem(P("bea"), "pod", ""), false, false);
  EXPECT_EQ(ck::temporary_pods::PendingCleanupPassCount(), 28u);
  game().Advance(31);  // every pass, and thirty scans
  EXPECT_EQ(ck::temporary_pods::PendingCleanupPassCount(), 0u);
  EXPECT_EQ(P("sam").inventory->InventoryItems.Num(), 1) << "the emptied pod waits for a character to sweep";
  EXPECT_EQ(P("bea").inventory->InventoryItems.Num(), 1);
  EXPECT_TRUE(Items().empty()) << "the scan went on past them to ava";
  EXPECT_EQ(LinesContaining("scan removed 1 pod(s) across 3 online player(s)"), 1u);
  EXPECT_EQ(LinesContaining("deactivated cryo cooldown"), 0u) << "the cooldown is a buff on a character";
  EXPECT_EQ(Where("moss"), "world");
  EXPECT_EQ(Where("kit"), "world");
  EXPECT_TRUE(game().Lost().empty());
}

}  // namespace
