// Publishes the game's fields and functions to the framework's key registry.
#pragma once

namespace sim {

void RegisterLayout();

}  // namespace sim
