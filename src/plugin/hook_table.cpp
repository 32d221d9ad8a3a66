#include "plugin/hook_table.h"

#include <algorithm>
#include <array>

#include "config/plugin_config.h"
#include "core/log.h"
#include "state/plugin_state.h"
#include "plugin/hook_registry.h"
#include "temporary_pods/pod_hooks.h"
#include "transfer/transfer_hooks.h"

namespace ck::plugin {

namespace {

enum class When { kAlways, kItemsPlus, kTemporaryPods };

using host::Part;

struct Entry {
  // The name the hook is installed on: the one the running build has, known
  // once `present` has answered.
  const char* (*key)();
  void* detour;
  void** original;
  When when;
  Part part;  // what the hook serves; off when the game build lacks a key it needs
  // The game build has the hooked function under a name of the detour's
  // form. Asked only of a hook the settings want: on a build that could not
  // be checked, the answer asks the framework for the function.
  bool (*present)();
};

template <typename Hook>
Entry Make(When when, Part part) {
  return Entry{Hook::Key, Hook::DetourAddress(), Hook::OriginalSlot(), when, part, &Hook::Present};
}

std::array<Entry, 13> Table() {
  return {
      Make<transfer::TransferButtonHook>(When::kAlways, Part::kTransferButton),
      Make<transfer::TransferDialogResultHook>(When::kAlways, Part::kTransferDialog),
      Make<transfer::TransferConfirmationHook>(When::kAlways, Part::kTransferConfirmation),
      Make<transfer::CharacterUploadHook>(When::kAlways, Part::kCharacterUpload),
      Make<transfer::ForceUploadHook>(When::kAlways, Part::kForcedUpload),
      Make<transfer::DropNotReadyHook>(When::kAlways, Part::kDropNotReady),
      Make<transfer::ClearCarriedHook>(When::kAlways, Part::kCarriedDetach),
      Make<transfer::ClearMountedHook>(When::kAlways, Part::kMountedDetach),
      // Only one of the two forms is in any build: the other is not present.
      Make<transfer::ClearMountedOneFlagHook>(When::kAlways, Part::kMountedDetach),
      Make<transfer::ItemsPlusNetExecHook>(When::kItemsPlus, Part::kItemsPlus),
      Make<temporary_pods::UseItemHook>(When::kTemporaryPods, Part::kPodUse),
      Make<temporary_pods::UseItemWithActorHook>(When::kTemporaryPods, Part::kPodUse),
      Make<temporary_pods::MulticastDelegateHook>(When::kTemporaryPods, Part::kUnCryoBroadcasts),
  };
}

bool Wanted(When when) {
  const config::PluginConfig& settings = config::Current();
  switch (when) {
    case When::kAlways: return true;
    case When::kItemsPlus: return settings.ItemsPlusCompatibility;
    case When::kTemporaryPods: return config::IsVanillaCaptureMode() && settings.TemporaryVanillaCryopods;
  }
  return false;
}

// The settings ask for the hook and the game build has what it needs. A hook
// whose part the build lacks is not asked for: start-up has already said
// what is off.
bool Wanted(const Entry& entry) { return Wanted(entry.when) && entry.present() && state::PartOn(entry.part); }

}  // namespace

namespace {

// An installed hook is its entry's when both the function and the detour
// are the entry's: two forms of one function share the key.
bool Holds(const state::InstalledHook& hook, const Entry& entry) {
  return hook.detour() == entry.detour && hook.key() == entry.key();
}

bool Held(const Entry& entry) {
  const auto& installed = InstalledHooks();
  return std::any_of(installed.begin(), installed.end(),
                     [&](const state::InstalledHook& hook) { return Holds(hook, entry); });
}

}  // namespace

void InstallConfiguredHooks() {
  // A hook already in front of its function is never installed again: it
  // would become its own original.
  for (const Entry& entry : Table()) {
    if (Wanted(entry) && !Held(entry)) InstallHook(entry.key(), entry.detour, entry.original);
  }
}

void UninstallAllHooks() { RemoveInstalledHooks(); }

std::vector<std::string> FollowConfiguredHooks(std::vector<std::string>* mended) {
  const auto table = Table();
  std::vector<std::string> not_followed;
  // A hook the framework dropped is out of every chain: forgotten here, it
  // is installed again below when the settings still want it.
  const std::vector<std::string> lost = ForgetLostHooks();
  // The installed hooks the settings no longer want go; one the framework
  // would not take out stays in its chain, and so in the plugin's list:
  // installing it again would make it its own original.
  auto& installed = InstalledHooks();
  std::vector<state::InstalledHook> kept;
  kept.reserve(installed.size());
  for (state::InstalledHook& hook : installed) {
    const auto entry = std::find_if(table.begin(), table.end(), [&](const Entry& e) { return Holds(hook, e); });
    if (entry != table.end() && !Wanted(*entry)) {
      if (hook.Remove()) continue;
      log::Warn("Cradlekeep hook stays installed: {}", hook.key());
      not_followed.push_back("the hook on " + hook.key() + " stays installed");
    }
    kept.push_back(std::move(hook));
  }
  installed.swap(kept);
  for (const Entry& entry : table) {
    if (!Wanted(entry)) continue;
    if (!Held(entry) && !InstallHook(entry.key(), entry.detour, entry.original)) {
      not_followed.push_back(std::string("the hook on ") + entry.key() + " is not installed");
    }
  }
  for (const std::string& key : lost) {
    const bool again = std::any_of(installed.begin(), installed.end(),
                                   [&](const state::InstalledHook& hook) { return hook.key() == key && hook.Held(); });
    if (!again) continue;
    log::Info("Cradlekeep hook installed again: {}", key);
    if (mended != nullptr) mended->push_back(key);
  }
  return not_followed;
}

}  // namespace ck::plugin
