#include "sim/framework/framework.h"

#include "asa/asa.h"
#include "sim/framework/clock_redirect.h"
#include "sim/framework/msvc_bridge.h"

namespace simfw {

Framework::Framework() : hooks(registry, faults), commands(faults) {}

void Framework::Reset() {
  hooks.Clear();
  commands.Clear();
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
