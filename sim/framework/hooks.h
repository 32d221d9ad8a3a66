// The framework's hook service over the registry's hookable slots.
#pragma once

#include <utility>
#include <vector>

#include "asa/hooks.h"
#include "sim/framework/faults.h"
#include "sim/framework/key_registry.h"

namespace simfw {

class ASAAPI_API SimHooks final : public AsaApi::IHooks {
 public:
  SimHooks(KeyRegistry& registry, Faults& faults) : registry_(registry), faults_(faults) {}

  // Fault-able as "IHooks.DisableHook" with the key as target. False when the
  // detour is not in the key's chain.
  bool DisableHook(const std::string& key, LPVOID detour) override;

  // Keys with an installed detour, one entry per detour, in install order.
  std::vector<std::string> InstalledKeys() const;
  // Takes every detour the module installed out of its chain, as the
  // framework does before it frees the module's library (API 2.03,
  // Hooks::DisableAllHooksFromModule). Not fault-able: the framework's own work.
  void DisableAllFromModule(int module);
  // True when the head of the key's chain is a detour of an unloaded module.
  bool HeadIsUnloaded(const HookSlot& slot) const;
  void Clear() { installed_.clear(); }

 private:
  // Fault-able as "IHooks.SetHook" with the key as target. A key that names
  // no hookable function is fatal.
  bool SetHookInternal(const std::string& key, LPVOID detour, LPVOID* original) override;

  struct Installed {
    std::string key;
    void* detour;
    int module;
  };
  bool Unchain(const std::string& key, void* detour);

  std::vector<Installed> installed_;
  KeyRegistry& registry_;
  Faults& faults_;
};

}  // namespace simfw
