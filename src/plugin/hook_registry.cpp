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
        InstalledHooks().emplace_back(key, detour, original);
        installed = true;
        log::Trace("Cradlekeep hook registered: {}", key);
      },
      [&](const char* what) { log::Warn("Cradlekeep hook skipped: {} ({})", key, what); });
  return installed;
}

std::vector<std::string> ForgetLostHooks() {
  state::TellLostHooks(InstalledHooks());
  std::vector<std::string> lost;
  std::vector<state::InstalledHook> kept;
  for (state::InstalledHook& hook : InstalledHooks()) {
    if (hook.Lost()) {
      lost.push_back(hook.key());
    } else {
      kept.push_back(std::move(hook));
    }
  }
  InstalledHooks().swap(kept);
  return lost;
}

std::string HooksLine() {
  state::TellLostHooks(InstalledHooks());
  std::size_t held = 0;
  std::string lost;
  for (const state::InstalledHook& hook : InstalledHooks()) {
    if (hook.Held()) ++held;
    if (hook.Lost()) lost += (lost.empty() ? "" : ", ") + hook.key();
  }
  std::string line = "hooks: " + std::to_string(held) + " installed";
  if (!lost.empty()) line += "; lost: " + lost + " (Cradlekeep.Reload installs them again)";
  return line;
}

void RemoveInstalledHooks() noexcept {
  for (state::InstalledHook& hook : InstalledHooks()) hook.Remove();
  InstalledHooks().clear();
}

}  // namespace ck::plugin
