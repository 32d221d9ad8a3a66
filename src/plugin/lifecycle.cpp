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
#include "temporary_pods/auto_remove_scan.h"
#include "temporary_pods/cleanup_passes.h"
#include "temporary_pods/custom_item_data.h"
#include "temporary_pods/uncryo_delegates.h"
#include "temporary_pods/uncryo_observation.h"
#include "transfer/capture_cooldown.h"

namespace ck::plugin {

namespace {

// Steps 3 to 8 of start-up; an exception ends them where it is thrown.
void StartupSteps() {
  temporary_pods::ForgetMarkerName();
  config::LoadConfiguration();
  temporary_pods::ResetUnCryoDelegateFields();
  InstallConfiguredHooks();
  RegisterDebugCommands();
  temporary_pods::RegisterAutoRemoveTick();
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
    temporary_pods::UnregisterAutoRemoveTick();
    temporary_pods::UnregisterCleanupTick();
    temporary_pods::ClearPendingCleanupPasses();
    temporary_pods::ClearRecentUnCryoTries();
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
