// Game functions on pawns, controllers and classes, published to the key
// registry.
#pragma once

namespace sim {

void RegisterPawnFunctions();

}  // namespace sim
