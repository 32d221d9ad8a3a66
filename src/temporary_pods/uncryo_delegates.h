// The addresses of the game mode's two uncryo delegate fields, resolved on
// the first broadcast that may need them and kept until unload.
#pragma once

namespace ck::temporary_pods {

struct UnCryoDelegateFields {
  void* try_field = nullptr;
  void* post_field = nullptr;
  bool resolution_failed = false;
};

UnCryoDelegateFields& DelegateFields();
inline void ResetUnCryoDelegateFields() { DelegateFields() = UnCryoDelegateFields{}; }

}  // namespace ck::temporary_pods
