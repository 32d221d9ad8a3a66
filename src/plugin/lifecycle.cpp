#include "plugin/lifecycle.h"

#include <string>

#include "config/config_loader.h"
#include "core/boundary.h"
#include "plugin/admin_commands.h"
#include "plugin/debug_command.h"
#include "plugin/game_build.h"
#include "plugin/hook_registry.h"
#include "plugin/hook_table.h"
#include "core/log.h"
#include "host/framework/plugin_logger.h"
#include "host/game/parts.h"
#include "journal/journal_store.h"
#include "plugin/version.h"
#include "state/plugin_state.h"
#include "temporary_pods/scan/auto_remove_scan.h"
#include "temporary_pods/cleanup_passes.h"
#include "temporary_pods/uncryo_delegates.h"

namespace ck::plugin {

namespace {

// The steps of start-up after the logger; an exception ends them where it
// is thrown.
void StartupSteps() {
  state::Begin();
  state::PluginState& state = state::Current();
  std::string failure;
  const bool loaded = core::Contain(
      [&] { state.config_source = config::LoadConfiguration(state.settings, state.classes); },
      [&](const char* what) { failure = what; });
  if (!loaded) {
    log::Error("Cradlekeep failed to load: {}", failure);
    state.start_failure = failure;
    // The defaults are not in force: nothing runs until a reload loads them.
    state.settings = config::PluginConfig{};
  }
  const bool usable = CheckGameBuild();
  if (!usable || !loaded) {
    // An admin reads why with the status, and mends a file with a reload;
    // without the engine's services no command could answer.
    if (!state::PartOn(host::Part::kEngine)) return;
    RegisterAdminCommands();
    state.startup.admin_commands = true;
    return;
  }
  CompleteStartup();
}

}  // namespace

void CompleteStartup() {
  state::PluginState& state = state::Current();
  state::StartupProgress& done = state.startup;
  if (!done.journal_files) {
    // Before the hooks: the ring holds what came before when the first
    // capture is journalled.
    journal::StartFiles();
    done.journal_files = true;
  }
  if (!done.hooks) {
    temporary_pods::ResetUnCryoDelegateFields();
    InstallConfiguredHooks();
    done.hooks = true;
  }
  if (!done.debug_commands) {
    RegisterDebugCommands();
    done.debug_commands = true;
  }
  if (!done.admin_commands) {
    RegisterAdminCommands();
    done.admin_commands = true;
  }
  if (!done.scan_tick) {
    temporary_pods::RegisterAutoRemoveTick();
    done.scan_tick = true;
  }
  log::Info("Cradlekeep loaded version {}", kVersion);
  state.start_failure.clear();
  state.start_stopped.clear();
  state.started = true;
}

void Startup() {
  // Without a logger there is no one to tell.
  if (!core::Contain([] { host::CreatePluginLogger(); }, [](const char*) {})) return;
  core::Contain(StartupSteps, [](const char* what) {
    log::Error("Cradlekeep failed to load: {}", what);
    if (state::Running()) state::Current().start_stopped = what;
  });
}

void Teardown() {
  // The hooks go here; the commands and tick callbacks are the framework's
  // to remove (API 2.03 and later): after Plugin_Unload it empties and
  // removes every one of this module before it frees the library. Removing
  // them here would leave a console command that is being dispatched (say,
  // plugins.unload itself) held only by the framework's copy of its list,
  // destroyed after the library is gone. A game build that left the plugin
  // nothing to work with had nothing installed.
  if (state::Running() && state::Current().usable_build) UninstallAllHooks();
  // The scan's round in progress ends here, summed up once.
  temporary_pods::EndScanRoundAtUnload();
  // What the journal's writer holds goes to the file, and its thread is
  // joined, before the framework frees the module.
  journal::CloseFiles();
  // Every table, cache and setting goes with the state; queued passes too.
  state::End();
  // Each step above guards itself; the last line may not throw either.
  core::Contain([] { log::Info("Cradlekeep unloaded"); }, [](const char*) {});
}

}  // namespace ck::plugin
