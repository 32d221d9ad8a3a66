// The capture journal: what the plugin did to each player's creature, written
// down where an admin can read it whatever the debug switch says. Every entry
// is one info line in the log and one entry in a ring of the latest
// kCapacity entries, which the admin command "Cradlekeep.Journal" reads.
// Nothing here is on a hot path: entries come from captures and from a
// temporary pod's later life. Game thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "journal/journal_line.h"

namespace ck::journal {

inline constexpr std::size_t kCapacity = 1000;

// Writes the line at info level and keeps it in the ring, overwriting the
// oldest entry once the ring is full. Never throws: an entry that cannot be
// kept is still in the log, or lost with the log itself.
void Record(const Line& line) noexcept;

// The latest `count` entries, newest first, of those whose player or
// creature name or id contains `filter` (any letter case; every entry for
// an empty filter).
std::vector<std::string> Latest(std::string_view filter, std::size_t count);

// How many entries the ring holds, and how many it has overwritten since
// start-up.
std::size_t Held();
std::uint64_t Dropped();

}  // namespace ck::journal
