// Scenario files: parsing and validation.
//
// A scenario that cannot be used (not JSON, an unknown key or action, a name
// that does not exist, a value of the wrong kind) is refused as a whole with
// one ScenarioError saying what and where; nothing of it runs.
#pragma once

#include <map>
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
  // The text of a config file beside the installed plugin, when there is one:
  // the server's files then sit in a folder other than the working directory.
  std::optional<std::string> config_beside_plugin;
  sim::ServerSettings server;
  sim::ModSettings mods;
  sim::WorldSettings world;
  std::vector<sim::CreatureSpec> creatures;
  std::vector<sim::PlayerSpec> players;
  std::vector<Step> steps;
  // The checks made at the end on the build played: `expect_everywhere`
  // with the keys of that build's `expect_on_build` entry put in their place.
  nlohmann::json expect = nlohmann::json::object();
  nlohmann::json expect_everywhere = nlohmann::json::object();
  std::map<std::string, nlohmann::json> expect_on_build;
  bool load_plugin_first = true;
};

// Parses a scenario (comments allowed). Throws ScenarioError.
Scenario ParseScenario(const std::string& text, const std::string& name);
Scenario LoadScenarioFile(const std::string& path);

// The config file's bytes for the scenario's configEncoding: "utf-8" (the
// text as it is), "utf-8-bom" (a UTF-8 byte-order mark first), "utf-16le"
// (a byte-order mark and little-endian code units, as Windows Notepad saves
// "Unicode") or "utf-16be". Fails the scenario for any other name.
std::string EncodeConfigText(const Scenario& s, const std::string& text, const std::string& encoding);

// Plays the scenario on another game build (sim/game/game_builds.h): the
// server runs it, and its expectations for that build apply. Throws
// ScenarioError for an unknown build.
void PlayOnGameBuild(Scenario& scenario, const std::string& build);

// Reads a whole file; throws ScenarioError when it cannot be read.
std::string ReadFile(const std::string& path);

}  // namespace simtool
