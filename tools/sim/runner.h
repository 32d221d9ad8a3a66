// Plays a scenario against the plugin library on a fresh simulated server
// and builds the report.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tools/sim/scenario.h"

namespace simtool {

struct RunOptions {
  std::string plugin_path;       // the plugin library to load
  std::ostream* transcript = nullptr;  // null: no transcript
};

struct RunResult {
  int exit_code = 0;  // 0 ok, 1 an expectation failed, 2 the run could not happen
  nlohmann::ordered_json report;
  std::vector<std::string> failures;  // failed expectations, or the reason for exit 2
};

RunResult RunScenario(const Scenario& scenario, const RunOptions& options);

// Starts the plugin on a server whose config file holds `config_text` and
// tells what it said and which hooks it installed. Exit 0 when the plugin
// started, 1 when it logged its start-up failure, 2 when it could not load.
int CheckConfig(const std::string& config_text, const RunOptions& options, std::ostream& out);

}  // namespace simtool
