#include "plugin/hook_registry.h"

#include "core/boundary.h"
#include "core/log.h"
#include "host/framework.h"

namespace ck::plugin {

std::vector<InstalledHook>& InstalledHooks() {
  static std::vector<InstalledHook> hooks;
  return hooks;
}

void InstalledHook::Remove() noexcept {
  if (detour_ == nullptr) return;
  void* const detour = detour_;
  detour_ = nullptr;
  core::Contain([&] { host::DisableHook(key_, detour); },
                [&](const char* what) { log::Warn("Cradlekeep hook disable failed: {} ({})", key_, what); });
}

void InstallHook(const std::string& key, void* detour, void** original) {
  core::Contain(
      [&] {
        if (!host::SetHook(key, detour, original)) {
          log::Warn("Cradlekeep hook skipped: {} (SetHook returned false)", key);
          return;
        }
        InstalledHooks().emplace_back(key, detour);
        log::Trace("Cradlekeep hook registered: {}", key);
      },
      [&](const char* what) { log::Warn("Cradlekeep hook skipped: {} ({})", key, what); });
}

void RemoveInstalledHooks() noexcept {
  for (InstalledHook& hook : InstalledHooks()) hook.Remove();
  InstalledHooks().clear();
}

}  // namespace ck::plugin
