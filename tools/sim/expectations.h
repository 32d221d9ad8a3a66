// A scenario's `expect`. Each key is declared once, in one table: its name,
// the check of its value when the scenario loads, and its evaluation against
// the run's report.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tools/sim/scenario.h"

namespace simtool {

// Refuses the scenario (ScenarioError) when `expect` is not an object, holds
// a key this simulator does not know ("expect: unknown key 'x'"), or a value
// that does not fit its key (where: "expect.<key>" and below).
void ValidateExpect(const Scenario& s, const nlohmann::json& expect);

// One text per expectation in `expect` (validated as above) that the report
// does not hold, the keys taken in the table's order; empty when every one
// holds. The report is complete, engineMemory included.
std::vector<std::string> FailedExpectations(const nlohmann::json& expect, const nlohmann::ordered_json& report);

}  // namespace simtool
