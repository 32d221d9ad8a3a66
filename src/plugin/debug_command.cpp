#include "plugin/debug_command.h"

#include <exception>

#include "config/plugin_config.h"
#include "host/engine_text.h"
#include "host/framework.h"
#include "plugin/log.h"
#include "plugin/to_lower_copy.h"

namespace ck::plugin {

void RegisterDebugCommands() {
  try {
    host::AddConsoleCommand(u"ckpdebug", &OnDebugCommand);
    host::AddConsoleCommand(u"ckp.debug", &OnDebugCommand);
  } catch (const std::exception& e) {
    log::Warn("Cradlekeep debug console command registration failed: {}", e.what());
  } catch (...) {
    log::Warn("Cradlekeep debug console command registration failed: unknown exception");
  }
}

void UnregisterDebugCommands() {
  try {
    host::RemoveConsoleCommand(u"ckpdebug");
    host::RemoveConsoleCommand(u"ckp.debug");
  } catch (const std::exception& e) {
    log::Warn("Cradlekeep debug console command removal failed: {}", e.what());
  } catch (...) {
    log::Warn("Cradlekeep debug console command removal failed: unknown exception");
  }
}

void OnDebugCommand(APlayerController* /*caller*/, FString* line, bool /*from_rcon*/) {
  const std::string text = ToLowerCopy(host::FStringToAscii(line));
  bool& debug = config::Current().DebugLogging;
  static constexpr struct {
    const char* word;
    bool value;
  } kWords[] = {{"on", true}, {"true", true}, {"1", true}, {"off", false}, {"false", false}, {"0", false}};
  for (const auto& w : kWords) {
    if (text.find(w.word) != std::string::npos) {
      debug = w.value;
      break;
    }
  }
  log::Info("Cradlekeep debug logging is {}", debug ? "ON" : "OFF");
}

}  // namespace ck::plugin
