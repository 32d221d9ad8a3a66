#include "transfer/capture_cooldown.h"

#include <unordered_map>

#include "config/plugin_config.h"
#include "host/clock.h"

namespace ck::transfer {

namespace {

std::unordered_map<const void*, int64>& CaptureCooldownTable() {
  static std::unordered_map<const void*, int64> table;
  return table;
}

// Past this many pawns the table forgets the ones whose cooldown is over: an
// entry at least CaptureCooldownSeconds old lets its pawn through exactly as
// a missing entry does, so forgetting it changes no answer. Without this the
// table would hold every pawn let through since start-up.
constexpr std::size_t kPruneAbove = 256;

void ForgetCooledDownPawns(std::unordered_map<const void*, int64>& table, int64 now) {
  const double cooldown = config::Current().CaptureCooldownSeconds;
  for (auto it = table.begin(); it != table.end();) {
    if (!(cooldown > static_cast<double>(now - it->second) / 1'000'000'000.0)) {
      it = table.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace

bool PassesCaptureCooldown(const void* pawn) {
  const int64 now = host::SteadyNowNanoseconds();
  auto& table = CaptureCooldownTable();
  auto it = table.find(pawn);
  if (it != table.end() &&
      config::Current().CaptureCooldownSeconds > static_cast<double>(now - it->second) / 1'000'000'000.0) {
    return false;
  }
  if (table.size() >= kPruneAbove && it == table.end()) ForgetCooledDownPawns(table, now);
  table[pawn] = now;
  return true;
}

void ClearCaptureCooldownTable() { CaptureCooldownTable().clear(); }

std::size_t CaptureCooldownTableSize() { return CaptureCooldownTable().size(); }

}  // namespace ck::transfer
