// Game functions on items, inventories, creatures, classes and the cryopod
// mod, published to the key registry.
#pragma once

namespace sim {

void RegisterItemFunctions();

}  // namespace sim
