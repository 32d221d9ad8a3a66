// The run's report.
#pragma once

#include <vector>

#include <nlohmann/json.hpp>

#include "sim/game/game.h"

namespace simtool {

// Everything but engineMemory, which is measured after the world is gone;
// `journal` is the plugin's journal lines as the run's check parsed them.
nlohmann::ordered_json BuildReport(const sim::Game& game, const std::vector<bool>& external_results,
                                   nlohmann::ordered_json journal);

}  // namespace simtool
