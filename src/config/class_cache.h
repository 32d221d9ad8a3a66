// Classes the plugin loads lazily from blueprint settings. Emptied by every
// configuration load and at unload.
//
// Each is held as a weak object pointer, not a class pointer: loading a
// class by path does not keep it, and the engine may collect a class nothing
// else references. A weak pointer that no longer resolves means the class
// went (or never loaded), and the next use loads it again.
#pragma once

#include <string>
#include <vector>

#include "asa/engine_types.h"

namespace ck::config {

struct ClassCache {
  FWeakObjectPtr ScsCryopodClass{0, 0};
  FWeakObjectPtr ScsCaptureActorClass{0, 0};
  FWeakObjectPtr VanillaCryopodClass{0, 0};
  FWeakObjectPtr CryoCooldownBuffClass{0, 0};
  FWeakObjectPtr CryoSicknessBuffClass{0, 0};
  // The blueprint paths that did not load since the cache was emptied, for
  // the status: a wrong path shows before a companion stays behind for it.
  std::vector<std::string> failed_paths;

  void Clear() { *this = ClassCache{}; }

  // The class of `field` (one of the above), loaded from `path` when it is
  // not held (host::LoadCachedClass); a path that does not load is
  // remembered in failed_paths, one that loads is forgotten there. Null
  // when it does not load; exceptions of the game pass to the caller.
  UClass* Load(FWeakObjectPtr& field, const std::string& path);
};

}  // namespace ck::config
