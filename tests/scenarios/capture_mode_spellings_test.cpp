// Each spelling of CaptureMode an admin may write, and the path it selects:
// the plugin's config line names the path (captureMode=Cryo for the vanilla
// cryopod, SCS otherwise), and the vanilla path also installs the three
// hooks that watch temporary pods. One scenario per spelling, played through
// the simulator as the scenario files are (see support/scenario_play.h).
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/scenario_play.h"

namespace {

using nlohmann::json;

struct Spelling {
  std::string name;  // the test's name
  std::string mode;  // CaptureMode as written in the file
  bool vanilla;      // selects the vanilla path
};

const Spelling kSpellings[] = {
    {"cryo", "CRYO", true},
    {"vanilla", "Vanilla", true},
    {"vanillacryo", "VanillaCryo", true},
    {"scs", "SCS", false},
    {"empty", "", false},
    {"cryo_leading_blank", " cryo", false},
    {"vanilla_trailing_blank", "vanilla ", false},
    {"vanilla_cryo", "vanilla-cryo", false},
};

// Installed on either path, in this order.
const std::vector<std::string> kTransferHooks = {
    "AShooterPlayerController.ShowTransferCharacterConfirmationDialog()",
    "AShooterGameMode.HandleTransferCharacterDialogResult(bool,AShooterPlayerController*)",
    "AShooterPlayerController.ServerTransferredPlayerConfirmationResult_Implementation(bool)",
    "AShooterPlayerController.ServerUploadCurrentCharacterAndItems_Implementation(UPrimalInventoryComponent*,int)",
    "AShooterPlayerController.TryToForceUploadCharacter_Implementation()",
    "AShooterPlayerController.ServerDropAllNotReadyForUploadItems_Implementation()",
    "AShooterCharacter.ClearCarryingDino(bool,bool)",
    "APrimalCharacter.ClearMountedDino(bool,bool)",
};

// Installed after them on the vanilla path only.
const std::vector<std::string> kTemporaryPodHooks = {
    "AShooterPlayerController.ServerRequestInventoryUseItem_Implementation(UPrimalInventoryComponent*,FItemNetID,int)",
    "AShooterPlayerController.ServerRequestInventoryUseItemWithActor_Implementation(AActor*,UPrimalInventoryComponent*,"
    "FItemNetID,int)",
    "TMulticastScriptDelegate<FNotThreadSafeDelegateMode>.ProcessMulticastDelegate<UObject>(void*)",
};

void PrintTo(const Spelling& s, std::ostream* os) { *os << "CaptureMode " << json(s.mode).dump(); }

class CaptureModeSpellingTest : public ::testing::TestWithParam<Spelling> {};

TEST_P(CaptureModeSpellingTest, SelectsItsPath) {
  const Spelling& s = GetParam();
  const std::string path = s.vanilla ? "Cryo" : "SCS";
  std::vector<std::string> hooks = kTransferHooks;
  if (s.vanilla) hooks.insert(hooks.end(), kTemporaryPodHooks.begin(), kTemporaryPodHooks.end());
  cktest::PlayScenario(
      {{"description", "CaptureMode " + json(s.mode).dump() + " selects the " + (s.vanilla ? "vanilla" : "SCS") +
                           " path"},
       {"config", {{"CaptureMode", s.mode}, {"DebugLogging", true}}},
       {"steps", json::array()},
       {"expect",
        {{"logContains",
          json::array({"Cradlekeep config loaded enabled=true captureMode=" + path +
                       " captureOnTransferButton=true itemsPlusCompatibility=false temporaryVanillaCryopods=true "
                       "autoRemoveTemporaryVanillaCryopods=true temporaryVanillaCryopodCleanupIntervalSeconds=1 "
                       "clearCryoSicknessFromTemporaryVanillaCryopods=true debugLogging=true"})},
         {"hooks", hooks}}}},
      s.name);
}

INSTANTIATE_TEST_SUITE_P(Config, CaptureModeSpellingTest, ::testing::ValuesIn(kSpellings),
                         [](const ::testing::TestParamInfo<Spelling>& info) { return info.param.name; });

}  // namespace
