// One hook the framework accepted, as a handle that knows how to take itself
// out again, and whether the framework's chain still holds it. Game thread
// only.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace ck::state {

// The game function's key, the detour in front of it and the slot the
// framework writes the detour's original into. Move-only; removing is
// explicit (tear-down removes every hook in install order).
//
// The framework (API 2.03 Hooks.cpp) rebuilds a function's whole chain when
// any plugin removes a hook from it; a survivor whose re-attach fails gets a
// null original and is dropped from the framework's list. So a hook counts
// as held only while its original is non-null.
class InstalledHook {
 public:
  InstalledHook(std::string key, void* detour, void** original)
      : key_(std::move(key)), detour_(detour), original_(original) {}
  InstalledHook(InstalledHook&& other) noexcept
      : key_(std::move(other.key_)), detour_(other.detour_), original_(other.original_), told_(other.told_) {
    other.detour_ = nullptr;
  }
  InstalledHook& operator=(InstalledHook&&) = delete;
  InstalledHook(const InstalledHook&) = delete;
  InstalledHook& operator=(const InstalledHook&) = delete;

  const std::string& key() const { return key_; }
  // The detour in front of the game function; null once it was taken out.
  const void* detour() const { return detour_; }
  // True while the framework's chain holds the hook: not taken out, and its
  // original non-null. A few loads, nothing else.
  bool Held() const { return detour_ != nullptr && *original_ != nullptr; }
  // Lost: not taken out by the plugin, yet the framework dropped it.
  bool Lost() const { return detour_ != nullptr && *original_ == nullptr; }

  // Asks the framework to disable the hook; a throw is the warn line
  // "Cradlekeep hook disable failed: <key> (<what>)". True when the framework
  // took it out (a hook already taken out, or one the framework dropped,
  // counts as out: the framework no longer knows it); otherwise the hook
  // may still be in the framework's chain and a later call asks again.
  // Never throws.
  bool Remove() noexcept;

  // Once per loss: true the first time it is asked after the hook was lost.
  bool TellLoss() {
    if (!Lost() || told_) return false;
    told_ = true;
    return true;
  }

 private:
  std::string key_;
  void* detour_;
  void** original_;
  bool told_ = false;
};

// Tells each hook of `hooks` the framework dropped since the last look, once:
// the warn line "Cradlekeep hook lost: <key> (the framework dropped it when
// another hook on that function was removed; Cradlekeep.Reload installs it
// again)". Costs a few loads per hook when none was lost. Never throws.
void TellLostHooks(std::vector<InstalledHook>& hooks) noexcept;

}  // namespace ck::state
