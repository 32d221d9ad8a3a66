// The simulator's reading of the plugin's capture journal lines.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

#include "tools/sim/journal_line.h"

namespace {

using nlohmann::ordered_json;
using simtool::ParseJournalLine;

ordered_json Parsed(const std::string& text) {
  const simtool::ParsedJournalLine parsed = ParseJournalLine(text);
  EXPECT_TRUE(parsed.entry.has_value()) << text << ": " << parsed.problem;
  return parsed.entry.value_or(ordered_json());
}

std::string Problem(const std::string& text) {
  const simtool::ParsedJournalLine parsed = ParseJournalLine(text);
  EXPECT_FALSE(parsed.entry.has_value()) << text << " parsed as " << parsed.entry.value_or(ordered_json()).dump();
  return parsed.problem;
}

TEST(JournalLineTest, APoddedCaptureGivesEveryKindOfValue) {
  const ordered_json entry = Parsed(
      "Cradlekeep journal event=capture player=\"Ava\" playerId=123 creature=\"Splash\" class=\"Otter_Character_BP_C\" "
      "creatureId=11,22 slot=shoulder trigger=transferButton mode=vanilla outcome=podded item=33,44");
  EXPECT_EQ(entry.dump(),
            R"({"event":"capture","player":"Ava","playerId":123,"creature":"Splash","creatureId":[11,22],)"
            R"("outcome":"podded","item":[33,44],"reason":null,"class":"Otter_Character_BP_C","slot":"shoulder",)"
            R"("trigger":"transferButton","mode":"vanilla"})");
}

TEST(JournalLineTest, ACompanionLeftHasAReasonAndNoItem) {
  const ordered_json entry = Parsed(
      "Cradlekeep journal event=capture player=\"Ava\" playerId=123 creature=\"Splash\" creatureId=11,22 "
      "outcome=left reason=\"no room in the inventory\"");
  EXPECT_EQ(entry["outcome"], "left");
  EXPECT_EQ(entry["reason"], "no room in the inventory");
  EXPECT_TRUE(entry["item"].is_null());
}

TEST(JournalLineTest, TheOtherEventsParse) {
  EXPECT_EQ(Parsed("Cradlekeep journal event=release player=\"Ava\" playerId=123 creature=\"Splash\" "
                   "creatureId=11,22 item=33,44")["item"],
            ordered_json::array({33, 44}));
  const ordered_json removed =
      Parsed("Cradlekeep journal event=podRemoved player=\"Ava\" playerId=123 item=33,44 by=\"recurring scan\"");
  EXPECT_EQ(removed["by"], "recurring scan");
  EXPECT_TRUE(removed["creatureId"].is_null());
  EXPECT_TRUE(removed["outcome"].is_null());
  EXPECT_EQ(Parsed("Cradlekeep journal event=sicknessCleared player=\"Ava\" playerId=123 creature=\"Splash\" "
                   "creatureId=11,22")["event"],
            "sicknessCleared");
}

TEST(JournalLineTest, QuotedTextsKnowTwoEscapes) {
  const ordered_json entry = Parsed(
      R"(Cradlekeep journal event=release player="Ava \"the Bold\" \\ Storm" creature="a=b c" reason="")");
  EXPECT_EQ(entry["player"], R"(Ava "the Bold" \ Storm)");
  EXPECT_EQ(entry["creature"], "a=b c") << "a quoted text may hold blanks and equals signs";
  EXPECT_EQ(entry["reason"], "");
}

TEST(JournalLineTest, ExtremeNumbersFit) {
  const ordered_json entry =
      Parsed("Cradlekeep journal event=release playerId=-9223372036854775808 creatureId=0,4294967295");
  EXPECT_EQ(entry["playerId"].get<long long>(), -9223372036854775807LL - 1);
  EXPECT_EQ(entry["creatureId"], ordered_json::array({0u, 4294967295u}));
}

TEST(JournalLineTest, MissingKeysAreNullAndUnknownKeysAreKept) {
  const ordered_json entry =
      Parsed("Cradlekeep journal event=capture outcome=podded note=\"x y\" count=-5 pair=1,2 word=abc_1");
  EXPECT_TRUE(entry["player"].is_null());
  EXPECT_TRUE(entry["playerId"].is_null());
  EXPECT_TRUE(entry["creature"].is_null());
  EXPECT_TRUE(entry["creatureId"].is_null());
  EXPECT_EQ(entry["note"], "x y");
  EXPECT_EQ(entry["count"], -5);
  EXPECT_EQ(entry["pair"], ordered_json::array({1, 2}));
  EXPECT_EQ(entry["word"], "abc_1");
}

TEST(JournalLineTest, OnlyLinesWithThePrefixAreJournalLines) {
  EXPECT_TRUE(simtool::IsJournalLine("Cradlekeep journal event=release"));
  EXPECT_FALSE(simtool::IsJournalLine("Cradlekeep journalist event=release"));
  EXPECT_FALSE(simtool::IsJournalLine("Cradlekeep captured Splash"));
}

struct Broken {
  const char* body;   // after the prefix
  const char* why;    // part of the problem named
};

void PrintTo(const Broken& broken, std::ostream* out) { *out << '"' << broken.body << '"'; }

class BrokenJournalLineTest : public ::testing::TestWithParam<Broken> {};

TEST_P(BrokenJournalLineTest, DoesNotParseAndSaysWhy) {
  const std::string problem = Problem(std::string("Cradlekeep journal ") + GetParam().body);
  EXPECT_NE(problem.find(GetParam().why), std::string::npos) << problem;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BrokenJournalLineTest,
    ::testing::Values(
        Broken{"", "no key=value pairs"},
        Broken{"event=release player=\"Ava\\n\"", "escape other than"},
        Broken{"event=release player=\"Ava", "is not closed"},
        Broken{"event=release player=\"Ava\"x", "one space each"},
        Broken{"event=release player=Ava", "player must be a quoted text"},
        Broken{"event=release creatureId=11", "creatureId must be two unsigned 32-bit numbers"},
        Broken{"event=release creatureId=11,22,33", "creatureId must be two"},
        Broken{"event=release item=1,4294967296", "item must be two"},
        Broken{"event=release item=-1,2", "item must be two"},
        Broken{"event=release item=\"1,2\"", "item must be two"},
        Broken{"event=release playerId=12a", "playerId must be a whole number"},
        Broken{"event=release playerId=+12", "playerId must be a whole number"},
        Broken{"event=release playerId=99999999999999999999", "playerId must be a whole number"},
        Broken{"event=\"release\"", "event must be a bare word"},
        Broken{"event=release slot=shoulder-left", "slot must be a bare word"},
        Broken{"player=\"Ava\"", "no event"},
        Broken{"event=jump", "unknown event jump"},
        Broken{"event=capture player=\"Ava\"", "a capture without an outcome"},
        Broken{"event=capture outcome=maybe", "outcome must be podded or left"},
        Broken{"event=release  player=\"Ava\"", "one space each"},
        Broken{"event=release ", "one space each"},
        Broken{"event=release event=release", "event is given twice"},
        Broken{"event=release player=", "player has no value"},
        Broken{"event=release player", "expected key=value"},
        Broken{"event=release 1st=2", "expected key=value"},
        Broken{"event=release note=a\"b", "cut by a quote"}));

TEST(JournalLineTest, ALineWithoutThePrefixDoesNotParse) {
  EXPECT_NE(Problem("Cradlekeep journalevent=release").find("does not start with"), std::string::npos);
}

}  // namespace
