// The item factory shared by both capture paths.
// Game thread only: every call reads the game's objects or the plugin's state.
#pragma once

#include "asa/engine_types.h"

namespace ck::capture {

// A new item of the class in no inventory, made by the game's AddNewItem in
// the current world; null without a world or class (the game is not asked),
// or when the game makes none.
[[nodiscard]] UPrimalItem* CreateItemOfClass(UClass* item_class);

}  // namespace ck::capture
