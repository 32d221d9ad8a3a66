// Plays a scenario against the plugin library on a fresh simulated server
// and builds the report.
#pragma once

#include <ostream>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/framework/faults.h"
#include "tools/sim/scenario.h"

namespace simtool {

struct RunOptions {
  std::string plugin_path;       // the plugin library to load
  std::ostream* transcript = nullptr;  // null: no transcript
  // Armed once the world is built, before the plugin loads (fault sweeps).
  std::vector<simfw::FaultSpec> initial_faults;
  // Record every fault-able call from the plugin's load to the end.
  bool record_calls = false;
  // Empty: the run gets a fresh scratch folder of its own. Otherwise the
  // run works in this folder, emptied before and after it but for the game
  // build's offsets cache, which is written again only when it changes:
  // for callers that play thousands of runs (the sweeps).
  std::filesystem::path work_folder;
};

struct RunResult {
  int exit_code = 0;  // 0 ok, 1 an expectation failed, 2 the run could not happen
  nlohmann::ordered_json report;
  std::vector<std::string> failures;  // failed expectations, or the reason for exit 2
  // Each way the plugin's capture journal disagrees with the ledger, and each
  // journal line that does not parse (tools/sim/journal_check.h); any one
  // fails the run (exit 1).
  std::vector<std::string> journal_failures;
  // What a fault sweep looks at.
  std::vector<simfw::FaultableCall> recorded;
  // Exceptions that left the plugin through an entry point: hooked
  // functions, ticks, console commands, the export, start-up and unload.
  std::vector<simfw::Escape> escapes;
  std::vector<std::string> lock_violations;  // transfer lock fields left changed after a step
  // What would have called into the plugin's freed library, or destroyed a
  // callback whose code was there (each also a failure).
  std::vector<std::string> defects;
  uint64_t faults_injected = 0;
  // How often each armed fault hit: the initial faults first, in their order,
  // then those the scenario's steps armed.
  std::vector<uint64_t> fault_hits;
  // The plugin's lines written while it was unloaded at the end of the run
  // (after the report's log was taken), as "level: text".
  std::vector<std::string> unload_log;
  // Every key the plugin asked the framework for, whether the build has it
  // or not (sorted).
  std::vector<std::string> asked_keys;
};

RunResult RunScenario(const Scenario& scenario, const RunOptions& options);

// Starts the plugin on a server whose config file holds `config_text` and
// tells what it said and which hooks it installed. Exit 0 when the plugin
// started, 1 when it logged its start-up failure, 2 when it could not load.
int CheckConfig(const std::string& config_text, const RunOptions& options, std::ostream& out);

}  // namespace simtool
