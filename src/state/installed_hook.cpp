#include "state/installed_hook.h"

#include "core/boundary.h"
#include "core/log.h"
#include "host/framework/framework.h"

namespace ck::state {

bool InstalledHook::Remove() noexcept {
  if (detour_ == nullptr) return true;
  // Dropped by the framework: it would answer false, and there is nothing
  // to take out.
  if (*original_ == nullptr) {
    detour_ = nullptr;
    return true;
  }
  bool removed = false;
  core::Contain([&] { removed = host::DisableHook(key_, detour_); },
                [&](const char* what) { log::Warn("Cradlekeep hook disable failed: {} ({})", key_, what); });
  if (removed) detour_ = nullptr;
  return removed;
}

void TellLostHooks(std::vector<InstalledHook>& hooks) noexcept {
  for (InstalledHook& hook : hooks) {
    if (!hook.TellLoss()) [[likely]] continue;
    core::Contain(
        [&] {
          log::Warn("Cradlekeep hook lost: {} (the framework dropped it when another hook on that function was removed; "
                    "Cradlekeep.Reload installs it again)",
                    hook.key());
        },
        [](const char*) {});
  }
}

}  // namespace ck::state
