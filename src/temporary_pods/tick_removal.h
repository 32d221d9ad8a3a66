// Removing one of the temporary pods' tick callbacks.
// Game thread only: every call reads the game's objects or the plugin's state.
#pragma once

#include "asa/engine_types.h"

namespace ck::temporary_pods {

// When `registered`, removes the tick callback `id` from the framework; a
// failure is the warn line "Cradlekeep temporary cryopod <what> tick
// unregister failed: ...". `registered` is cleared in every case.
void RemoveTickCallback(const char16_t* id, const char* what, bool& registered);

}  // namespace ck::temporary_pods
