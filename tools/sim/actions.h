// The actions a scenario step may name. Each action is declared once, in one
// table: its name, the check of the step's value when the scenario loads, and
// what the step does to the running scenario.
#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "sim/game/game.h"
#include "tools/sim/other_plugins.h"
#include "tools/sim/scenario.h"

namespace simtool {

// The running scenario as a step sees it.
class Stage {
 public:
  virtual ~Stage() = default;

  // The simulated game, its world built.
  virtual sim::Game& World() = 0;
  // Writes one line of the transcript.
  virtual void Say(const std::string& line) = 0;
  // Replaces the plugin's config file on disk; the plugin reads it at its
  // next load.
  virtual void WriteConfig(const std::string& text) = 0;
  // Removes the config file, and the one beside an installed plugin, as an
  // admin who moved or deleted it.
  virtual void RemoveConfig() = 0;
  // The framework loads the plugin. Throws std::runtime_error when it is
  // loaded already; a library that cannot be loaded ends the run as unusable.
  virtual void LoadPlugin() = 0;
  // The framework unloads the plugin as plugins.unload does and frees its
  // library. Throws std::runtime_error when it is not loaded.
  virtual void UnloadPlugin() = 0;
  // The framework's AutomaticPluginReloading finds a new library beside the
  // plugin's: from the game state's timer it unloads the plugin and loads it
  // again. Throws std::runtime_error when it is not loaded.
  virtual void ReloadAutomatically() = 0;
  // The server process ends: no Plugin_Unload, the library never freed.
  // Later steps fail.
  virtual void ShutDown() = 0;
  // Calls the plugin's exported Cradlekeep_CaptureForTransfer with the
  // player's controller and keeps the result for the report. Throws
  // std::runtime_error when the plugin is not loaded.
  virtual bool CaptureForTransfer(sim::Player& player) = 0;
  // The other plugins beside Cradlekeep (otherPlugin, unloadOtherPlugin).
  virtual OtherPlugins& Others() = 0;
};

struct Action {
  std::string_view name;  // the step's key
  // Refuses the scenario (ScenarioError) when the step's value does not fit
  // the action. Runs when the scenario loads; `where` is "steps[N].<name>".
  void (*validate)(const Scenario& s, const nlohmann::json& value, const std::string& where);
  // Refuses names only the built world knows (game function keys), like
  // `validate`; null when the action names none. Runs once the world is
  // built, before the plugin loads.
  void (*validate_in_world)(const Scenario& s, const nlohmann::json& value, const std::string& where);
  // Does what the step says; `value` has passed both checks. An exception
  // marks the step failed and the scenario goes on.
  void (*play)(Stage& stage, const nlohmann::json& value);
};

// The action named `name`, or null when this simulator has none by that name.
const Action* FindAction(std::string_view name);

}  // namespace simtool
