// The game mode's two uncryo delegate fields as the plugin knows them: kept
// in the plugin's state, resolved on the first broadcast that may need them,
// and resolved again when another game mode object takes the place of the
// one they were resolved on. Game thread only.
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

// For a broadcast that matched a kept field. A kept field is an address
// inside the game mode it was resolved on; once another game mode replaced
// that one, the address may hold another delegate, whose broadcast carries
// another parameter layout. True when the kept fields are the current game
// mode's; otherwise they are resolved again for the current game mode (false
// when that fails or there is none), and the caller compares its delegate
// with the new fields.
[[nodiscard]] bool FollowCurrentGameMode();

// Before a use request, which may start a release: when the fields were
// resolved on a game mode that is not the current one, resolves them for the
// current one, so that its first uncryo broadcasts are recognised. Does
// nothing while the fields are unresolved or given up on. Logs a failure at
// warn level; never throws.
void RefreshUnCryoDelegates();

}  // namespace ck::temporary_pods
