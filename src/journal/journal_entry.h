// Reading a journal line back: a line of a journal file, this server's or
// another's, made a ring entry again (the line and what a search looks in).
//
// Only a whole, well-formed line is taken: "Cradlekeep journal event=<word>
// time=<UTC time> server=<server>", then key=value pairs with bare values,
// then key="text" pairs, and nothing else. A line cut short by a crash, two
// lines run together, or a line of anything else is refused.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "state/journal_ring.h"

namespace ck::journal {

// The entry of a line as the files hold it; nothing for a line that is not
// one. What a search looks in is made as the line's writer made it: the
// player's and the creature's names, and the ids of playerId, creatureId
// and item.
std::optional<state::JournalEntry> ReadEntry(std::string_view line);

// The entries of lines read back, in their order, and how many lines were
// no entry.
struct ReadEntries {
  std::vector<state::JournalEntry> entries;
  std::size_t unreadable = 0;
};
ReadEntries ReadAll(const std::vector<std::string>& lines);

// The time and the server a stamped line carries (empty when it carries
// none).
std::string_view TimeOf(std::string_view line);
std::string_view ServerOf(std::string_view line);

}  // namespace ck::journal
