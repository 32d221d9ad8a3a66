// What the capture journal keeps in memory: the latest entries, in a ring of
// fixed capacity, so that it never grows with the server's uptime.
// Game thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ck::state {

// One entry: the line as the log has it, and the text a filter searches
// (the player's and the creature's names and ids, lower case).
struct JournalEntry {
  std::string line;
  std::string search;
};

struct JournalRing {
  // Filled up to the capacity, then overwritten oldest first.
  std::vector<JournalEntry> entries;
  // Where the next entry goes once the ring is full.
  std::size_t next = 0;
  // Entries overwritten since start-up.
  std::uint64_t dropped = 0;
};

}  // namespace ck::state
