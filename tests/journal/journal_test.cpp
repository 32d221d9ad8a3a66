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

TEST(JournalLineTest, FixedFieldsComeFirstAndQuotedTextsLast) {
  Line line("capture");
  line.Text("player", "Ava").Number("playerId", -7).Text("creature", "Rex creatureId=1,1 outcome=podded");
  line.Pair("creatureId", 11, 4294967295u).Word("outcome", "podded");
  EXPECT_EQ(line.text(),
            "Cradlekeep journal event=capture playerId=-7 creatureId=11,4294967295 outcome=podded player=\"Ava\" "
            "creature=\"Rex creatureId=1,1 outcome=podded\"")
      << "a name a player chose cannot stand before the real id or outcome";
}

TEST(JournalLineTest, QuotesAndBackslashesAreEscapedAndLineBreaksBlanked) {
  Line line("capture");
  line.Text("creature", "Big \"Red\" \\o/\nline");
  EXPECT_EQ(line.text(), "Cradlekeep journal event=capture creature=\"Big \\\"Red\\\" \\\\o/ line\"");
}

TEST(JournalLineTest, EveryCharacterThatBreaksOrTurnsALineIsBlanked) {
  using ck::journal::SafeText;
  EXPECT_EQ(SafeText(std::string("a\x7f" "b")), "a b") << "DEL";
  EXPECT_EQ(SafeText("a\xC2\x85" "b\xC2\x80\xC2\x9F"), "a b  ") << "NEL and the rest of C1";
  EXPECT_EQ(SafeText("x\xE2\x80\xA8" "Cradlekeep journal event=capture"), "x Cradlekeep journal event=capture")
      << "U+2028 would read as a second line";
  EXPECT_EQ(SafeText("\xE2\x80\xA9\xE2\x80\x8E\xE2\x80\x8F\xE2\x80\xAA\xE2\x80\xAE\xE2\x81\xA6\xE2\x81\xA9"), "       ")
      << "U+2029 and the bidirectional controls";
  EXPECT_EQ(SafeText("\xE2\x80\xAF\xC2\xA0\xC3\xA9"), "\xE2\x80\xAF\xC2\xA0\xC3\xA9") << "neighbours stay";
}

TEST(JournalLineTest, InvalidUtf8BecomesTheReplacementCharacter) {
  using ck::journal::SafeText;
  const std::string fffd = "\xEF\xBF\xBD";
  EXPECT_EQ(SafeText("a\xFF" "b"), "a" + fffd + "b");
  EXPECT_EQ(SafeText("\xC0\xAF"), fffd + fffd) << "an overlong form";
  EXPECT_EQ(SafeText("\xED\xA0\x80"), fffd + fffd + fffd) << "a surrogate";
  EXPECT_EQ(SafeText("end\xE2\x82"), "end" + fffd + fffd) << "a character cut short";
  EXPECT_EQ(SafeText("\xF0\x9F\xA6\x96"), "\xF0\x9F\xA6\x96") << "a valid four-byte character stays";
}

TEST(JournalLineTest, ALongTextIsCutAtACharacterBoundaryAndMarked) {
  // 92 ASCII bytes and a two-byte character that would end at byte 94.
  std::string text(92, 'a');
  text.append("\xC3\xA9tail");
  EXPECT_EQ(ck::journal::CutText(text, 93), std::string(92, 'a'));
  EXPECT_EQ(ck::journal::SafeText(text), std::string(92, 'a') + "\xE2\x80\xA6");
  const std::string fits(ck::journal::kMaxTextBytes, 'b');
  EXPECT_EQ(ck::journal::SafeText(fits), fits) << "a text that fits is not marked";
  Line line("capture");
  line.Text("creature", text);
  EXPECT_LE(line.text().size(), std::string("Cradlekeep journal event=capture creature=\"\"").size() +
                                    ck::journal::kMaxTextBytes);
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
    line.Text("creature", name).SearchableText(name);
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
  const ck::journal::Found latest = ck::journal::Latest("", 3);
  ASSERT_EQ(latest.lines.size(), 3u);
  EXPECT_EQ(latest.matching, ck::journal::kCapacity);
  // In memory and in answers a line carries its time (UTC; the simulated
  // calendar starts at 08:00) and the server's name (the map's).
  EXPECT_EQ(latest.lines[0],
            "Cradlekeep journal event=capture time=2026-12-10T08:00:00Z server=TheIsland_WP creature=\"c1004\"");
  EXPECT_EQ(latest.lines[2],
            "Cradlekeep journal event=capture time=2026-12-10T08:00:00Z server=TheIsland_WP creature=\"c1002\"");
  EXPECT_EQ(ck::journal::Latest("c4", 50).matching, 111u - 1u) << "c4, c40-c49, c400-c499 but c4 itself went first";
  EXPECT_EQ(ck::state::Current().journal.entries.capacity(), ck::journal::kCapacity) << "the ring never grows";
}

TEST_F(JournalRingTest, AnIdMatchesOnlyAsAWholeAndANameByAnyPart) {
  const auto add = [](const char* name, std::int64_t player, std::uint32_t a, std::uint32_t b) {
    Line line("capture");
    line.Number("playerId", player).SearchableId(std::to_string(player));
    line.Pair("creatureId", a, b).SearchableId(std::to_string(a) + "," + std::to_string(b));
    line.Text("creature", name).SearchableText(name);
    ck::journal::Record(line);
  };
  add("Splash", 424242, 102, 2);
  add("Rex 102,2", 4242421, 102, 23);
  EXPECT_EQ(ck::journal::Latest("102,2", 10).matching, 1u) << "102,23 is another creature";
  EXPECT_EQ(ck::journal::Latest("424242", 10).matching, 1u);
  EXPECT_EQ(ck::journal::Latest("4242421", 10).matching, 1u);
  EXPECT_EQ(ck::journal::Latest("SPLASH", 10).matching, 1u);
  EXPECT_EQ(ck::journal::Latest("rex 102", 10).matching, 1u) << "a text matches names, digits and all";
}

TEST_F(JournalRingTest, TheCommandTakesACountOptionAndAText) {
  Add("Splash");
  Add("Big Rex");
  Add("Pip");
  Add("Big Rex Junior");
  std::vector<std::string> answer = Ask(u"Cradlekeep.Journal -n 1 BIG rex");
  ASSERT_EQ(answer.size(), 2u);
  EXPECT_EQ(answer[0], "Cradlekeep journal: 1 of 2 entries matching \"BIG rex\", newest first (4 held, 0 dropped)");
  EXPECT_EQ(answer[1],
            "#1 Cradlekeep journal event=capture time=2026-12-10T08:00:00Z server=TheIsland_WP creature=\"Big Rex "
            "Junior\"");
  EXPECT_EQ(Ask(u"cradlekeep.journal").front(), "Cradlekeep journal: 4 of 4 entries, newest first (4 held, 0 dropped)");
  EXPECT_EQ(Ask(u"cradlekeep.journal").size(), 1u + 4u) << "every entry when fewer than ten";
  EXPECT_EQ(Ask(u"Cradlekeep.Journal -n 50").size(), 1u + 4u);
  EXPECT_EQ(Ask(u"Cradlekeep.Journal -- -n 2").front(),
            "Cradlekeep journal: 0 of 0 entries matching \"-n 2\", newest first (4 held, 0 dropped)")
      << "after -- every word is the text";
  EXPECT_EQ(Ask(u"Cradlekeep.Journal 424242").front(),
            "Cradlekeep journal: 0 of 0 entries naming id \"424242\", newest first (4 held, 0 dropped)")
      << "a whole number is an id, never a count";
}

TEST_F(JournalRingTest, ABadCountOrOptionGetsTheUsageAnswer) {
  Add("Splash");
  for (const std::u16string line : {u"Cradlekeep.Journal -n 0", u"Cradlekeep.Journal -n 51", u"Cradlekeep.Journal -n",
                                    u"Cradlekeep.Journal -n -5 Splash", u"Cradlekeep.Journal -n 0x10",
                                    u"Cradlekeep.Journal -n 100000000000000000000000", u"Cradlekeep.Journal -x"}) {
    const std::vector<std::string> answer = Ask(line);
    ASSERT_EQ(answer.size(), 2u) << std::string(line.begin(), line.end());
    EXPECT_EQ(answer[1], ck::plugin::kJournalUsage);
  }
  EXPECT_EQ(Ask(u"Cradlekeep.Journal -n 0x10").front(),
            "Cradlekeep journal: the count after -n must be a whole number from 1 to 50, not \"0x10\"");
  EXPECT_EQ(Ask(u"Cradlekeep.Journal -x").front(),
            "Cradlekeep journal: unknown option \"-x\" (to search for it, put -- before it)");
}

TEST_F(JournalRingTest, AnAnswerStaysUnderOneReplysSize) {
  // Fifty of the longest entries a line can make.
  const std::string name(ck::journal::kMaxTextBytes, 'x');
  for (int i = 0; i < 60; ++i) {
    Line line("capture");
    line.Text("player", name).Text("creature", name).Text("class", name).Text("reason", name).SearchableText(name);
    ck::journal::Record(line);
  }
  const std::vector<std::string> answer = Ask(u"Cradlekeep.Journal -n 50");
  std::size_t bytes = 0;
  for (const std::string& l : answer) bytes += l.size() + 1;
  EXPECT_LT(bytes - 1, ck::plugin::kJournalMostAnswerBytes);
  const std::size_t shown = answer.size() - 2;
  ASSERT_GT(shown, 5u);
  EXPECT_EQ(answer.front().rfind("Cradlekeep journal: " + std::to_string(shown) + " of 60 entries,", 0), 0u)
      << answer.front();
  EXPECT_EQ(answer.back(), std::to_string(50 - shown) + " more: narrow the search");
  EXPECT_EQ(Ask(u"Cradlekeep.Journal -n 3").size(), 4u) << "an answer that fits is not cut";
}

}  // namespace
