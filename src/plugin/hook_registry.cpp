#include "plugin/hook_registry.h"

#include <algorithm>
#include <exception>

#include "host/framework.h"
#include "plugin/log.h"

namespace ck::plugin {

namespace {

std::vector<std::string>& Keys() {
  static std::vector<std::string> keys;
  return keys;
}

}  // namespace

const std::vector<std::string>& InstalledHookKeys() { return Keys(); }

void ClearInstalledHookKeys() { Keys().clear(); }

void InstallHook(const std::string& key, void* detour, void** original) {
  try {
    if (host::SetHook(key, detour, original)) {
      if (std::find(Keys().begin(), Keys().end(), key) == Keys().end()) Keys().push_back(key);
      log::Trace("Cradlekeep hook registered: {}", key);
    } else {
      log::Warn("Cradlekeep hook skipped: {} (SetHook returned false)", key);
    }
  } catch (const std::exception& e) {
    log::Warn("Cradlekeep hook skipped: {} ({})", key, e.what());
  } catch (...) {
    log::Warn("Cradlekeep hook skipped: {} (unknown exception)", key);
  }
}

void UninstallHook(const std::string& key, void* detour) {
  if (std::find(Keys().begin(), Keys().end(), key) == Keys().end()) return;
  try {
    host::DisableHook(key, detour);
  } catch (const std::exception& e) {
    log::Warn("Cradlekeep hook disable failed: {} ({})", key, e.what());
  } catch (...) {
    log::Warn("Cradlekeep hook disable failed: {} (unknown exception)", key);
  }
}

}  // namespace ck::plugin
