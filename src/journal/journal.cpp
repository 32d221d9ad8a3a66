// The journal's ring and its log line.
#include "journal/journal.h"

#include <algorithm>

#include "core/boundary.h"
#include "core/log.h"
#include "core/text.h"
#include "core/utc_time.h"
#include "host/framework/clock.h"
#include "journal/journal_cluster.h"
#include "journal/journal_entry.h"
#include "journal/journal_store.h"
#include "state/plugin_state.h"

namespace ck::journal {

namespace {

void Keep(state::JournalEntry entry) {
  state::JournalRing& ring = state::Current().journal;
  if (ring.entries.size() < kCapacity) {
    if (ring.entries.capacity() < kCapacity) ring.entries.reserve(kCapacity);
    ring.entries.push_back(std::move(entry));
    return;
  }
  ring.entries[ring.next] = std::move(entry);
  ring.next = (ring.next + 1) % kCapacity;
  ++ring.dropped;
}

}  // namespace

void Record(const Line& line) noexcept {
  core::Contain([&] { log::Write(log::Level::kInfo, line.text()); }, [](const char*) {});
  core::Contain(
      [&] {
        if (!state::Running()) return;
        // Opened first: the file's read back comes before this entry, and its
        // server's name is the one the line carries.
        EnsureFilesOpen();
        std::string stamped = line.Stamped(core::UtcText(host::UtcNowSeconds()), ServerName());
        Keep(state::JournalEntry{stamped, line.search()});
        WriteToFile(std::move(stamped));
      },
      [](const char*) {});
}

std::size_t Restore(std::vector<state::JournalEntry> entries) {
  const std::size_t first = entries.size() > kCapacity ? entries.size() - kCapacity : 0;
  for (std::size_t i = first; i < entries.size(); ++i) Keep(std::move(entries[i]));
  state::Current().journal.dropped = 0;
  return entries.size() - first;
}

bool IsIdQuery(std::string_view query) {
  if (query.empty()) return false;
  const std::size_t comma = query.find(',');
  const auto digits = [](std::string_view part) {
    return !part.empty() && std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  if (comma == std::string_view::npos) return digits(query[0] == '-' ? query.substr(1) : query);
  return digits(query.substr(0, comma)) && digits(query.substr(comma + 1));
}

Found Latest(std::string_view query, std::size_t count) {
  EnsureFilesOpen();
  const state::JournalRing& ring = state::Current().journal;
  // An id matches only as a whole ("\t<id>\t"); a text matches any part of
  // a name (ids never hold a letter, and no name holds a tab).
  const std::string wanted = IsIdQuery(query) ? "\t" + std::string(query) + "\t" : core::ToLowerCopy(query);
  const auto matches = [&](const state::JournalEntry& entry) {
    return wanted.empty() || entry.search.find(wanted) != std::string::npos;
  };
  Found found;
  std::vector<const state::JournalEntry*> own;
  const std::size_t held = ring.entries.size();
  // The newest entry sits just before `next` once the ring is full.
  const std::size_t newest = held < kCapacity ? held - 1 : (ring.next + kCapacity - 1) % kCapacity;
  for (std::size_t k = 0; k < held; ++k) {
    const state::JournalEntry& entry = ring.entries[(newest + held - k) % held];
    if (!matches(entry)) continue;
    ++found.matching;
    if (own.size() < count) own.push_back(&entry);
  }
  const state::JournalFiles& files = state::Current().journal_files;
  ClusterFound cluster =
      SearchOtherServers(files.folder.empty() ? std::string() : files.io_folder, files.server, matches, count);
  found.matching += cluster.matching;
  found.others = std::move(cluster.others);
  std::vector<const state::JournalEntry*> merged = own;
  for (const state::JournalEntry& entry : cluster.entries) merged.push_back(&entry);
  // Newest first by time; this server's entries first at the same second.
  std::stable_sort(merged.begin(), merged.end(), [](const state::JournalEntry* a, const state::JournalEntry* b) {
    return TimeOf(a->line) > TimeOf(b->line);
  });
  for (std::size_t i = 0; i < merged.size() && i < count; ++i) found.lines.push_back(merged[i]->line);
  return found;
}

std::size_t Held() { return state::Current().journal.entries.size(); }

std::uint64_t Dropped() { return state::Current().journal.dropped; }

}  // namespace ck::journal
