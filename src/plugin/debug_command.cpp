#include "plugin/debug_command.h"

#include <exception>

#include "asa/commands.h"
#include "config/plugin_config.h"
#include "host/engine_text.h"
#include "plugin/log.h"
#include "plugin/to_lower_copy.h"

namespace ck::plugin {

void RegisterDebugCommands() {
  try {
    auto& commands = AsaApi::GetCommands();
    commands.AddConsoleCommand(FString(u"ckpdebug"), &OnDebugCommand);
    commands.AddConsoleCommand(FString(u"ckp.debug"), &OnDebugCommand);
  } catch (const std::exception& e) {
    log::Warn("Cradlekeep debug console command registration failed: {}", e.what());
  } catch (...) {
    log::Warn("Cradlekeep debug console command registration failed: unknown exception");
  }
}

void UnregisterDebugCommands() {
  try {
    auto& commands = AsaApi::GetCommands();
    commands.RemoveConsoleCommand(FString(u"ckpdebug"));
    commands.RemoveConsoleCommand(FString(u"ckp.debug"));
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
