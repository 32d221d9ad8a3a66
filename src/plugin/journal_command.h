// "Cradlekeep.Journal [text] [N]": the latest N entries of the capture
// journal (10 when N is not given, at most 50), newest first, of those
// whose player or creature name or id contains the text (any letter case).
// The last word is N when it is a whole number; the words before it, joined
// by single blanks, are the text.
// Game thread only.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "asa/engine_types.h"

namespace ck::plugin {

inline constexpr std::size_t kJournalDefaultCount = 10;
inline constexpr std::size_t kJournalMostCount = 50;

// The answer's lines: a first line saying what was asked and how many
// entries the journal holds, then the entries, "#1 " before the newest.
std::vector<std::string> JournalAnswer(FString* line);

// The status's journal line: how many entries the journal holds and has
// dropped, and the fields this game build lacks.
std::string JournalStatusLine();

}  // namespace ck::plugin
