// Game functions on pawns, controllers, classes and the world, published to
// the key registry.
#pragma once

namespace sim {

void RegisterPawnFunctions();

}  // namespace sim
