// "Cradlekeep.Journal [-n N] [--] [text]": the capture journal for an admin.
//
// The grammar has one reading for every line:
//   - `-n N` (first) asks for the latest N matching entries, N a decimal
//     whole number from 1 to 50; without it, 10;
//   - `--` ends the options, so that a text may begin with "-";
//   - every other word, joined by single blanks, is the text searched for:
//     a whole id as the lines print it (a player id, a creature id "102,2",
//     an item id), or any part of a player's or creature's name, ASCII
//     letters in any case (other letters as typed).
// A bad count or an unknown option gets the usage answer and searches
// nothing. The answer's first line says what was searched for and how many
// of the matching entries it shows; the entries follow, newest first,
// numbered. The whole answer stays under kJournalMostAnswerBytes, so that
// it fits one RCON reply and one chat message for every client; entries
// that do not fit are counted in a last line "N more: narrow the search".
// Game thread only.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "asa/engine_types.h"

namespace ck::plugin {

inline constexpr std::size_t kJournalDefaultCount = 10;
inline constexpr std::size_t kJournalMostCount = 50;
// An answer's bytes (UTF-8, its lines joined by "\n") stay below this.
inline constexpr std::size_t kJournalMostAnswerBytes = 4096;

inline constexpr const char* kJournalUsage =
    "Usage: Cradlekeep.Journal [-n N] [--] [text]: the latest N entries (10 unless given, 1 to 50) whose player "
    "or creature name holds the text, or that name the id given as the lines print it (424242, 102,2)";

// The answer's lines: the head line, then the entries ("#1 " before the
// newest), then "N more: narrow the search" when entries did not fit; or a
// usage answer.
std::vector<std::string> JournalAnswer(FString* line);

// The status's journal line: how many entries the journal holds and has
// dropped, and the fields it leaves out on this game build and why.
std::string JournalStatusLine();

}  // namespace ck::plugin
