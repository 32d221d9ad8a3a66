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

}  // namespace

bool PassesCaptureCooldown(const void* pawn) {
  const int64 now = host::SteadyNowNanoseconds();
  auto& table = CaptureCooldownTable();
  auto it = table.find(pawn);
  if (it != table.end() &&
      config::Current().CaptureCooldownSeconds > static_cast<double>(now - it->second) / 1'000'000'000.0) {
    return false;
  }
  table[pawn] = now;
  return true;
}

void ClearCaptureCooldownTable() { CaptureCooldownTable().clear(); }

std::size_t CaptureCooldownTableSize() { return CaptureCooldownTable().size(); }

}  // namespace ck::transfer
