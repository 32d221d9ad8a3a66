// The run's report.
#pragma once

#include <vector>

#include <nlohmann/json.hpp>

#include "sim/game/game.h"

namespace simtool {

// Everything but engineMemory, which is measured after the world is gone.
nlohmann::ordered_json BuildReport(const sim::Game& game, const std::vector<bool>& external_results);

}  // namespace simtool
