// Scenario files: parsing and validation.
//
// A scenario that cannot be used (not JSON, an unknown key or action, a name
// that does not exist, a value of the wrong kind) is refused as a whole with
// one ScenarioError saying what and where; nothing of it runs.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/game/game.h"

namespace simtool {

class ScenarioError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Action;  // actions.h

struct Step {
  const Action* action = nullptr;  // what the step's one key names
  nlohmann::json value;            // its value
  std::string where;               // "steps[3]"
};

struct Scenario {
  std::string name;  // file name, for messages
  std::string description;
  std::optional<std::string> config_file;  // the config file's text, when there is one
  sim::ServerSettings server;
  sim::ModSettings mods;
  std::vector<sim::CreatureSpec> creatures;
  std::vector<sim::PlayerSpec> players;
  std::vector<Step> steps;
  nlohmann::json expect = nlohmann::json::object();
  bool load_plugin_first = true;
};

// Parses a scenario (comments allowed). Throws ScenarioError.
Scenario ParseScenario(const std::string& text, const std::string& name);
Scenario LoadScenarioFile(const std::string& path);

// Reads a whole file; throws ScenarioError when it cannot be read.
std::string ReadFile(const std::string& path);

}  // namespace simtool
