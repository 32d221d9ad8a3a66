// The game mode's two uncryo delegate fields as the plugin knows them: kept
// in the plugin's state, resolved on the first broadcast that may need them
// and kept until unload. Game thread only.
#pragma once

#include "state/plugin_state.h"

namespace ck::temporary_pods {

using state::UnCryoDelegateFields;

// The delegate hook reads these on every broadcast of the game.
inline UnCryoDelegateFields& DelegateFields() { return state::Current().delegate_fields; }
inline void ResetUnCryoDelegateFields() { DelegateFields() = UnCryoDelegateFields{}; }

// True when the addresses of the game mode's two uncryo delegate fields are
// known; resolves them once (warn and give up until unload when they
// resolve to null; try again later while there is no game mode).
[[nodiscard]] bool ResolveUnCryoDelegates();

}  // namespace ck::temporary_pods
