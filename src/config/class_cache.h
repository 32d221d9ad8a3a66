// Classes the plugin loads lazily from blueprint settings. Emptied by every
// configuration load and at unload.
//
// Each is held as a weak object pointer, not a class pointer: loading a
// class by path does not keep it, and the engine may collect a class nothing
// else references. A weak pointer that no longer resolves means the class
// went (or never loaded), and the next use loads it again.
#pragma once

#include "asa/engine_types.h"

namespace ck::config {

struct ClassCache {
  FWeakObjectPtr ScsCryopodClass{0, 0};
  FWeakObjectPtr ScsCaptureActorClass{0, 0};
  FWeakObjectPtr VanillaCryopodClass{0, 0};
  FWeakObjectPtr CryoCooldownBuffClass{0, 0};
  FWeakObjectPtr CryoSicknessBuffClass{0, 0};

  void Clear() { *this = ClassCache{}; }
};

}  // namespace ck::config
