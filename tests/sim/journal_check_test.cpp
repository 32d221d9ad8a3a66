// The simulator's check of the plugin's capture journal against the ledger,
// fed the ledger's looks and the plugin's lines directly.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/sim/journal_check.h"

namespace {

using Pods = std::vector<sim::HeldPod>;

sim::HeldPod Pod(const std::string& creature, sim::DinoId dino_id, FItemNetID item, const std::string& player = "ava",
                 int64 linked_player_id = 123) {
  return sim::HeldPod{creature, dino_id, item, player, linked_player_id, false};
}

const sim::HeldPod kSplash = Pod("splash", {11, 22}, {33, 44});
const sim::HeldPod kRex = Pod("rex", {55, 66}, {77, 88});

std::string Podded(const std::string& creature_id, const std::string& item, const std::string& player_id = "123") {
  return "Cradlekeep journal event=capture player=\"Ava\" playerId=" + player_id +
         " creature=\"Splash\" class=\"Otter_Character_BP_C\" creatureId=" + creature_id +
         " slot=shoulder trigger=transferButton mode=vanilla outcome=podded item=" + item;
}

std::string Left(const std::string& creature_id) {
  return "Cradlekeep journal event=capture player=\"Ava\" playerId=123 creature=\"Splash\" creatureId=" +
         creature_id + " slot=shoulder trigger=transferButton mode=vanilla outcome=left reason=\"no room in the "
         "inventory\"";
}

// A check whose world held `initial`, now in its first step.
simtool::JournalCheck Started(Pods initial = {}) {
  simtool::JournalCheck check;
  check.Look(std::move(initial));
  check.BeginStep("steps[0]");
  return check;
}

std::string Joined(const std::vector<std::string>& failures) {
  std::string text;
  for (const std::string& f : failures) text += f + "\n";
  return text;
}

TEST(JournalCheckTest, APoddedLineWrittenAfterTheInsertionHolds) {
  simtool::JournalCheck check = Started();
  check.Line(Podded("11,22", "33,44"), {kSplash});
  check.Look({kSplash});
  EXPECT_EQ(Joined(check.Failures()), "");
  ASSERT_EQ(check.Entries().size(), 1u);
  EXPECT_EQ(check.Entries()[0]["item"], nlohmann::ordered_json::array({33, 44}));
}

TEST(JournalCheckTest, APoddedLineWrittenBeforeTheInsertionHolds) {
  simtool::JournalCheck check = Started();
  check.Line(Podded("11,22", "33,44"), {});
  check.Look({kSplash});
  EXPECT_EQ(Joined(check.Failures()), "");
}

TEST(JournalCheckTest, APoddedLineHoldsAfterTheCreatureLeftThePod) {
  simtool::JournalCheck check = Started();
  check.Line(Podded("11,22", "33,44"), {kSplash});
  check.Look({kSplash});
  check.BeginStep("steps[1]");  // an ordinary release, with no line
  check.Look({});
  EXPECT_EQ(Joined(check.Failures()), "");
}

TEST(JournalCheckTest, APoddedLinePointingToAnotherPodFails) {
  simtool::JournalCheck check = Started();
  check.Line(Podded("11,22", "99,99"), {kSplash});
  check.Look({kSplash});
  const std::vector<std::string> failures = check.Failures();
  // The line's pod never held splash; and splash's own pod has no line.
  ASSERT_EQ(failures.size(), 2u) << Joined(failures);
  EXPECT_EQ(failures[0],
            "journal[0] (steps[0], capture podded, creatureId 11,22, item 99,99, playerId 123) points to a pod that "
            "never held that creature after the line; the ledger has it: splash (creatureId 11,22) in item 33,44 of "
            "ava (playerId 123)");
  EXPECT_EQ(failures[1],
            "a capture in steps[0] put splash (creatureId 11,22) in item 33,44 of ava (playerId 123), and no capture "
            "line of that step with outcome=podded agrees with it");
}

TEST(JournalCheckTest, APoddedLineNamingAnotherPlayerOrCreatureFails) {
  for (const auto& [creature_id, player_id] : {std::pair{"11,22", "124"}, std::pair{"11,23", "123"}}) {
    simtool::JournalCheck check = Started();
    check.Line(Podded(creature_id, "33,44", player_id), {kSplash});
    check.Look({kSplash});
    EXPECT_NE(Joined(check.Failures()).find("journal[0]"), std::string::npos) << creature_id << " " << player_id;
  }
}

TEST(JournalCheckTest, APoddedLineNamingAPodTheCreatureLeftBeforeTheLineFails) {
  simtool::JournalCheck check = Started({kSplash});  // the world's pod
  check.Look({});                                      // released
  check.BeginStep("steps[1]");
  check.Line(Podded("11,22", "33,44"), {});
  check.Look({});
  EXPECT_NE(Joined(check.Failures()).find("points to a pod that never held that creature after the line"),
            std::string::npos);
}

TEST(JournalCheckTest, ACapturedCreatureWithoutALineFailsOnceTheJournalHasALine) {
  simtool::JournalCheck check = Started();
  check.Line(Podded("11,22", "33,44"), {kSplash});
  check.Look({kSplash, kRex});
  const std::vector<std::string> failures = check.Failures();
  ASSERT_EQ(failures.size(), 1u) << Joined(failures);
  EXPECT_EQ(failures[0],
            "a capture in steps[0] put rex (creatureId 55,66) in item 77,88 of ava (playerId 123), and no capture "
            "line of that step with outcome=podded agrees with it");
}

TEST(JournalCheckTest, WithoutAnyJournalLineACaptureNeedsNoLine) {
  simtool::JournalCheck check = Started();
  check.Look({kSplash, kRex});
  EXPECT_EQ(Joined(check.Failures()), "");
}

TEST(JournalCheckTest, ALineInAnotherStepDoesNotAccountForACapture) {
  simtool::JournalCheck check = Started();
  check.Look({kSplash});
  check.BeginStep("steps[1]");
  check.Line(Podded("11,22", "33,44"), {kSplash});
  check.Look({kSplash});
  EXPECT_NE(Joined(check.Failures()).find("a capture in steps[0] put splash"), std::string::npos);
}

TEST(JournalCheckTest, TheWorldsPodsAreNoCapture) {
  simtool::JournalCheck check = Started({kRex});
  check.Line(Podded("11,22", "33,44"), {kRex, kSplash});
  check.Look({kRex, kSplash});
  EXPECT_EQ(Joined(check.Failures()), "");
}

TEST(JournalCheckTest, AnUploadedPodIsStillThePlayers) {
  simtool::JournalCheck check = Started();
  check.Line(Podded("11,22", "33,44"), {});
  sim::HeldPod uploaded = kSplash;
  uploaded.uploaded = true;
  check.Look({uploaded});
  EXPECT_EQ(Joined(check.Failures()), "");
}

TEST(JournalCheckTest, KeysTheBuildCannotGiveAgreeWithAnyPod) {
  simtool::JournalCheck check = Started();
  check.Line("Cradlekeep journal event=capture player=\"Ava\" creature=\"Splash\" outcome=podded item=33,44",
             {kSplash});
  check.Line("Cradlekeep journal event=capture player=\"Ava\" creature=\"Rex\" outcome=podded creatureId=55,66",
             {kSplash, kRex});
  check.Look({kSplash, kRex});
  EXPECT_EQ(Joined(check.Failures()), "");
}

TEST(JournalCheckTest, ALeftLineForACreatureItsCapturePoddedFails) {
  // Written once the pod is in; and written before it goes in.
  for (const bool pod_in_before_the_line : {true, false}) {
    simtool::JournalCheck check = Started();
    check.Line(Left("11,22"), pod_in_before_the_line ? Pods{kSplash} : Pods{});
    check.Look({kSplash});
    const std::string failures = Joined(check.Failures());
    EXPECT_NE(failures.find("journal[0] (steps[0], capture left, creatureId 11,22, item -, playerId 123) says the "
                            "creature was left, but that capture put splash (creatureId 11,22) in item 33,44 of ava"),
              std::string::npos)
        << failures;
  }
}

TEST(JournalCheckTest, ALeftLineForACreatureLeftWhereItWasHolds) {
  simtool::JournalCheck check = Started();
  check.Line(Left("11,22"), {});
  check.Line(Podded("55,66", "77,88"), {kRex});
  check.Look({kRex});
  EXPECT_EQ(Joined(check.Failures()), "");
}

TEST(JournalCheckTest, ALeftLineIsNotBlamedForALaterCapturesPod) {
  simtool::JournalCheck check = Started();
  check.Line(Left("11,22"), {});
  check.Line(Podded("11,22", "33,44"), {kSplash});
  check.Look({kSplash});
  EXPECT_EQ(Joined(check.Failures()), "");
}

TEST(JournalCheckTest, ALeftLineIsNotBlamedForAnEarlierCapturesPod) {
  simtool::JournalCheck check = Started();
  check.Line(Podded("11,22", "33,44"), {kSplash});
  check.Line(Left("11,22"), {kSplash});
  check.Look({kSplash});
  EXPECT_EQ(Joined(check.Failures()), "");
}

TEST(JournalCheckTest, ALineThatDoesNotParseFails) {
  simtool::JournalCheck check = Started();
  check.Line("Cradlekeep journal event=capture player=Ava outcome=left", {});
  check.Look({});
  const std::vector<std::string> failures = check.Failures();
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0],
            "a line written in steps[0] does not parse (player must be a quoted text, not Ava): Cradlekeep journal "
            "event=capture player=Ava outcome=left");
  EXPECT_TRUE(check.Entries().empty());
}

TEST(JournalCheckTest, ALineThatDoesNotParseStillPutsTheJournalInForce) {
  simtool::JournalCheck check = Started();
  check.Line("Cradlekeep journal event=capture", {});
  check.Look({kSplash});
  EXPECT_NE(Joined(check.Failures()).find("a capture in steps[0] put splash"), std::string::npos);
}

TEST(JournalCheckTest, AStatusAgreesWithTheJournalSinceThePluginStarted) {
  simtool::JournalCheck check = Started();
  check.PluginStarts();
  check.Line(Podded("11,22", "33,44"), {kSplash});
  check.Line(Left("55,66"), {kSplash});
  check.Line("Cradlekeep journal event=podRemoved playerId=123 item=33,44 player=\"Ava\" by=\"release\"", {});
  check.Status("since start-up: captures 1 done, 1 failed, 0 refused by the cooldown; temporary pods 1 made, "
               "1 removed; clean-up passes pending 0");
  check.Status("Cradlekeep loaded version 1.2.3");  // no status line: nothing to compare
  EXPECT_EQ(Joined(check.Failures()), "");
  check.PluginStarts();  // a reload of the plugin starts its counters again
  check.Status("since start-up: captures 0 done, 0 failed, 0 refused by the cooldown; temporary pods 0 made, "
               "0 removed; clean-up passes pending 0");
  EXPECT_EQ(Joined(check.Failures()), "");
}

TEST(JournalCheckTest, AStatusThatCountsWhatTheJournalLacksFails) {
  simtool::JournalCheck check = Started();
  check.PluginStarts();
  check.Line("Cradlekeep journal event=podRemoved playerId=123 item=33,44 player=\"Ava\" by=\"release\"", {});
  check.Status("since start-up: captures 0 done, 1 failed, 0 refused by the cooldown; temporary pods 0 made, "
               "0 removed; clean-up passes pending 0");
  EXPECT_EQ(Joined(check.Failures()),
            "the status in steps[0] counts 1 captures failed, the journal since start-up has 0 capture lines with "
            "outcome=left\n"
            "the status in steps[0] counts 0 temporary pods removed, the journal since start-up has 1 podRemoved "
            "lines\n");
}

}  // namespace
