// Classes the plugin loads lazily from blueprint settings. Emptied by every
// configuration load and at unload; a failed load leaves null, so the next
// use tries again.
#pragma once

#include "asa/engine_types.h"

namespace ck::config {

struct ClassCache {
  UClass* ScsCryopodClass = nullptr;
  UClass* ScsCaptureActorClass = nullptr;
  UClass* VanillaCryopodClass = nullptr;
  UClass* CryoCooldownBuffClass = nullptr;
  UClass* CryoSicknessBuffClass = nullptr;

  void Clear() { *this = ClassCache{}; }
};

}  // namespace ck::config
