#include "plugin/debug_command.h"

#include "config/plugin_config.h"
#include "state/plugin_state.h"
#include "core/boundary.h"
#include "core/text.h"
#include "host/framework/engine_text.h"
#include "host/framework/module_path.h"
#include "host/framework/framework.h"
#include "core/log.h"
#include "core/text.h"

namespace ck::plugin {

void RegisterDebugCommands() {
  core::Contain(
      [] {
        host::AddConsoleCommand(u"ckpdebug", &OnDebugCommand);
        host::AddConsoleCommand(u"ckp.debug", &OnDebugCommand);
      },
      [](const char* what) { log::Warn("Cradlekeep debug console command registration failed: {}", what); });
}

std::string SwitchDebugLogging(FString* line) {
  const std::string text = core::ToLowerCopy(host::FStringToAscii(line));
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
  const std::string said = debug ? "Cradlekeep debug logging is ON" : "Cradlekeep debug logging is OFF";
  log::Info("{}", said);
  return said;
}

void OnDebugCommand(APlayerController* caller, FString* line, bool /*from_rcon*/) {
  if (!state::Running()) return;  // left registered after a failed unload
  std::string said;
  core::Contain([&] { said = SwitchDebugLogging(line); },
                [](const char* what) { log::Error("Cradlekeep debug command failed: {}", what); });
  // An admin who typed it in the game is answered there, as by the other
  // commands; the server console has the log line.
  if (caller == nullptr || said.empty()) return;
  core::Contain(
      [&] {
        host::SendServerMessage(reinterpret_cast<AShooterPlayerController*>(caller), host::OwnModulePath(),
                                host::Utf8ToUtf16(said));
      },
      [](const char* what) { log::Warn("Cradlekeep could not answer the admin: {}", what); });
}

}  // namespace ck::plugin
