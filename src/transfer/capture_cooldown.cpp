#include "transfer/capture_cooldown.h"

#include <unordered_map>

#include "config/plugin_config.h"
#include "state/plugin_state.h"
#include "host/framework/clock.h"

namespace ck::transfer {

namespace {

std::unordered_map<const void*, int64>& CaptureCooldownTable() { return state::Current().capture_stamps; }

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
    ++state::Current().counters.refused_by_cooldown;
    return false;
  }
  if (table.size() >= kCooldownPruneAbove && it == table.end()) ForgetCooledDownPawns(table, now);
  table[pawn] = now;
  return true;
}

std::size_t CaptureCooldownTableSize() { return CaptureCooldownTable().size(); }

}  // namespace ck::transfer
