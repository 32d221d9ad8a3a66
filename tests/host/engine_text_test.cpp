#include <gtest/gtest.h>

#include "host/framework/engine_text.h"
#include "host/engine/names.h"
#include "support/sim_world.h"

namespace {

using EngineTextTest = cktest::SimWorldTest;
using ck::host::FStringToAscii;
using ck::host::FStringToUtf8;
using ck::host::MakeFString;
using ck::host::Utf8ToUtf16;

TEST_F(EngineTextTest, Utf8RoundTripsEveryPlaneIncludingSurrogatePairs) {
  const std::string text = "Splash é Ж 漢 🦦";
  const auto wide = MakeFString(Utf8ToUtf16(text));
  EXPECT_EQ(wide->Len(), 15) << "the otter takes two code units";
  EXPECT_EQ(FStringToUtf8(*wide), text);
}

TEST_F(EngineTextTest, ALoneSurrogateBecomesTheReplacementCharacter) {
  const char16_t units[] = {u'a', 0xD83E, u'b', 0xDC00};
  const auto wide = MakeFString(std::u16string_view(units, 4));
  EXPECT_EQ(FStringToUtf8(*wide), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
}

TEST_F(EngineTextTest, NullAndEmptyTextsGiveEmptyStrings) {
  EXPECT_EQ(FStringToUtf8(nullptr), "");
  EXPECT_EQ(FStringToUtf8(FString()), "");
  EXPECT_EQ(FStringToAscii(nullptr), "");
}

TEST_F(EngineTextTest, AsciiKeepsUnitsUpTo127AndMarksEachOtherWithAQuestionMark) {
  const auto wide = MakeFString(u"on \u00e9\u6f22\U0001F9A6!\x7f");
  EXPECT_EQ(FStringToAscii(wide.get()), std::string("on ????") + "!\x7f");
}

TEST_F(EngineTextTest, InvalidUtf8BecomesReplacementCharacters) {
  EXPECT_EQ(Utf8ToUtf16("a\xC3"), u"a\uFFFD");             // truncated
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD");          // overlong
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80x"), u"\uFFFDx");   // encoded surrogate
  EXPECT_EQ(Utf8ToUtf16("\xFFz"), u"\uFFFDz");            // no such lead byte
  EXPECT_EQ(Utf8ToUtf16("\xE6\xBCx"), u"\uFFFDx");        // cut short before another character
}

// The engine's names fold letter case: a name made again in other letters
// is the same name, and its text is the first spelling.
TEST_F(EngineTextTest, NamesFoldLetterCaseAndKeepTheirFirstSpelling) {
  const FName added = ck::host::MakeName("CradlekeepTemporaryCryopod", FNAME_Add);
  const FName other_case = ck::host::MakeName("cradlekeeptemporarycryopod", FNAME_Add);
  EXPECT_EQ(added.ComparisonIndex, other_case.ComparisonIndex);
  EXPECT_EQ(ck::host::NameToUtf8(added), "CradlekeepTemporaryCryopod");
  EXPECT_EQ(ck::host::NameToUtf8(other_case), "CradlekeepTemporaryCryopod");
  const FName missing = ck::host::MakeName("NeverAdded", FNAME_Find);
  EXPECT_EQ(missing.ComparisonIndex, 0);
  EXPECT_EQ(ck::host::NameToUtf8(missing), "None");
}

}  // namespace
