// The journal's ring and its log line.
#include "journal/journal.h"

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

std::vector<std::string> Latest(std::string_view filter, std::size_t count) {
  const state::JournalRing& ring = state::Current().journal;
  const std::string wanted = core::ToLowerCopy(filter);
  std::vector<std::string> lines;
  const std::size_t held = ring.entries.size();
  // The newest entry sits just before `next` once the ring is full.
  for (std::size_t k = 0; k < held && lines.size() < count; ++k) {
    const std::size_t newest = held < kCapacity ? held - 1 : (ring.next + kCapacity - 1) % kCapacity;
    const state::JournalEntry& entry = ring.entries[(newest + held - k) % held];
    if (wanted.empty() || entry.search.find(wanted) != std::string::npos) lines.push_back(entry.line);
  }
  return lines;
}

std::size_t Held() { return state::Current().journal.entries.size(); }

std::uint64_t Dropped() { return state::Current().journal.dropped; }

}  // namespace ck::journal
