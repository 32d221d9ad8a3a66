// One hook the framework accepted, as a handle that knows how to take itself
// out again. Game thread only.
#pragma once

#include <string>
#include <utility>

namespace ck::state {

// The game function's key and the detour in front of it. Move-only;
// removing is explicit (tear-down removes every hook in install order).
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
  // The detour in front of the game function; null once it was taken out.
  const void* detour() const { return detour_; }

  // Asks the framework to disable the hook; a throw is the warn line
  // "Cradlekeep hook disable failed: <key> (<what>)". True when the framework
  // took it out (a hook already taken out counts as out); otherwise the hook
  // may still be in the framework's chain and a later call asks again.
  // Never throws.
  bool Remove() noexcept;

 private:
  std::string key_;
  void* detour_;
};

}  // namespace ck::state
