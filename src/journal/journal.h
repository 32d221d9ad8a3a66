// The capture journal: what the plugin did to each player's creature, written
// down where an admin can read it whatever the debug switch says. Every entry
// is one info line in the log, one line in this server's journal file (with
// its time and the server's name: journal_store.h) and one entry in a ring of
// the latest kCapacity entries, which the admin command "Cradlekeep.Journal"
// reads. Nothing here is on a hot path: entries come from captures and from
// a temporary pod's later life. Game thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "journal/journal_line.h"
#include "state/journal_ring.h"

namespace ck::journal {

inline constexpr std::size_t kCapacity = 1000;

// Writes the line at info level, stamps it with the time (UTC) and the
// server's name, keeps it in the ring (overwriting the oldest entry once the
// ring is full) and hands it to the journal file's writer. Never throws: an
// entry that cannot be kept is still in the log, or lost with the log itself.
void Record(const Line& line) noexcept;

// Puts entries read back from the file in the ring, oldest first, before any
// new one; the latest kCapacity are kept. Returns how many the ring took.
std::size_t Restore(std::vector<state::JournalEntry> entries);

// What a search read of the other servers' files: the servers read, in
// name order; "<file>: <why>" for each file or line left out; how many
// files were beyond the bound and not read.
struct OtherServers {
  std::vector<std::string> servers;
  std::vector<std::string> skipped;
  std::size_t not_read = 0;
};

// What a search found: the latest entries that match, newest first, how
// many match in all, and what it read of the other servers' files.
struct Found {
  std::vector<std::string> lines;
  std::size_t matching = 0;
  OtherServers others;
};

// The latest `count` entries that match `query`, newest first, from the
// ring and from the other servers' files in the journal's folder (by their
// times). An empty query matches every entry. A query that is an id as the lines print it (a
// whole number, or two joined by a comma) matches an entry that names that
// whole id: a player id, a creature id or an item id ("102,2" is not
// "102,23"). Any other query matches an entry whose player or creature name
// holds it, ASCII letters in any case.
Found Latest(std::string_view query, std::size_t count);

// Whether a query is searched as an id (see Latest).
bool IsIdQuery(std::string_view query);

// How many entries the ring holds, and how many it has overwritten since
// start-up.
std::size_t Held();
std::uint64_t Dropped();

}  // namespace ck::journal
