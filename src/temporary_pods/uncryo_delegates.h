// The addresses of the game mode's two uncryo delegate fields, resolved on
// the first broadcast that may need them and kept until unload.
#pragma once

namespace ck::temporary_pods {

struct UnCryoDelegateFields {
  void* try_field = nullptr;
  void* post_field = nullptr;
  bool resolution_failed = false;
  // Resolved, or given up on: either way no broadcast needs the resolver.
  bool settled = false;
};

// A plain global: the delegate hook reads it on every broadcast of the game.
extern UnCryoDelegateFields g_delegate_fields;
inline UnCryoDelegateFields& DelegateFields() { return g_delegate_fields; }
inline void ResetUnCryoDelegateFields() { g_delegate_fields = UnCryoDelegateFields{}; }

}  // namespace ck::temporary_pods
