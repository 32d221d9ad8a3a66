#include "plugin/hook_table.h"

#include <array>

#include "config/plugin_config.h"
#include "state/plugin_state.h"
#include "plugin/hook_registry.h"
#include "temporary_pods/pod_hooks.h"
#include "transfer/transfer_hooks.h"

namespace ck::plugin {

namespace {

enum class When { kAlways, kItemsPlus, kTemporaryPods };

struct Entry {
  const char* key;
  void* detour;
  void** original;
  When when;
};

template <typename Hook>
Entry Make(When when) {
  return Entry{Hook::Key(), Hook::DetourAddress(), Hook::OriginalSlot(), when};
}

std::array<Entry, 12> Table() {
  return {
      Make<transfer::TransferButtonHook>(When::kAlways),
      Make<transfer::TransferDialogResultHook>(When::kAlways),
      Make<transfer::TransferConfirmationHook>(When::kAlways),
      Make<transfer::CharacterUploadHook>(When::kAlways),
      Make<transfer::ForceUploadHook>(When::kAlways),
      Make<transfer::DropNotReadyHook>(When::kAlways),
      Make<transfer::ClearCarriedHook>(When::kAlways),
      Make<transfer::ClearMountedHook>(When::kAlways),
      Make<transfer::ItemsPlusNetExecHook>(When::kItemsPlus),
      Make<temporary_pods::UseItemHook>(When::kTemporaryPods),
      Make<temporary_pods::UseItemWithActorHook>(When::kTemporaryPods),
      Make<temporary_pods::MulticastDelegateHook>(When::kTemporaryPods),
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

}  // namespace

void InstallConfiguredHooks() {
  for (const Entry& entry : Table()) {
    if (Wanted(entry.when)) InstallHook(entry.key, entry.detour, entry.original);
  }
}

void UninstallAllHooks() { RemoveInstalledHooks(); }

}  // namespace ck::plugin
