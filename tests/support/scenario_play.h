// Test support: plays a scenario written in code through the simulator, as
// cradlekeep-sim does with a scenario file: the plugin library is loaded as
// the framework loads it (the one CRADLEKEEP_PLUGIN names, else the one
// beside this program) on a fresh simulated server in a scratch folder, and
// the scenario's `expect` is checked by the simulator's own rules.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

#include "tools/sim/plugin_library.h"
#include "tools/sim/runner.h"
#include "tools/sim/scenario.h"

namespace cktest {

// What the plugin reports of a fault the simulator injects in `key` with
// `mode` ("throw" throws a standard exception, anything else an unknown one).
inline std::string InjectedFaultText(const std::string& mode, const std::string& key) {
  return mode == "throw" ? "injected fault: " + key : "unknown exception";
}

// Plays `scenario` (the JSON a scenario file would hold); the test fails with
// each expectation that did not hold, or with the reason the run could not
// happen.
inline void PlayScenario(const nlohmann::json& scenario, const std::string& name) {
  const char* named = std::getenv("CRADLEKEEP_PLUGIN");
  const std::filesystem::path plugin = named != nullptr ? std::filesystem::path(named)
                                                        : simtool::PluginLibrary::DefaultPath();
  simtool::RunOptions options;
  // Absolute before the run moves into its scratch folder; UTF-8, as the tool has it.
  const std::u8string plugin_utf8 = std::filesystem::absolute(plugin).u8string();
  options.plugin_path.assign(plugin_utf8.begin(), plugin_utf8.end());
  const simtool::RunResult result = simtool::RunScenario(simtool::ParseScenario(scenario.dump(), name), options);
  for (const auto& failure : result.failures) ADD_FAILURE() << name << ": " << failure;
  for (const auto& failure : result.journal_failures) ADD_FAILURE() << name << ": journal: " << failure;
  EXPECT_EQ(result.exit_code, 0) << name;
}

}  // namespace cktest
