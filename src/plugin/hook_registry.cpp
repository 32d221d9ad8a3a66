#include "plugin/hook_registry.h"

#include "core/boundary.h"
#include "core/log.h"
#include "host/framework/framework.h"
#include "state/plugin_state.h"

namespace ck::plugin {

std::vector<state::InstalledHook>& InstalledHooks() { return state::Current().hooks; }

bool InstallHook(const std::string& key, void* detour, void** original) {
  bool installed = false;
  core::Contain(
      [&] {
        if (!host::SetHook(key, detour, original)) {
          log::Warn("Cradlekeep hook skipped: {} (SetHook returned false)", key);
          return;
        }
        InstalledHooks().emplace_back(key, detour);
        installed = true;
        log::Trace("Cradlekeep hook registered: {}", key);
      },
      [&](const char* what) { log::Warn("Cradlekeep hook skipped: {} ({})", key, what); });
  return installed;
}

void RemoveInstalledHooks() noexcept {
  for (state::InstalledHook& hook : InstalledHooks()) hook.Remove();
  InstalledHooks().clear();
}

}  // namespace ck::plugin
