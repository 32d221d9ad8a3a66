#include "plugin/lifecycle.h"

#include <exception>

#include "plugin/log.h"
#include "plugin/logger.h"
#include "plugin/version.h"

namespace ck::plugin {

namespace {

void StartupSteps() {
  // Configuration, hooks, console commands and the auto-remove tick are
  // started here, in that order, by the subsystems that own them.
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
    log::Info("Cradlekeep unloaded");
  } catch (...) {
  }
}

}  // namespace ck::plugin
