// A failure inside one of the plugin's transfer or detach hooks: the plugin
// logs it with the hook's name and what was thrown, the game function still
// runs once, and no creature is lost. One scenario per hook and fault mode,
// played through the simulator as the scenario files are (see
// support/scenario_play.h).
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/scenario_play.h"

namespace {

using nlohmann::json;

struct HookFailure {
  std::string name;         // the test's name
  std::string description;  // the scenario's
  json config;
  json world;
  json steps;               // the faults armed, then what the game does
  std::string line;         // the log line the failure leaves
  bool companion_in_world;  // the companion is back in the world at the end
};

// Ava with her otter Splash in one of her slots.
json AvaWithSplashIn(const std::string& slot) {
  return {{"players", json::array({{{"id", "ava"}, {"team", 1001}, {"slots", {{slot, "splash"}}}}})},
          {"creatures", json::array({{{"id", "splash"},
                                      {"class", "Otter_Character_BP_C"},
                                      {"name", "Splash"},
                                      {"team", 1001}}})}};
}

// A transfer trigger whose hook fails while it looks for companions.
HookFailure Trigger(const std::string& name, const std::string& hook, const json& step, const std::string& mode) {
  const std::string key = "AShooterCharacter.GetRidingDino()";
  return {name + "_" + mode,
          "a failure inside the " + hook + " hook is logged and the game function still runs once",
          {{"CaptureMode", "Vanilla"}, {"ItemsPlusCompatibility", true}},
          AvaWithSplashIn("mounted"),
          json::array({{{"fault", {{"key", key}, {"mode", mode}}}}, step}),
          "Cradlekeep " + hook + " hook failed: " + cktest::InjectedFaultText(mode, key),
          false};
}

// The game empties a slot; the detach hook fails while it looks at the pawn.
HookFailure Detach(const std::string& slot, const std::string& mode) {
  const std::string key = "APrimalPawn.GetOwnerController()";
  return {slot + "_slot_detach",
          "a failure while observing a detach is logged and the game still empties the slot",
          {{"CaptureMode", "Vanilla"}},
          AvaWithSplashIn(slot),
          json::array({{{"fault", {{"key", key}, {"mode", mode}}}},
                       {{"clearSlot", {{"player", "ava"}, {"slot", slot}}}}}),
          "Cradlekeep " + slot + "-slot detach hook failed: " + cktest::InjectedFaultText(mode, key),
          true};
}

std::vector<HookFailure> HookCases() {
  std::vector<HookFailure> cases;
  const json transfer_button = {{"transferButton", "ava"}};
  const json dialog_result = {{"dialogResult", {{"player", "ava"}, {"accept", true}}}};
  const json confirmation = {{"confirmTransfer", {{"player", "ava"}, {"accept", true}}}};
  const json upload = {{"upload", "ava"}};
  const json force_upload = {{"forceUpload", "ava"}};
  const json drop_not_ready = {{"dropNotReady", "ava"}};
  const json items_plus = {
      {"netExec", {{"player", "ava"}, {"command", "EXECTransferRequest"}, {"actor", "ItemsPlus_C"}}}};
  for (const std::string mode : {"throw", "throwUnknown"}) {
    cases.push_back(Trigger("transfer_button", "transfer button", transfer_button, mode));
    cases.push_back(Trigger("transfer_dialog_result", "transfer dialog result", dialog_result, mode));
    cases.push_back(Trigger("transfer_confirmation_result", "transfer confirmation result", confirmation, mode));
    cases.push_back(Trigger("character_upload", "character upload", upload, mode));
    cases.push_back(Trigger("force_upload", "force upload", force_upload, mode));
    cases.push_back(Trigger("drop_not_ready_upload", "drop not-ready upload", drop_not_ready, mode));
    cases.push_back(Trigger("itemsplus_net_exec", "Items+ net exec", items_plus, mode));
  }
  cases.push_back(Detach("mounted", "throw"));
  cases.push_back(Detach("carried", "throwUnknown"));
  return cases;
}

void PrintTo(const HookFailure& c, std::ostream* os) { *os << c.name; }

class HookFailureTest : public ::testing::TestWithParam<HookFailure> {};

TEST_P(HookFailureTest, IsLoggedAndTheGameGoesOn) {
  const HookFailure& c = GetParam();
  json expect = {{"logContains", json::array({c.line})},
                 {"hookedCallsReachGame", true},
                 {"lost", json::array()},
                 {"engineMemoryBalanced", true}};
  if (c.companion_in_world) expect["creatures"] = {{"splash", "world"}};
  cktest::PlayScenario({{"description", c.description},
                        {"config", c.config},
                        {"world", c.world},
                        {"steps", c.steps},
                        {"expect", expect}},
                       c.name);
}

INSTANTIATE_TEST_SUITE_P(Hooks, HookFailureTest, ::testing::ValuesIn(HookCases()),
                         [](const ::testing::TestParamInfo<HookFailure>& info) { return info.param.name; });

}  // namespace
