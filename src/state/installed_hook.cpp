#include "state/installed_hook.h"

#include "core/boundary.h"
#include "core/log.h"
#include "host/framework/framework.h"

namespace ck::state {

void InstalledHook::Remove() noexcept {
  if (detour_ == nullptr) return;
  void* const detour = detour_;
  detour_ = nullptr;
  core::Contain([&] { host::DisableHook(key_, detour); },
                [&](const char* what) { log::Warn("Cradlekeep hook disable failed: {} ({})", key_, what); });
}

}  // namespace ck::state
