// The journal's ring and its log line.
#include "journal/journal.h"

#include <algorithm>

#include "core/boundary.h"
#include "core/log.h"
#include "core/text.h"
#include "state/plugin_state.h"

namespace ck::journal {

void Record(const Line& line) noexcept {
  core::Contain([&] { log::Write(log::Level::kInfo, line.text()); }, [](const char*) {});
  core::Contain(
      [&] {
        if (!state::Running()) return;
        state::JournalRing& ring = state::Current().journal;
        if (ring.entries.size() < kCapacity) {
          if (ring.entries.capacity() < kCapacity) ring.entries.reserve(kCapacity);
          ring.entries.push_back(state::JournalEntry{line.text(), line.search()});
          return;
        }
        ring.entries[ring.next] = state::JournalEntry{line.text(), line.search()};
        ring.next = (ring.next + 1) % kCapacity;
        ++ring.dropped;
      },
      [](const char*) {});
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
  const state::JournalRing& ring = state::Current().journal;
  // An id matches only as a whole ("\t<id>\t"); a text matches any part of
  // a name (ids never hold a letter, and no name holds a tab).
  const std::string wanted = IsIdQuery(query) ? "\t" + std::string(query) + "\t" : core::ToLowerCopy(query);
  Found found;
  const std::size_t held = ring.entries.size();
  // The newest entry sits just before `next` once the ring is full.
  const std::size_t newest = held < kCapacity ? held - 1 : (ring.next + kCapacity - 1) % kCapacity;
  for (std::size_t k = 0; k < held; ++k) {
    const state::JournalEntry& entry = ring.entries[(newest + held - k) % held];
    if (!wanted.empty() && entry.search.find(wanted) == std::string::npos) continue;
    ++found.matching;
    if (found.lines.size() < count) found.lines.push_back(entry.line);
  }
  return found;
}

std::size_t Held() { return state::Current().journal.entries.size(); }

std::uint64_t Dropped() { return state::Current().journal.dropped; }

}  // namespace ck::journal
