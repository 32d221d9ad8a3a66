// The hooks the framework accepted, as handles that know how to take
// themselves out again. Game thread only.
#pragma once

#include <string>
#include <vector>

namespace ck::plugin {

// One installed hook: the game function's key and the detour in front of
// it. Move-only; removing it is explicit (tear-down removes every hook in
// install order).
class InstalledHook {
 public:
  InstalledHook(std::string key, void* detour) : key_(std::move(key)), detour_(detour) {}
  InstalledHook(InstalledHook&& other) noexcept : key_(std::move(other.key_)), detour_(other.detour_) {
    other.detour_ = nullptr;
  }
  InstalledHook& operator=(InstalledHook&&) = delete;
  InstalledHook(const InstalledHook&) = delete;
  InstalledHook& operator=(const InstalledHook&) = delete;

  const std::string& key() const { return key_; }

  // Asks the framework to disable the hook, once; a throw is the warn line
  // "Cradlekeep hook disable failed: <key> (<what>)". Never throws.
  void Remove() noexcept;

 private:
  std::string key_;
  void* detour_;
};

// The hooks installed since start-up, in install order.
std::vector<InstalledHook>& InstalledHooks();

// Installs `detour` in front of the game function `key`, the framework
// storing the game function's address in `*original`. On success the hook
// joins InstalledHooks() (trace "Cradlekeep hook registered: {}"); a refusal
// or a throw is a warn line "Cradlekeep hook skipped: <key> (<why>)" and
// nothing joins. Never throws.
void InstallHook(const std::string& key, void* detour, void** original);

// Removes every installed hook, in install order, and forgets them.
void RemoveInstalledHooks() noexcept;

}  // namespace ck::plugin
