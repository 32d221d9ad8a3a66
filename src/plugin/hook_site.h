// One hooked game function as the plugin sees it: its key, the plugin's
// detour and the pointer through which the detour reaches the game function.
// Each hook owns its pointer; no two hooks share one.
#pragma once

namespace ck::plugin {

// Usage:
//   struct TransferButton : HookSite<TransferButton, void(AShooterPlayerController*)> {
//     static constexpr const char* kKey = "...";
//     static void Detour(AShooterPlayerController*);
//   };
template <typename Self, typename Sig>
struct HookSite {
  using Fn = Sig;
  static inline Sig* original = nullptr;

  static void* DetourAddress() { return reinterpret_cast<void*>(&Self::Detour); }
  static void** OriginalSlot() { return reinterpret_cast<void**>(&original); }
};

}  // namespace ck::plugin
