#include "plugin/lifecycle.h"

#include "config/class_cache.h"
#include "config/config_loader.h"
#include "core/boundary.h"
#include "plugin/debug_command.h"
#include "plugin/hook_registry.h"
#include "plugin/hook_table.h"
#include "core/log.h"
#include "host/plugin_logger.h"
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
  // Without a logger there is no one to tell.
  if (!core::Contain([] { host::CreatePluginLogger(); }, [](const char*) {})) return;
  core::Contain(StartupSteps, [](const char* what) { log::Error("Cradlekeep failed to load: {}", what); });
}

void Teardown() {
  temporary_pods::UnregisterAutoRemoveTick();
  temporary_pods::UnregisterCleanupTick();
  temporary_pods::ClearPendingCleanupPasses();
  temporary_pods::ClearRecentUnCryoTries();
  temporary_pods::ResetUnCryoDelegateFields();
  UnregisterDebugCommands();
  UninstallAllHooks();
  transfer::ClearCaptureCooldownTable();
  config::Classes().Clear();
  // Each step above guards itself; the last line may not throw either.
  core::Contain([] { log::Info("Cradlekeep unloaded"); }, [](const char*) {});
}

}  // namespace ck::plugin
