// A vanilla capture in which one game call between placing the pod and
// destroying the creature fails. A creature is never in two places: a step
// that only makes the pod uploadable at once or feeds a trace line is told
// by a warn line and the capture goes on, so the pod travels with the
// player's upload and the creature leaves the world; a failure that leaves
// the pod unfinished or the creature in the world takes the pod back out of
// the inventory, so the creature stays on the server, alone. One scenario per step and fault
// mode, played through the simulator as the scenario files are (see
// support/scenario_play.h).
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/scenario_play.h"

namespace {

using nlohmann::json;

constexpr const char* kUpdatedItem = "UPrimalItem.UpdatedItem(bool,bool)";
constexpr const char* kDestroy = "APrimalDinoCharacter.Destroy(bool,bool)";
constexpr const char* kCaptured = "Prepared for transfer: Splash (cryopod).";
constexpr const char* kPodFailedMessage = "Cradle Keep failed to pod your shoulder pet. Check the server log.";

struct StepFailure {
  std::string name;  // the test's name
  std::string key;   // the failing game function
  int at;            // which of its calls in the capture
  std::string mode;
  std::string line;     // the line that tells the failure
  bool travels;         // the creature leaves in its pod with the upload
  std::string stays;    // else where it stays, alone: "slot" or "world"
  std::string message;  // what the player is told, if anything
};

// A step that serves only the upload readiness or a trace line.
StepFailure Contained(const std::string& name, const std::string& key, int at, const std::string& mode,
                      const std::string& line) {
  return {name + "_" + mode, key, at, mode, line + cktest::InjectedFaultText(mode, key), true, "", kCaptured};
}

// A failure after which the pod cannot stay: the capture gives up, the
// creature where the failure left it (on its shoulder before the slot is
// cleared, in the world after).
StepFailure GivesUp(const std::string& name, const std::string& key, int at, const std::string& mode,
                    const std::string& stays) {
  return {name + "_" + mode, key, at, mode, "Cradlekeep transfer button hook failed: " + cktest::InjectedFaultText(mode, key), false,
          stays, ""};
}

std::vector<StepFailure> StepCases() {
  const std::string uploadable = "Cradlekeep could not make the vanilla cryopod uploadable at once: ";
  const std::string readiness = "Cradlekeep could not read the vanilla cryopod's upload readiness: ";
  std::vector<StepFailure> cases;
  for (const std::string mode : {"throw", "throwUnknown"}) {
    // UpdatedItem's calls: the marker, the insertion's finish, the upload-time reset.
    cases.push_back(Contained("upload_time_reset_update", kUpdatedItem, 3, mode, uploadable));
    cases.push_back(Contained("time_until_upload", "UPrimalItem.GetTimeUntilUploadAllowed(UWorld*)", 1, mode, readiness));
    cases.push_back(Contained("ready_to_upload", "UPrimalItem.IsReadyToUpload(UWorld*)", 1, mode, readiness));
    cases.push_back(GivesUp("insertion_finish_update", kUpdatedItem, 2, mode, "slot"));
    cases.push_back(GivesUp("insertion_refresh_check", "UPrimalItem.InventoryRefreshCheckItem()", 1, mode, "slot"));
    cases.push_back(
        GivesUp("insertion_inventory_refresh", "UPrimalInventoryComponent.InventoryRefresh()", 1, mode, "slot"));
    cases.push_back(GivesUp("destroy", kDestroy, 1, mode, "world"));
  }
  // A destroy that reports failure leaves the creature in the world.
  cases.push_back({"destroy_fail", kDestroy, 1, "fail",
                   "Cradlekeep could not take the podded companion out of the world; its pod was taken back out",
                   false, "world", kPodFailedMessage});
  return cases;
}

void PrintTo(const StepFailure& c, std::ostream* os) { *os << c.name; }

class CaptureStepFailureTest : public ::testing::TestWithParam<StepFailure> {};

TEST_P(CaptureStepFailureTest, NeverLeavesTheCreatureInTwoPlaces) {
  const StepFailure& c = GetParam();
  json expect = {{"logContains", json::array({c.line})},
                 {"duplicated", json::array()},
                 {"lost", json::array()},
                 {"creatures", {{"splash", c.travels ? "uploaded" : c.stays}}},
                 {"hookedCallsReachGame", true},
                 {"engineMemoryBalanced", true}};
  json steps = json::array({{{"fault", {{"key", c.key}, {"mode", c.mode}, {"at", c.at}}}}, {{"transferButton", "ava"}}});
  if (c.travels) {
    steps.push_back({{"upload", "ava"}});
    expect["leftBehind"] = json::array();
  } else {
    expect["inventoryCount"] = {{"ava", 0}};
  }
  if (!c.message.empty()) expect["messages"] = json::array({{{"player", "ava"}, {"text", c.message}}});
  const json world = {
      {"players", json::array({{{"id", "ava"}, {"slots", {{"mounted", "splash"}}}}})},
      {"creatures", json::array({{{"id", "splash"}, {"class", "Otter_Character_BP_C"}, {"name", "Splash"}}})}};
  cktest::PlayScenario({{"description", "a vanilla capture with " + c.key + " failing between pod and destroy"},
                        {"config", {{"CaptureMode", "Vanilla"}, {"DebugLogging", true}}},
                        {"world", world},
                        {"steps", steps},
                        {"expect", expect}},
                       c.name);
}

INSTANTIATE_TEST_SUITE_P(VanillaCapture, CaptureStepFailureTest, ::testing::ValuesIn(StepCases()),
                         [](const ::testing::TestParamInfo<StepFailure>& info) { return info.param.name; });

}  // namespace
