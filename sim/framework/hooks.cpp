#include "sim/framework/hooks.h"

#include <algorithm>

#include "sim/framework/framework.h"

namespace simfw {

namespace {

// Whatever mode the fault is armed with, a re-attach it hits fails: the
// framework's rebuild reports no throw (2.03 Hooks.cpp logs the failure and
// goes on).
bool ReattachFails(Faults& faults, const std::string& key) {
  try {
    return faults.Hit("IHooks.Reattach", key);
  } catch (...) {
    return true;
  }
}

}  // namespace

HookSlot& SimHooks::SlotOf(const std::string& key) const {
  HookSlot* slot = registry_.Hookable(key);
  if (slot == nullptr) KeyRegistry::FatalUnknownKey(key + " (not a hookable function)");
  return *slot;
}

void SimHooks::Route(HookSlot::Trampoline& trampoline) {
  *trampoline.jump = trampoline.live && !trampoline.guarded ? trampoline.target : trampoline.slow;
}

void SimHooks::Attach(HookSlot& slot, void* detour, void** original, int module) {
  const std::size_t index = slot.next_trampoline;
  slot.next_trampoline = (index + 1) % slot.trampolines.size();
  HookSlot::Trampoline& trampoline = slot.trampolines[index];
  trampoline.target = slot.head;
  trampoline.live = true;
  trampoline.guarded = guarded_;
  Route(trampoline);
  *original = trampoline.code;
  slot.head = detour;
  slot.links.insert(slot.links.begin(), HookSlot::Link{detour, original, static_cast<int>(index), module});
}

bool SimHooks::SetHookInternal(const std::string& key, void* detour, void** original) {
  if (faults_.Hit("IHooks.SetHook", key)) {
    // A failed attach leaves the original null (2.03 Hooks.cpp).
    if (original != nullptr) *original = nullptr;
    return false;
  }
  // The framework finds the hook's target by the key, as GetAddress does.
  GameBuild& build = Fw().build;
  build.NoteAsked(key);
  if (build.Lacks(key)) {
    build.RefuseFunction(key);
    build.RefuseHook(key);
    return false;
  }
  HookSlot& slot = SlotOf(key);
  if (detour == nullptr || original == nullptr) return false;
  const int module = Fw().modules.OwnerOf(detour);
  Attach(slot, detour, original, module);
  installed_.push_back(Installed{key, detour, module});
  return true;
}

bool SimHooks::DisableHook(const std::string& key, void* detour) {
  if (faults_.Hit("IHooks.DisableHook", key)) return false;
  return Remove(key, detour);
}

void SimHooks::DisableAllFromModule(int module) {
  if (module == 0) return;
  // The module's library is freed next: from now on every trampoline checks
  // that its target is not in an unloaded module.
  if (!guarded_) {
    guarded_ = true;
    for (const HookSlot* each : registry_.HookableSlots()) {
      HookSlot& slot = SlotOf(each->key);
      for (HookSlot::Trampoline& trampoline : slot.trampolines) {
        trampoline.guarded = true;
        Route(trampoline);
      }
    }
  }
  std::vector<Installed> owned;
  for (const Installed& entry : installed_) {
    if (entry.module == module) owned.push_back(entry);
  }
  for (const Installed& entry : owned) Remove(entry.key, entry.detour);
}

bool SimHooks::IsOfUnloadedModule(const void* code) const {
  for (const Installed& entry : installed_) {
    if (entry.detour == code) return Fw().modules.Unloaded(entry.module);
  }
  return false;
}

void SimHooks::Forget(const std::string& key, void* detour) {
  const auto it = std::find_if(installed_.begin(), installed_.end(),
                               [&](const Installed& e) { return e.key == key && e.detour == detour; });
  if (it != installed_.end()) installed_.erase(it);
}

bool SimHooks::Remove(const std::string& key, void* detour) {
  HookSlot& slot = SlotOf(key);
  const auto removed = std::find_if(slot.links.begin(), slot.links.end(),
                                    [&](const HookSlot::Link& link) { return link.detour == detour; });
  if (removed == slot.links.end()) return false;
  // Detours reads each hook's trampoline through its original: one that no
  // longer holds it fails the detach, and with it the whole removal.
  for (const HookSlot::Link& link : slot.links) {
    if (*link.original_out != slot.trampolines[static_cast<std::size_t>(link.trampoline)].code) return false;
  }
  // Detach the whole chain; the survivors go back oldest first.
  std::vector<HookSlot::Link> survivors;
  for (auto it = slot.links.rbegin(); it != slot.links.rend(); ++it) {
    if (it->detour != detour) survivors.push_back(*it);
  }
  for (HookSlot::Link& link : slot.links) {
    HookSlot::Trampoline& trampoline = slot.trampolines[static_cast<std::size_t>(link.trampoline)];
    trampoline.live = false;
    Route(trampoline);
  }
  *removed->original_out = nullptr;
  slot.links.clear();
  slot.head = slot.original;
  Forget(key, detour);
  for (const HookSlot::Link& link : survivors) {
    // The plugin's own hook fails to re-attach when the fault is armed: the
    // other plugins' detours are the simulator's.
    if (!Fw().modules.IsOther(link.module) && ReattachFails(faults_, key)) {
      *link.original_out = nullptr;
      Forget(key, link.detour);
      continue;
    }
    Attach(slot, link.detour, link.original_out, link.module);
  }
  return true;
}

std::vector<std::string> SimHooks::InstalledKeys() const {
  std::vector<std::string> keys;
  for (const auto& entry : installed_) {
    if (!Fw().modules.IsOther(entry.module)) keys.push_back(entry.key);
  }
  return keys;
}

std::vector<std::string> SimHooks::KeysOfModule(int module) const {
  std::vector<std::string> keys;
  for (const auto& entry : installed_) {
    if (entry.module == module) keys.push_back(entry.key);
  }
  return keys;
}

}  // namespace simfw
