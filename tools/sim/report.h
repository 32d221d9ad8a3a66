// The run's report and the checks of a scenario's `expect`.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/game/game.h"

namespace simtool {

// Everything but engineMemory, which is measured after the world is gone.
nlohmann::ordered_json BuildReport(const sim::Game& game, const std::vector<bool>& external_results);

// One text per expectation that does not hold.
std::vector<std::string> CheckExpectations(const nlohmann::json& expect, const nlohmann::ordered_json& report);

}  // namespace simtool
