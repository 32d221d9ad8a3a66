#include "sim/framework/hooks.h"

#include "sim/framework/framework.h"

namespace simfw {

bool SimHooks::SetHookInternal(const std::string& key, void* detour, void** original) {
  if (faults_.Hit("IHooks.SetHook", key)) return false;
  // The framework finds the hook's target by the key, as GetAddress does.
  GameBuild& build = Fw().build;
  build.NoteAsked(key);
  if (build.Lacks(key)) {
    build.RefuseFunction(key);
    build.RefuseHook(key);
    return false;
  }
  HookSlot* slot = registry_.Hookable(key);
  if (slot == nullptr) KeyRegistry::FatalUnknownKey(key + " (not a hookable function)");
  if (detour == nullptr || original == nullptr) return false;
  *original = slot->head;
  slot->head = detour;
  slot->links.insert(slot->links.begin(), HookSlot::Link{detour, original});
  installed_.push_back(Installed{key, detour, Fw().modules.Current()});
  return true;
}

bool SimHooks::DisableHook(const std::string& key, void* detour) {
  if (faults_.Hit("IHooks.DisableHook", key)) return false;
  return Unchain(key, detour);
}

void SimHooks::DisableAllFromModule(int module) {
  if (module == 0) return;
  std::vector<Installed> owned;
  for (const Installed& entry : installed_) {
    if (entry.module == module) owned.push_back(entry);
  }
  for (const Installed& entry : owned) Unchain(entry.key, entry.detour);
}

bool SimHooks::HeadIsUnloaded(const HookSlot& slot) const {
  for (const Installed& entry : installed_) {
    if (entry.detour == slot.head) return Fw().modules.Unloaded(entry.module);
  }
  return false;
}

bool SimHooks::Unchain(const std::string& key, void* detour) {
  HookSlot* slot = registry_.Hookable(key);
  if (slot == nullptr) KeyRegistry::FatalUnknownKey(key + " (not a hookable function)");
  for (std::size_t i = 0; i < slot->links.size(); ++i) {
    if (slot->links[i].detour != detour) continue;
    void* next = *slot->links[i].original_out;
    if (i == 0) {
      slot->head = next;
    } else {
      *slot->links[i - 1].original_out = next;
    }
    *slot->links[i].original_out = nullptr;
    slot->links.erase(slot->links.begin() + static_cast<std::ptrdiff_t>(i));
    for (auto it = installed_.begin(); it != installed_.end(); ++it) {
      if (it->key == key && it->detour == detour) {
        installed_.erase(it);
        break;
      }
    }
    return true;
  }
  return false;
}

std::vector<std::string> SimHooks::InstalledKeys() const {
  std::vector<std::string> keys;
  for (const auto& entry : installed_) keys.push_back(entry.key);
  return keys;
}

}  // namespace simfw
