// The capture journal: the shape of its lines, the ring that keeps the latest
// entries, and the admin command that reads them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/framework/engine_text.h"
#include "journal/journal.h"
#include "journal/journal_line.h"
#include "plugin/journal_command.h"
#include "support/plugin_fixture.h"

namespace {

using ck::journal::Line;

TEST(JournalLineTest, PairsFollowTheEventInTheOrderAdded) {
  Line line("capture");
  line.Text("player", "Ava").Number("playerId", -7).Pair("creatureId", 11, 4294967295u).Word("outcome", "podded");
  EXPECT_EQ(line.text(),
            "Cradlekeep journal event=capture player=\"Ava\" playerId=-7 creatureId=11,4294967295 outcome=podded");
}

TEST(JournalLineTest, QuotesAndBackslashesAreEscapedAndLineBreaksBlanked) {
  Line line("capture");
  line.Text("creature", "Big \"Red\" \\o/\nline");
  EXPECT_EQ(line.text(), "Cradlekeep journal event=capture creature=\"Big \\\"Red\\\" \\\\o/ line\"");
}

TEST(JournalLineTest, ALongTextIsCutAtACharacterBoundary) {
  // 95 ASCII bytes and a two-byte character that would end at byte 97.
  std::string text(95, 'a');
  text.append("\xC3\xA9tail");
  EXPECT_EQ(ck::journal::CutText(text, ck::journal::kMaxTextBytes), std::string(95, 'a'));
  Line line("capture");
  line.Text("creature", text);
  EXPECT_EQ(line.text().size(), std::string("Cradlekeep journal event=capture creature=\"\"").size() + 95);
}

class JournalRingTest : public cktest::PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    WriteConfig("{}");
    Start();
  }
  static void Add(const std::string& name) {
    Line line("capture");
    line.Text("creature", name).Searchable("\"" + name + "\"");
    ck::journal::Record(line);
  }
  static std::vector<std::string> Ask(const std::u16string& command) {
    ck::host::EngineString line = ck::host::MakeFString(command);
    return ck::plugin::JournalAnswer(line.get());
  }
};

TEST_F(JournalRingTest, EveryEntryIsAnInfoLineWhateverTheDebugSwitch) {
  Add("Splash");
  ASSERT_FALSE(Lines().empty());
  EXPECT_EQ(Lines().back(), "Cradlekeep journal event=capture creature=\"Splash\"");
}

TEST_F(JournalRingTest, TheRingKeepsTheLatestEntriesAndCountsTheDropped) {
  for (std::size_t i = 0; i < ck::journal::kCapacity + 5; ++i) Add("c" + std::to_string(i));
  EXPECT_EQ(ck::journal::Held(), ck::journal::kCapacity);
  EXPECT_EQ(ck::journal::Dropped(), 5u);
  const std::vector<std::string> latest = ck::journal::Latest("", 3);
  ASSERT_EQ(latest.size(), 3u);
  EXPECT_EQ(latest[0], "Cradlekeep journal event=capture creature=\"c1004\"");
  EXPECT_EQ(latest[2], "Cradlekeep journal event=capture creature=\"c1002\"");
  EXPECT_TRUE(ck::journal::Latest("\"c0\"", 50).empty()) << "the oldest went first";
  EXPECT_EQ(ck::journal::Latest("c5", 1).size(), 1u);
  EXPECT_EQ(ck::state::Current().journal.entries.capacity(), ck::journal::kCapacity) << "the ring never grows";
}

TEST_F(JournalRingTest, TheCommandTakesATextAndACountInAnyLetterCase) {
  Add("Splash");
  Add("Big Rex");
  Add("Pip");
  Add("Big Rex Junior");
  const std::vector<std::string> answer = Ask(u"Cradlekeep.Journal BIG rex 1");
  ASSERT_EQ(answer.size(), 2u);
  EXPECT_EQ(answer[0], "Cradlekeep journal: 1 entry matching \"BIG rex\", newest first (4 held, 0 dropped)");
  EXPECT_EQ(answer[1], "#1 Cradlekeep journal event=capture creature=\"Big Rex Junior\"");
  EXPECT_EQ(Ask(u"cradlekeep.journal").size(), 1u + 4u) << "every entry when fewer than ten";
  EXPECT_EQ(Ask(u"Cradlekeep.Journal 0").size(), 1u + 1u) << "at least one";
  EXPECT_EQ(Ask(u"Cradlekeep.Journal 9999").size(), 1u + 4u);
  EXPECT_EQ(Ask(u"Cradlekeep.Journal 2x").front(),
            "Cradlekeep journal: 0 entries matching \"2x\", newest first (4 held, 0 dropped)");
}

TEST_F(JournalRingTest, AtMostFiftyEntriesAnswer) {
  for (int i = 0; i < 60; ++i) Add("c" + std::to_string(i));
  const std::vector<std::string> answer = Ask(u"Cradlekeep.Journal 50");
  ASSERT_EQ(answer.size(), 51u);
  EXPECT_EQ(answer[1], "#1 Cradlekeep journal event=capture creature=\"c59\"");
  EXPECT_EQ(Ask(u"Cradlekeep.Journal").size(), 11u) << "ten by default";
}

}  // namespace
