// The other servers' journals: when the journal's folder is one that the
// servers of a cluster share, a search also reads the end of each other
// server's file there. Reads are bounded (kClusterFiles files, the last
// kClusterTailBytes of each), so an answer costs the game thread a bounded
// time; a file that cannot be read, that is not a journal file, or whose
// lines were cut short is left out with a word in the answer, never an error.
// Game thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "journal/journal.h"
#include "state/journal_ring.h"

namespace ck::journal {

inline constexpr std::size_t kClusterFiles = 16;
inline constexpr std::uint64_t kClusterTailBytes = 64 * 1024;

struct ClusterFound {
  // The latest matching entries of each server read, newest first within
  // each server (at most the count asked for from each).
  std::vector<state::JournalEntry> entries;
  std::size_t matching = 0;
  OtherServers others;
};

// Searches the current files of the servers other than `own` in `folder`.
ClusterFound SearchOtherServers(const std::string& folder, const std::string& own,
                                const std::function<bool(const state::JournalEntry&)>& matches, std::size_t count);

}  // namespace ck::journal
