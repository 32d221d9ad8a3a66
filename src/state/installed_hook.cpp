#include "state/installed_hook.h"

#include "core/boundary.h"
#include "core/log.h"
#include "host/framework/framework.h"

namespace ck::state {

bool InstalledHook::Remove() noexcept {
  if (detour_ == nullptr) return true;
  bool removed = false;
  core::Contain([&] { removed = host::DisableHook(key_, detour_); },
                [&](const char* what) { log::Warn("Cradlekeep hook disable failed: {} ({})", key_, what); });
  if (removed) detour_ = nullptr;
  return removed;
}

}  // namespace ck::state
