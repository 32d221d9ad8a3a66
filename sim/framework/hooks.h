// The framework's hook service over the registry's hookable slots, as the
// released framework manages a function hooked by several plugins (API 2.03
// Hooks.cpp, the same hook code since 1.21, over Detours):
//
// - SetHook attaches the detour in front of the chain (the last installed
//   runs first) and hands back a fresh trampoline as its original; a failed
//   SetHook leaves the original null.
// - DisableHook first checks that every hook's original on the key still
//   holds its trampoline (Detours' DetourDetach reads the trampoline through
//   it): if one does not, the removal fails and the chain stays as it was.
//   Otherwise it detaches every hook on the key in one transaction, nulls the
//   removed hook's original, frees every trampoline, and re-attaches the
//   survivors one by one in install order, each with a fresh trampoline
//   written through the original slot it stored. A survivor whose re-attach
//   fails gets a null original and is dropped from the list; the removal
//   still returns true.
// - A hook belongs to the module that holds its detour (2.03 SetHookInternal
//   asks for the module from the detour's address).
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
  // detour is not in the key's chain, or when an original on the key no
  // longer holds its trampoline (nothing changes then). A rebuild hit by the
  // fault "IHooks.Reattach" (target: the key) drops the plugin's surviving
  // hook on the key: its original becomes null.
  bool DisableHook(const std::string& key, LPVOID detour) override;

  // Keys with an installed detour, one entry per detour, in install order;
  // the detours of a scenario's other plugins (Modules::BeginOther) left out.
  std::vector<std::string> InstalledKeys() const;
  // The keys the module's detours are installed on, in install order.
  std::vector<std::string> KeysOfModule(int module) const;
  // Takes every detour the module installed out of its chain, as the
  // framework does before it frees the module's library (API 2.03,
  // Hooks::DisableAllHooksFromModule). Not fault-able as DisableHook: the
  // framework's own work; "IHooks.Reattach" still hits its rebuilds.
  void DisableAllFromModule(int module);
  // True when the head of the key's chain is a detour of an unloaded module.
  bool HeadIsUnloaded(const HookSlot& slot) const { return IsOfUnloadedModule(slot.head); }
  // True when `code` is an installed detour of an unloaded module.
  bool IsOfUnloadedModule(const void* code) const;
  void Clear() {
    installed_.clear();
    guarded_ = false;
  }

 private:
  // Fault-able as "IHooks.SetHook" with the key as target. A key that names
  // no hookable function is fatal.
  bool SetHookInternal(const std::string& key, LPVOID detour, LPVOID* original) override;

  struct Installed {
    std::string key;
    void* detour;
    int module;
  };
  HookSlot& SlotOf(const std::string& key) const;
  static void Route(HookSlot::Trampoline& trampoline);
  // Attaches `detour` in front of the chain with a fresh trampoline.
  void Attach(HookSlot& slot, void* detour, void** original, int module);
  bool Remove(const std::string& key, void* detour);
  void Forget(const std::string& key, void* detour);

  std::vector<Installed> installed_;
  bool guarded_ = false;  // a module's hooks were swept: trampolines check their targets
  KeyRegistry& registry_;
  Faults& faults_;
};

}  // namespace simfw
