#include "sim/framework/framework.h"

#include "asa/asa.h"

namespace simfw {

Framework::Framework() : hooks(registry, faults), commands(faults) {}

void Framework::Reset() {
  hooks.Clear();
  commands.Clear();
  utils.Clear();
  registry.Clear();
  faults.Clear();
  logs.Reset();
  memory.ResetAccounting();
  clock.Reset();
}

Framework& Fw() {
  static Framework* framework = new Framework();  // never destroyed: plugins may log at exit
  return *framework;
}

}  // namespace simfw

namespace AsaApi {

IHooks& GetHooks() { return simfw::Fw().hooks; }
ICommands& GetCommands() { return simfw::Fw().commands; }
IApiUtils& GetApiUtils() { return simfw::Fw().utils; }

void* GetAddress(const void* object, const std::string& key) {
  return simfw::Fw().registry.FieldAddress(object, key);
}

void* GetAddress(const std::string& key) { return simfw::Fw().registry.FunctionAddress(key); }

std::ptrdiff_t GetFieldOffset(const std::string& key) { return simfw::Fw().registry.FieldOffset(key); }

BitField GetBitField(const void* object, const std::string& key) {
  return simfw::Fw().registry.BitFieldOf(object, key);
}

std::vector<std::shared_ptr<spdlog::sinks::sink>>& GetLogSinks() { return simfw::Fw().logs.Shared(); }

namespace Platform {
int64 SteadyClockNanoseconds() { return simfw::Fw().clock.Now(); }
}  // namespace Platform

}  // namespace AsaApi

namespace FMemory {

void* Malloc(uint64 count, uint32 alignment) { return simfw::Fw().memory.Malloc(count, alignment); }
void* Realloc(void* original, uint64 count, uint32 alignment) {
  return simfw::Fw().memory.Realloc(original, count, alignment);
}
void Free(void* original) { simfw::Fw().memory.Free(original); }

}  // namespace FMemory
