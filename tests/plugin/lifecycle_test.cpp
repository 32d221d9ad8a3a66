#include <gtest/gtest.h>

#include <fmt/format.h>

#include "core/log.h"
#include "core/text.h"
#include "plugin/version.h"
#include "support/capture_fixture.h"
#include "support/plugin_fixture.h"

extern "C" bool Cradlekeep_CaptureForTransfer(AShooterPlayerController* controller);

namespace {

// A value that counts how often it is formatted.
struct Counted {
  int* formatted;
};

}  // namespace

template <>
struct fmt::formatter<Counted> : fmt::formatter<int> {
  auto format(const Counted& c, format_context& ctx) const {
    ++*c.formatted;
    return fmt::formatter<int>::format(*c.formatted, ctx);
  }
};

namespace {

class LifecycleTest : public cktest::PluginTest {};

TEST_F(LifecycleTest, TraceLinesAreNeitherFormattedNorWrittenWhileDebugIsOff) {
  WriteConfig("{}");
  Start();
  int formatted = 0;
  ck::log::Trace("Cradlekeep trace {}", Counted{&formatted});
  EXPECT_EQ(formatted, 0);
  ck::config::Current().DebugLogging = true;
  ck::log::Trace("Cradlekeep trace {}", Counted{&formatted});
  EXPECT_EQ(formatted, 1);
  EXPECT_EQ(Lines().back(), "Cradlekeep trace 1");
}

TEST_F(LifecycleTest, EveryLineIsFlushedAsItIsWritten) {
  WriteConfig("{\"Enabled\": 2}");
  Start();
  Stop();
  const auto records = fw().logs.RecordsOf("Cradlekeep");
  ASSERT_EQ(records.size(), 2u);
  for (const auto& r : records) EXPECT_TRUE(r.flushed) << r.text;
  EXPECT_EQ(records[0].level, "error");
  EXPECT_EQ(records[1].level, "info");
}

TEST_F(LifecycleTest, TheLoggerSharesTheFrameworksSinks) {
  Start();
  EXPECT_FALSE(Lines().empty());
  EXPECT_EQ(Lines().back(), "Cradlekeep loaded version " CRADLEKEEP_PROJECT_VERSION)
      << "the announced version is the project version (CMakeLists.txt)";
  EXPECT_STREQ(ck::plugin::kVersion, CRADLEKEEP_PROJECT_VERSION);
}

TEST_F(LifecycleTest, TheExportedCaptureAnswersItsEarlyCases) {
  WriteConfig("{}");
  Start();
  EXPECT_TRUE(Cradlekeep_CaptureForTransfer(nullptr)) << "no controller: nothing to leave behind";
  sim::PlayerSpec ava;
  ava.id = "ava";
  game().AddPlayer(ava);
  auto* pc = reinterpret_cast<AShooterPlayerController*>(game().FindPlayer("ava")->controller);
  game().FindPlayer("ava")->controller->Pawn = nullptr;
  EXPECT_FALSE(Cradlekeep_CaptureForTransfer(pc)) << "a missing pawn is reported";
  ck::config::Current().Enabled = false;
  EXPECT_TRUE(Cradlekeep_CaptureForTransfer(pc)) << "switched off: true at once";
  ck::config::Current().Enabled = true;
  ck::config::Current().CaptureOnTransferButton = false;
  EXPECT_TRUE(Cradlekeep_CaptureForTransfer(pc));
}

// A start-up that failed read no settings of the admin's and checked no game
// build: the exported capture answers false and makes no call at all.
TEST_F(LifecycleTest, AfterAFailedStartTheExportedCaptureTouchesNothing) {
  sim::CreatureSpec splash;
  splash.id = "splash";
  game().AddCreature(splash);
  sim::PlayerSpec ava;
  ava.id = "ava";
  ava.slots["mounted"] = "splash";
  game().AddPlayer(ava);
  for (const char* config : {"{\"Enabled\": tru}", "{\"CaptureMode\": 1}"}) {
    WriteConfig(config);
    Start();
    ASSERT_EQ(Lines().back().rfind("Cradlekeep failed to load: ", 0), 0u) << config;
    fw().faults.SetRecording(true);
    EXPECT_FALSE(Cradlekeep_CaptureForTransfer(reinterpret_cast<AShooterPlayerController*>(game().FindPlayer("ava")->controller)));
    EXPECT_TRUE(fw().faults.Recorded().empty()) << "no game function and no framework operation";
    fw().faults.SetRecording(false);
    EXPECT_EQ(game().PlaceOf(*game().FindCreature("splash")).where, "slot");
    Stop();
  }
  EXPECT_TRUE(game().Lost().empty());
}

TEST(ToLowerCopyTest, LowersAsciiLettersOnly) {
  EXPECT_EQ(ck::core::ToLowerCopy("ItemsPlus ÄÖ 10 Z@[`"), "itemsplus ÄÖ 10 z@[`");
}

}  // namespace

// The framework starts plugins before the game makes its world and game
// mode: start-up, and every tick it schedules before they exist, need
// neither.
class StartBeforeTheWorldTest : public cktest::CaptureTest {};

TEST_F(StartBeforeTheWorldTest, StartUpAndItsTicksNeedNoWorldNorGameMode) {
  sim::PlayerSpec ava;
  ava.id = "ava";
  ava.slots["mounted"] = "splash";
  game().AddCreature(Creature("splash", "Otter_Character_BP_C", "Splash"));
  game().AddPlayer(ava);
  WriteConfig(R"({"CaptureMode": "Vanilla", "TemporaryVanillaCryopodCleanupIntervalSeconds": 1})");
  fw().utils.SetWorld(nullptr);
  fw().utils.SetGameMode(nullptr);
  Start();
  EXPECT_EQ(Lines().back(), "Cradlekeep loaded version " + std::string(ck::plugin::kVersion));
  game().Advance(3);  // the auto-remove scan comes due with no world
  for (const std::string& line : Lines()) EXPECT_EQ(line.find("failed"), std::string::npos) << line;

  game().PublishWorld();
  game().TransferButton(Ava());
  EXPECT_EQ(Where("splash"), "pod");
  ASSERT_EQ(Items().size(), 1u);
  game().UseItem(Ava(), Items()[0], false, false);  // the uncryo broadcasts find the game mode now
  game().Advance(1);
  EXPECT_EQ(Where("splash"), "world");
  EXPECT_TRUE(Items().empty()) << "the emptied temporary pod was removed";
  EXPECT_TRUE(fw().build.Requests().empty());
}
