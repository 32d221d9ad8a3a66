#include "sim/framework/framework.h"

#include <stdexcept>

#include "asa/asa.h"
#include "sim/framework/clock_redirect.h"
#include "sim/framework/engine_text.h"
#include "sim/framework/msvc_bridge.h"

namespace simfw {

namespace {

// The plugin's name: the line's second word.
std::string SecondWord(const std::string& line) {
  std::size_t at = line.find_first_not_of(' ');
  at = at == std::string::npos ? at : line.find(' ', at);
  at = at == std::string::npos ? at : line.find_first_not_of(' ', at);
  if (at == std::string::npos) return {};
  const std::size_t end = line.find(' ', at);
  return line.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

}  // namespace

Framework::Framework() : hooks(registry, faults), commands(faults) { RegisterOwnCommands(); }

void Framework::RegisterOwnCommands() {
  // API 2.03, ArkBaseApi::RegisterCommands: on the console the reply goes to
  // the admin as a server message, over RCON back to the client.
  const auto run = [this](bool load, const std::string& line) -> std::string {
    const std::string name = SecondWord(line);
    if (name.empty()) return "Plugin not found";
    const auto& how = load ? load_plugin : unload_plugin;
    if (!how) return std::string(load ? "Failed to load plugin - " : "Failed to unload plugin - ") + "no plugins here";
    return how(name);
  };
  for (bool load : {true, false}) {
    const std::string name = load ? "plugins.load" : "plugins.unload";
    commands.AddFrameworkConsoleCommand(name, [this, run, load](APlayerController*, FString* line, bool) {
      Reply(run(load, ToUtf8(*line)));
    });
    commands.AddFrameworkRconCommand(name, [run, load](const std::string& line) { return run(load, line); });
  }
}

void Framework::Reply(std::string text) {
  replies.push_back(text);
  if (on_reply) on_reply(replies.back());
}

void Framework::ForgetModule(int module, bool faultable) {
  // The framework's sweep returns nothing: its only failure is a throw.
  if (faultable && faults.Hit("ICommands.RemoveAllCommandsFromModule")) {
    throw std::runtime_error("injected fault: ICommands.RemoveAllCommandsFromModule");
  }
  commands.RemoveAllFromModule(module);
  hooks.DisableAllFromModule(module);
}

void Framework::Reset() {
  hooks.Clear();
  commands.Clear();
  RegisterOwnCommands();
  modules.Reset();
  replies.clear();
  utils.Clear();
  registry.Clear();
  build.Reset();
  faults.Clear();
  logs.Reset();
  memory.ResetAccounting();
  clock.Reset();
}

Framework& Fw() {
  static Framework* framework = [] {
    auto* created = new Framework();  // never destroyed: plugins may log at exit
#if defined(_WIN32)
    // The plugin reaches this framework through the MSVC-ABI double.
    ConnectFrameworkDouble();
#endif
    // Code linked into the program itself (the plugin's, in the unit tests)
    // reads the simulated clock from the start.
    SimulateSteadyClockInMainProgram(created->clock);
    return created;
  }();
  return *framework;
}

}  // namespace simfw

namespace AsaApi {

IHooks& GetHooks() { return simfw::Fw().hooks; }
ICommands& GetCommands() { return simfw::Fw().commands; }
IApiUtils& GetApiUtils() { return simfw::Fw().utils; }

}  // namespace AsaApi

// A key the game build lacks is answered as the released framework answers
// it (see game_build.h); the registry still knows it, for the game's flows.
DWORD64 GetAddress(const void* base, const std::string& name) {
  simfw::Framework& fw = simfw::Fw();
  fw.build.NoteAsked(name);
  if (fw.build.Lacks(name)) fw.build.RefuseData(name, false);
  return reinterpret_cast<DWORD64>(fw.registry.FieldAddress(base, name));
}

LPVOID GetAddress(const std::string& name) {
  simfw::Framework& fw = simfw::Fw();
  fw.build.NoteAsked(name);
  if (fw.build.Lacks(name)) {
    fw.build.RefuseFunction(name);
    return nullptr;
  }
  return fw.registry.FunctionAddress(name);
}

BitField GetBitField(const void* base, const std::string& name) {
  simfw::Framework& fw = simfw::Fw();
  fw.build.NoteAsked(name);
  if (fw.build.Lacks(name)) fw.build.RefuseData(name, true);
  return fw.registry.BitFieldOf(base, name);
}

std::vector<spdlog::sink_ptr>& GetLogSinks() { return simfw::Fw().logs.Shared(); }

namespace FMemory {

void* Malloc(uint64 count, uint32 alignment) { return simfw::Fw().memory.Malloc(count, alignment); }
void* Realloc(void* original, uint64 count, uint32 alignment) {
  return simfw::Fw().memory.Realloc(original, count, alignment);
}
void Free(void* original) { simfw::Fw().memory.Free(original); }

}  // namespace FMemory
