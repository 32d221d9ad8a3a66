// Captures on the game builds that give members other names: each call and
// hook takes the form the build has, and a slot whose clearing the build
// lacks is left as it is while the companion still travels.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "capture/capture_orchestration.h"
#include "sim/game/game_builds.h"
#include "support/capture_fixture.h"

namespace {

using ck::capture::CaptureAttachedCompanions;

constexpr const char* kOneFlag = "APrimalCharacter.ClearMountedDino(bool)";
constexpr const char* kTwoFlags = "APrimalCharacter.ClearMountedDino(bool,bool)";

class GameBuildFormsTest : public cktest::CaptureTest {
 protected:
  // Starts the plugin in vanilla mode on `build`, less `missing`, with ava's
  // slots holding these creatures.
  void StartOn(const std::string& build, const std::vector<std::pair<std::string, std::string>>& slots,
               std::set<std::string> missing = {}) {
    sim::ServerSettings server;
    server.game_build = build;
    game_.reset();
    game_ = std::make_unique<sim::Game>(server, sim::ModSettings{});
    const std::set<std::string>& absent = sim::GameBuildNamed(build).absent;
    missing.insert(absent.begin(), absent.end());
    fw().build.SetMissingKeys(missing);
    fw().build.WriteCache(std::filesystem::current_path(), fw().registry, simfw::OffsetsCacheState::kPresent);
    std::vector<sim::CreatureSpec> creatures;
    for (const auto& [slot, id] : slots) creatures.push_back(Creature(id, "Otter_Character_BP_C", id));
    StartWorld(R"({"CaptureMode": "Vanilla"})", slots, creatures);
  }

  std::vector<std::string> StartupLines() {
    std::vector<std::string> lines;
    for (const auto& r : fw().logs.RecordsOf("Cradlekeep")) lines.push_back(r.level + ": " + r.text);
    return lines;
  }
  bool Logged(const std::string& line) {
    const auto lines = StartupLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  bool Hooked(const std::string& key) {
    const auto keys = fw().hooks.InstalledKeys();
    return std::find(keys.begin(), keys.end(), key) != keys.end();
  }
};

TEST_F(GameBuildFormsTest, OnTheApi203BuildTheOneFlagFormIsHookedAndEmptiesThePrimarySlotWithFalse) {
  StartOn("api-2.03", {{"mounted", "splash"}});
  EXPECT_TRUE(Logged("info: Cradlekeep game key APrimalCharacter.ClearMountedDino(bool,bool) is "
                     "APrimalCharacter.ClearMountedDino(bool) on this game build"));
  EXPECT_TRUE(Logged("info: Cradlekeep game key AShooterCharacter.GetPrivateStaticClass() is "
                     "AShooterCharacter.StaticClass() on this game build"));
  EXPECT_TRUE(Logged("warn: Cradlekeep game build check: 4 of 105 game keys missing, 2 under another name; turned "
                     "off: recovering the previous secondary shoulder companion, clean-up when a creature is released"));
  EXPECT_TRUE(Hooked(kOneFlag));
  EXPECT_FALSE(Hooked(kTwoFlags));

  MarkTimeline();
  ASSERT_TRUE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  EXPECT_EQ(game().ArgsOf("APrimalCharacter.ClearMountedDino"), std::vector<std::string>{"false"});
  EXPECT_EQ(Where("splash"), "pod");
  EXPECT_EQ(game().SlotCreature(Ava(), "mounted"), nullptr);
  EXPECT_EQ(Timeline(), std::vector<std::string>{"message: Prepared for transfer: splash (cryopod)."});
}

TEST_F(GameBuildFormsTest, OnTheApi203BuildASecondaryCompanionIsPoddedAndItsSlotLeftToTheGame) {
  StartOn("api-2.03", {{"secondary", "pip"}});
  MarkTimeline();
  ASSERT_TRUE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("pip", true, false, true)}));
  EXPECT_TRUE(game().ArgsOf("APrimalCharacter.ClearMountedDino").empty())
      << "the one-flag form would empty the primary slot";
  EXPECT_EQ(Where("pip"), "pod");
  EXPECT_EQ(Timeline(), (std::vector<std::string>{
                            "warn: Cradlekeep left the captured companion's secondary shoulder slot as it is: this "
                            "game build empties only the primary shoulder slot",
                            "message: Prepared for transfer: pip (cryopod)."}));
}

TEST_F(GameBuildFormsTest, OnTheApi203BuildTheGameEmptyingAShoulderSlotDuringATransferStartsACapture) {
  StartOn("api-2.03", {{"mounted", "splash"}});
  game().SetTransferring(Ava(), true);
  game().ClearSlot(Ava(), "mounted");
  EXPECT_EQ(Where("splash"), "pod");
  EXPECT_EQ(game().ArgsOf("APrimalCharacter.ClearMountedDino"), (std::vector<std::string>{"false", "false"}))
      << "the plugin's own call inside its hook, and the game's";
}

TEST_F(GameBuildFormsTest, WithNoFormOfTheMountedClearingTheCompanionIsPoddedAndItsSlotLeft) {
  StartOn("current", {{"mounted", "splash"}}, {kTwoFlags});
  EXPECT_TRUE(Logged("warn: Cradlekeep game key missing from this game build: "
                     "APrimalCharacter.ClearMountedDino(bool,bool), also looked for as "
                     "APrimalCharacter.ClearMountedDino(bool) (turned off: seeing a shoulder slot emptied during a "
                     "transfer, emptying a shoulder slot after a capture)"));
  EXPECT_FALSE(Hooked(kTwoFlags));
  MarkTimeline();
  ASSERT_TRUE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("splash")}));
  EXPECT_EQ(Where("splash"), "pod");
  EXPECT_EQ(Timeline(), (std::vector<std::string>{
                            "warn: Cradlekeep left the captured companion's shoulder slot as it is: emptying a "
                            "shoulder slot after a capture is off on this game build",
                            "message: Prepared for transfer: splash (cryopod)."}));
}

TEST_F(GameBuildFormsTest, OnThe9228BuildACarriedCompanionIsClearedThroughThePlayerCharactersOwnFunction) {
  StartOn("92.28", {{"carried", "bruno"}});
  EXPECT_TRUE(Logged("info: Cradlekeep game key APrimalCharacter.ClearCarryingDino(bool,bool) is "
                     "AShooterCharacter.ClearCarryingDino(bool,bool) on this game build"));
  EXPECT_TRUE(Logged("info: Cradlekeep game build check: all 105 game keys present, 1 under another name"));
  ASSERT_TRUE(CaptureAttachedCompanions(Pawn(), Controller(), {Companion("bruno", false, true)}));
  EXPECT_EQ(game().ArgsOf("AShooterCharacter.ClearCarryingDino"), std::vector<std::string>{"false,false"});
  EXPECT_TRUE(game().ArgsOf("APrimalCharacter.ClearCarryingDino").empty());
  EXPECT_EQ(Where("bruno"), "pod");
  EXPECT_TRUE(fw().build.Requests().empty());
}

TEST_F(GameBuildFormsTest, OnTheCurrentBuildNothingNewIsWritten) {
  StartOn("current", {{"mounted", "splash"}});
  for (const std::string& line : StartupLines()) {
    EXPECT_EQ(line.find("under another name"), std::string::npos) << line;
    EXPECT_EQ(line.find("on this game build"), std::string::npos) << line;
  }
  EXPECT_TRUE(Hooked(kTwoFlags));
  EXPECT_FALSE(Hooked(kOneFlag));
}

}  // namespace
