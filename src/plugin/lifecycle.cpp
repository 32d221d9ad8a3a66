#include "plugin/lifecycle.h"

#include <exception>

#include "config/config_loader.h"
#include "plugin/class_cache.h"
#include "plugin/debug_command.h"
#include "plugin/hook_registry.h"
#include "plugin/hook_table.h"
#include "plugin/log.h"
#include "plugin/logger.h"
#include "plugin/version.h"
#include "temporary_pods/uncryo_delegates.h"
#include "transfer/capture_cooldown.h"

namespace ck::plugin {

namespace {

// Steps 3 to 8 of start-up; an exception ends them where it is thrown.
void StartupSteps() {
  config::LoadConfiguration();
  temporary_pods::ResetUnCryoDelegateFields();
  InstallConfiguredHooks();
  RegisterDebugCommands();
  // The recurring auto-remove tick of the temporary pods registers here.
  log::Info("Cradlekeep loaded version {}", kVersion);
}

}  // namespace

void Startup() {
  try {
    CreatePluginLogger();
  } catch (...) {
    return;  // without a logger there is no one to tell
  }
  try {
    StartupSteps();
  } catch (const std::exception& e) {
    log::Error("Cradlekeep failed to load: {}", e.what());
  } catch (...) {
    log::Error("Cradlekeep failed to load: unknown exception");
  }
}

void Teardown() {
  try {
    // 1-4: the temporary pods' auto-remove and cleanup ticks are removed and
    // their pending passes and recent uncryo tries emptied here.
    temporary_pods::ResetUnCryoDelegateFields();
    UnregisterDebugCommands();
    UninstallAllHooks();
    ClearInstalledHookKeys();
    transfer::ClearCaptureCooldownTable();
    Classes().Clear();
    log::Info("Cradlekeep unloaded");
  } catch (...) {
    // Each step guards itself; nothing may leave the plugin.
  }
}

}  // namespace ck::plugin
