// One hooked game function as the plugin sees it: the game function (its key
// and signature, from the catalogue in host/game.h), the plugin's detour and
// the pointer through which the detour reaches the game function. Each hook
// owns its pointer; no two hooks share one.
#pragma once

#include <type_traits>

namespace ck::plugin {

// Usage:
//   struct TransferButton : HookSite<TransferButton, game::kShowTransferCharacterConfirmationDialog> {
//     static void Detour(AShooterPlayerController*);
//   };
// The detour must have the game function's signature.
template <typename Self, const auto& kFunction>
struct HookSite {
  using Fn = typename std::remove_cvref_t<decltype(kFunction)>::Signature;
  static inline Fn* original = nullptr;

  static const char* Key() { return kFunction.Key(); }
  static void* DetourAddress() {
    Fn* detour = &Self::Detour;
    return reinterpret_cast<void*>(detour);
  }
  static void** OriginalSlot() { return reinterpret_cast<void**>(&original); }
};

}  // namespace ck::plugin
