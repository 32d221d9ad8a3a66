#include "tools/sim/runner.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <stdexcept>

#include "sim/framework/engine_text.h"
#include "sim/framework/framework.h"
#include "sim/game/game_builds.h"
#include "sim/game/objects.h"
#include "tools/sim/actions.h"
#include "tools/sim/expectations.h"
#include "tools/sim/journal_check.h"
#include "tools/sim/journal_files.h"
#include "tools/sim/journal_line.h"
#include "tools/sim/threads.h"
#include "tools/sim/plugin_library.h"
#include "tools/sim/report.h"

namespace simtool {

namespace fs = std::filesystem;
using nlohmann::json;
using nlohmann::ordered_json;

namespace {

constexpr const char* kConfigPath = "ArkApi/Plugins/Cradlekeep/config.json";
// The plugin's name for the framework: its folder and library's.
constexpr const char* kPluginName = "Cradlekeep";

// A scratch folder that becomes the working directory for its lifetime.
// Empties `folder` but for the framework's offsets cache.
void EmptyAllButTheCache(const fs::path& folder) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    if (entry.path().filename() != "ArkApi") {
      fs::remove_all(entry.path(), ec);
      continue;
    }
    for (const auto& inner : fs::directory_iterator(entry.path(), ec)) {
      if (inner.path().filename() != "Cache") fs::remove_all(inner.path(), ec);
    }
  }
}

class ScratchFolder {
 public:
  // A given folder is entered and kept (emptied but for the cache).
  explicit ScratchFolder(const fs::path& given) : kept_(!given.empty()) {
    previous_ = fs::current_path();
    if (kept_) {
      fs::create_directories(given);
      path_ = given;
      EmptyAllButTheCache(path_);
      fs::current_path(path_);
      return;
    }
    std::random_device random;
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
      const fs::path candidate = fs::temp_directory_path() /
                                 ("cradlekeep-sim-" + std::to_string(stamp) + "-" + std::to_string(random()));
      std::error_code ec;
      if (fs::create_directory(candidate, ec)) {
        path_ = candidate;
        break;
      }
    }
    if (path_.empty()) throw std::runtime_error("cannot create a scratch folder");
    fs::current_path(path_);
  }
  ~ScratchFolder() {
    std::error_code ec;
    fs::current_path(previous_, ec);
    if (kept_) {
      EmptyAllButTheCache(path_);
    } else {
      fs::remove_all(path_, ec);
    }
  }

 private:
  bool kept_;
  fs::path path_;
  fs::path previous_;
};

// Writes `text` as the file at `path`, with the folders it needs.
void WriteConfigFile(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

// The config file below the working directory.
void WriteConfigFile(const std::string& text) { WriteConfigFile(kConfigPath, text); }

std::string Describe(const Step& step) {
  std::string value = step.value.dump();
  if (value.size() > 120) value = value.substr(0, 117) + "...";
  return std::string(step.action->name) + " " + value;
}

class Run final : public Stage {
 public:
  Run(const Scenario& scenario, const RunOptions& options) : scenario_(scenario), options_(options) {}

  RunResult Play() {
    ScratchFolder scratch(options_.work_folder);
    if (scenario_.config_file) {
      last_config_text_ = *scenario_.config_file;
      WriteConfigFile(*scenario_.config_file);
    }

    game_ = std::make_unique<sim::Game>(scenario_.server, scenario_.mods, scenario_.world);
    auto& fw = simfw::Fw();
    fw.logs.SetConsole(options_.transcript);
    game_->on_event = [this](const std::string& text) { Say("[game] " + text); };
    fw.utils.SetOnMessage([this](const simfw::SentMessage& m) {
      Say("[game] " + m.player + " is told by " + m.sender + ": " + m.text);
    });
    try {
      for (const auto& c : scenario_.creatures) game_->AddCreature(c);
      for (const auto& p : scenario_.players) game_->AddPlayer(p);
      ValidateNames();
      InstallPlugin();
      SetUpGameBuild();
    } catch (const std::exception& e) {
      return Unusable(e.what());
    }
    journal_.Look(game_->HeldPods());
    fw.logs.SetOnRecord([this](const simfw::LogRecord& record) { NoteJournalLine(record); });
    Say("[sim] " + scenario_.name + (scenario_.description.empty() ? "" : ": " + scenario_.description));

    for (const simfw::FaultSpec& spec : options_.initial_faults) fw.faults.Arm(spec);
    fw.faults.SetRecording(options_.record_calls);
    ServeFrameworkCommands();
    // The framework loads plugins before the game makes its world and game
    // mode (its hook on the engine's start runs before the game's InitGame):
    // at start-up the plugin finds neither.
    if (scenario_.load_plugin_first) {
      fw.utils.SetWorld(nullptr);
      fw.utils.SetGameMode(nullptr);
      if (!StartPlugin()) return Unusable(library_.Error());
    }
    game_->PublishWorld();
    for (std::size_t i = 0; i < scenario_.steps.size(); ++i) {
      const Step& step = scenario_.steps[i];
      if (i == 0 && !scenario_.load_plugin_first) continue;
      if (shut_down_) {
        Say("[sim] " + step.where + " failed: the server has shut down");
        continue;
      }
      try {
        PlayStep(step);
      } catch (const PluginLoadError& e) {
        return Unusable(e.what());
      }
    }
    return Finish();
  }

 private:
  struct PluginLoadError : std::runtime_error {
    using std::runtime_error::runtime_error;
  };

  // Plays one step. A failure of the step itself is told and the run goes
  // on; only a plugin library that cannot be loaded ends it.
  void PlayStep(const Step& step) {
    journal_.BeginStep(step.where);
    Say("[sim] " + step.where + " " + Describe(step));
    try {
      step.action->play(*this, step.value);
      sim::Objects().Collect();
    } catch (const PluginLoadError&) {
      throw;
    } catch (const std::exception& e) {
      // Whatever left the plugin on the way was noted where it left; a
      // failure of the step itself is the scenario not fitting the world
      // any more (an item a failed capture never made).
      Say("[sim] " + step.where + " failed: " + e.what());
    } catch (const simfw::InjectedUnknownFault& e) {
      Say(std::string("[sim] ") + step.where + " failed: unknown exception (injected at " + e.key + ")");
    } catch (...) {
      Say("[sim] " + step.where + " failed: unknown exception");
    }
    for (const std::string& violation : game_->LockViolations()) {
      lock_violations_.push_back(step.where + ": " + violation);
    }
    journal_.Look(game_->HeldPods());
  }

  // A line the plugin writes: a journal line is checked against the ledger
  // as it stands while the line is written. Runs inside the log sink, so
  // nothing may leave it.
  void NoteJournalLine(const simfw::LogRecord& record) {
    if (record.logger != kPluginName || record.level != "info" || !game_) return;
    if (!IsJournalLine(record.text)) {
      journal_.Status(record.text);
      return;
    }
    try {
      if (ParseJournalLine(record.text).entry) journal_texts_.push_back(record.text);
      journal_.Line(record.text, game_->HeldPods());
    } catch (const std::exception& e) {
      journal_unnoted_.push_back("a journal line could not be checked (" + std::string(e.what()) + "): " + record.text);
    }
  }

  // After the last step: the report, the framework's final unload, the
  // world torn down, then the expectations and what the sweeps read.
  RunResult Finish() {
    auto& fw = simfw::Fw();
    RunResult result;
    result.report = BuildReport(*game_, external_results_, journal_.Entries());
    result.report["otherPlugins"] = others_.Report();
    // The unload's lines are not the run's: neither in the log nor checked.
    fw.logs.SetOnRecord(nullptr);
    result.journal_failures = journal_unnoted_;
    for (std::string& failure : journal_.Failures()) result.journal_failures.push_back(std::move(failure));
    Summarize(result.report);
    const std::size_t lines_before_unload = fw.logs.RecordsOf("Cradlekeep").size();
    if (loaded_) UnloadLikeTheFramework(/*quiet=*/true);
    // The writer has ended with the unload: its files are whole.
    AddFileStamps(result.report["journal"], journal_texts_, JournalFilesIn(JournalFolders()));
    const auto all_lines = fw.logs.RecordsOf("Cradlekeep");
    for (std::size_t i = lines_before_unload; i < all_lines.size(); ++i) {
      result.unload_log.push_back(all_lines[i].level + ": " + all_lines[i].text);
    }
    StopServingFrameworkCommands();
    fw.logs.SetConsole(nullptr);
    game_.reset();
    result.report["engineMemory"] = ordered_json{{"liveBlocks", fw.memory.LiveBlocks()},
                                                 {"liveBytes", fw.memory.LiveBytes()}};
    result.failures = FailedExpectations(scenario_.expect, result.report);
    result.defects = fw.modules.Defects();
    for (const std::string& defect : result.defects) result.failures.push_back("defect: " + defect);
    result.exit_code = result.failures.empty() && result.journal_failures.empty() ? 0 : 1;
    result.recorded = fw.faults.Recorded();
    result.faults_injected = fw.faults.Injected();
    for (const uint64 hits : fw.faults.Hits()) result.fault_hits.push_back(hits);
    result.escapes = fw.faults.Escapes();
    result.escapes.insert(result.escapes.end(), lifecycle_escapes_.begin(), lifecycle_escapes_.end());
    result.lock_violations = lock_violations_;
    result.asked_keys.assign(fw.build.Asked().begin(), fw.build.Asked().end());
    fw.faults.SetRecording(false);
    return result;
  }

  void Say(const std::string& line) override {
    if (options_.transcript != nullptr) *options_.transcript << line << '\n';
  }

  RunResult Unusable(const std::string& why) {
    simfw::Fw().logs.SetConsole(nullptr);
    simfw::Fw().logs.SetOnRecord(nullptr);
    RunResult result;
    result.exit_code = 2;
    result.failures.push_back(why);
    if (loaded_) UnloadLikeTheFramework(true);
    StopServingFrameworkCommands();
    game_.reset();
    return result;
  }

  // The game build of the scenario: the keys its dump lacks (the build's own
  // and those the scenario names, each one a key the simulated game has) and
  // the framework's cache of the dump, written
  // in the scratch folder as the framework keeps it beside the server.
  void SetUpGameBuild() {
    auto& fw = simfw::Fw();
    std::set<std::string> missing = sim::GameBuildNamed(scenario_.server.game_build).absent;
    for (const std::string& key : scenario_.server.missing_keys) {
      if (!fw.registry.Knows(key)) throw std::invalid_argument("server.missingKeys: the game has no key '" + key + "'");
      missing.insert(key);
    }
    fw.build.SetMissingKeys(std::move(missing));
    for (const auto& [key, offset] : scenario_.server.field_offsets) {
      if (!fw.registry.IsField(key)) throw std::invalid_argument("server.fieldOffsets: the game has no field '" + key + "'");
      fw.registry.AddField(key, static_cast<std::ptrdiff_t>(offset));
    }
    fw.build.SetHooksDoNotThrow(scenario_.server.hooks_do_not_throw);
    const std::string& cache = scenario_.server.offsets_cache;
    fw.build.WriteCache(server_folder_, fw.registry,
                        cache == "absent"    ? simfw::OffsetsCacheState::kAbsent
                        : cache == "corrupt" ? simfw::OffsetsCacheState::kCorrupt
                                             : simfw::OffsetsCacheState::kPresent);
  }

  // The checks of names only the built world knows; throws ScenarioError.
  void ValidateNames() {
    for (const Step& step : scenario_.steps) {
      if (step.action->validate_in_world == nullptr) continue;
      step.action->validate_in_world(scenario_, step.value, step.where + "." + std::string(step.action->name));
    }
  }

  // Where the plugin is loaded from. A scenario with a config file beside the
  // plugin installs a copy of the library as the framework installs plugins,
  // in a server folder that is not the working directory: the server was
  // started from elsewhere.
  void InstallPlugin() {
    server_folder_ = fs::current_path();
    plugin_path_ = options_.plugin_path;
    if (!scenario_.config_beside_plugin) return;
    server_folder_ = fs::current_path() / "server";
    const fs::path folder = server_folder_ / "ArkApi" / "Plugins" / kPluginName;
    WriteConfigFile(folder / "config.json", *scenario_.config_beside_plugin);
    const fs::path library(std::u8string(options_.plugin_path.begin(), options_.plugin_path.end()));
    const fs::path installed = folder / library.filename();
    fs::copy_file(library, installed, fs::copy_options::overwrite_existing);
    const std::u8string text = installed.u8string();
    plugin_path_.assign(text.begin(), text.end());
  }

  bool StartPlugin() {
    if (!library_.IsOpen()) threads_before_load_ = ThreadsOfThisProcess();
    if (!library_.IsOpen() && !library_.Open(plugin_path_)) return false;
    loaded_ = true;
    module_ = simfw::Fw().modules.Begin(simfw::Modules::BaseOf(reinterpret_cast<const void*>(library_.init)));
    journal_.PluginStarts();
    try {
      library_.init();
    } catch (...) {
      Say("[sim] the plugin's start-up threw");
      lifecycle_escapes_.push_back(simfw::Escape{"Plugin_Init", "an exception left the plugin", false});
    }
    return true;
  }

  void StopPlugin(bool quiet) {
    std::ostream* console = options_.transcript;
    if (quiet) simfw::Fw().logs.SetConsole(nullptr);
    loaded_ = false;
    try {
      library_.unload();
    } catch (...) {
      Say("[sim] the plugin's unload threw");
      lifecycle_escapes_.push_back(simfw::Escape{"Plugin_Unload", "an exception left the plugin", false});
    }
    if (quiet) simfw::Fw().logs.SetConsole(console);
  }

  // The framework's unload (API 2.03, PluginManager::UnloadPlugin): the
  // plugin's Plugin_Unload, then every command and callback of its module
  // emptied and removed and every hook of it taken out, then the library
  // freed. Whatever still reaches into it afterwards is a defect. An unload
  // the admin asked for may fail in the framework's sweep of the module's
  // commands: it then throws as the framework's does, with the library still
  // loaded and listed, its commands and hooks still registered, and the
  // plugin's Plugin_Unload already run. The final unload does not fail.
  void UnloadLikeTheFramework(bool quiet) {
    auto& fw = simfw::Fw();
    StopPlugin(quiet);
    try {
      fw.ForgetModule(module_, /*faultable=*/!quiet);
    } catch (...) {
      loaded_ = true;
      throw;
    }
    library_.Close();
    fw.modules.End(module_);
    module_ = 0;
    const int threads = ThreadsSettledTo(threads_before_load_);
    if (threads >= 0 && threads_before_load_ >= 0 && threads > threads_before_load_) {
      fw.modules.NoteDefect("the plugin's library was freed with " + std::to_string(threads - threads_before_load_) +
                            " thread(s) it started still running");
    }
  }

  // Where the journal's files of the run may be: below the working folder
  // and the server's folder, and the folder the latest config names.
  std::vector<fs::path> JournalFolders() const {
    std::vector<fs::path> folders{fs::current_path(), server_folder_};
    const nlohmann::json config = nlohmann::json::parse(last_config_text_, nullptr, false);
    if (config.is_object() && config.contains("JournalFolder") && config["JournalFolder"].is_string()) {
      const std::string folder = config["JournalFolder"].get<std::string>();
      if (!folder.empty()) folders.emplace_back(std::u8string(folder.begin(), folder.end()));
    }
    return folders;
  }

  // The framework's plugins.load and plugins.unload, for this plugin.
  void ServeFrameworkCommands() {
    auto& fw = simfw::Fw();
    fw.on_reply = [this](const std::string& text) { Say("[game] the framework answers: " + text); };
    fw.load_plugin = [this](const std::string& name) -> std::string {
      if (name != kPluginName) return "Failed to load plugin - Plugin " + name + " does not exist";
      if (loaded_) return "Failed to load plugin - Plugin " + name + " was already loaded";
      if (!StartPlugin()) return "Failed to load plugin - " + library_.Error();
      return "Successfully loaded plugin";
    };
    fw.unload_plugin = [this](const std::string& name) -> std::string {
      if (name != kPluginName || !loaded_) return "Failed to unload plugin - Plugin " + name + " is not loaded";
      try {
        UnloadLikeTheFramework(false);
      } catch (const std::exception& e) {
        return std::string("Failed to unload plugin - ") + e.what();
      } catch (...) {
        return "Failed to unload plugin - unknown exception";
      }
      return "Successfully unloaded plugin";
    };
  }

  void StopServingFrameworkCommands() {
    auto& fw = simfw::Fw();
    fw.on_reply = nullptr;
    fw.load_plugin = nullptr;
    fw.unload_plugin = nullptr;
  }

  // A few closing lines for the reader of the transcript.
  void Summarize(const ordered_json& report) {
    for (const auto& [id, p] : report["players"].items()) {
      std::string items;
      for (const auto& item : p["inventory"]) {
        items += (items.empty() ? "" : ", ") + item["class"].get<std::string>() +
                 (item["creature"].is_null() ? "" : " holding " + item["creature"].get<std::string>());
      }
      Say("[sim] " + id + ": " + (p["online"].get<bool>() ? "online" : "away") + ", inventory [" + items +
          "], uploaded " + std::to_string(p["uploaded"].size()) + " item(s), buffs " + p["buffs"].dump());
    }
    for (const auto& [id, c] : report["creatures"].items()) {
      Say("[sim] " + id + ": " + c["where"].get<std::string>() +
          (c["player"].is_null() ? "" : " (" + c["player"].get<std::string>() + ")") +
          (c["cryoSickness"].get<bool>() ? ", cryo sickness" : ""));
    }
    Say("[sim] lost " + report["lost"].dump() + ", duplicated " + report["duplicated"].dump() + ", left behind " +
        report["leftBehind"].dump());
  }

  // Stage, for the steps.
  sim::Game& World() override { return *game_; }
  OtherPlugins& Others() override { return others_; }

  void WriteConfig(const std::string& text) override {
    last_config_text_ = text;
    WriteConfigFile(text);
  }
  void RemoveConfig() override {
    std::error_code ignored;
    fs::remove(kConfigPath, ignored);
    fs::remove(server_folder_ / "ArkApi" / "Plugins" / kPluginName / "config.json", ignored);
  }

  void LoadPlugin() override {
    if (loaded_) throw std::runtime_error("the plugin is already loaded");
    if (!StartPlugin()) throw PluginLoadError(library_.Error());
  }

  void UnloadPlugin() override {
    if (!loaded_) throw std::runtime_error("the plugin is not loaded");
    UnloadLikeTheFramework(false);
  }

  void ReloadAutomatically() override {
    if (!loaded_) throw std::runtime_error("the plugin is not loaded");
    Say("[game] the framework finds a new Cradlekeep.dll.ArkApi and reloads the plugin");
    UnloadLikeTheFramework(false);
    if (!StartPlugin()) throw PluginLoadError(library_.Error());
  }

  void ShutDown() override {
    // The process ends with the library still mapped: nothing of the plugin
    // runs again, and the framework's lists go with the process.
    Say("[game] the server shuts down");
    loaded_ = false;
    shut_down_ = true;
    library_.Abandon();
  }

  bool CaptureForTransfer(sim::Player& player) override {
    if (!loaded_) throw std::runtime_error("the plugin is not loaded");
    auto& faults = simfw::Fw().faults;
    bool result = false;
    {
      simfw::Faults::Entry entry(faults);
      try {
        result = library_.capture(reinterpret_cast<AShooterPlayerController*>(player.controller));
      } catch (...) {
        faults.NoteEscape("Cradlekeep_CaptureForTransfer", std::current_exception());
        throw;
      }
    }
    external_results_.push_back(result);
    return result;
  }

  const Scenario& scenario_;
  const RunOptions& options_;
  std::unique_ptr<sim::Game> game_;
  PluginLibrary library_;
  OtherPlugins others_;
  std::string plugin_path_;           // the plugin library loaded
  std::filesystem::path server_folder_;  // the folder holding the server's ArkApi folder
  bool loaded_ = false;
  int module_ = 0;  // the framework's module of the loaded plugin
  bool shut_down_ = false;
  std::vector<bool> external_results_;
  // Start-up and unload run outside the framework's record of entries.
  std::vector<simfw::Escape> lifecycle_escapes_;
  std::vector<std::string> lock_violations_;
  JournalCheck journal_;
  std::vector<std::string> journal_unnoted_;  // lines the check could not take
  std::vector<std::string> journal_texts_;    // the journal lines that parse, as the log has them
  std::string last_config_text_;              // the config file's text as last written
  int threads_before_load_ = -1;              // the process's threads before the library was opened
};

}  // namespace

RunResult RunScenario(const Scenario& scenario, const RunOptions& options) {
  Run run(scenario, options);
  return run.Play();
}

namespace {

// Whether each blueprint path the file sets names a class of the simulated
// game, the cryopod mod's included; a path the file leaves out is the
// plugin's own default and is not looked at.
void TellBlueprints(const std::string& config_text, std::ostream& out) {
  constexpr const char* kBlueprintSettings[] = {"VanillaCryopodBlueprint", "ScsCryopodBlueprint",
                                                "ScsCaptureActorBlueprint", "CryoCooldownBuffBlueprint",
                                                "CryoSicknessBuffBlueprint"};
  json root;
  try {
    root = json::parse(config_text, nullptr, true, /*ignore_comments=*/true);
  } catch (const json::exception&) {
    return;  // the plugin has said what is wrong with the file
  }
  if (!root.is_object()) return;
  sim::ModSettings mods;
  mods.cryopod_mod = true;
  sim::Game game(sim::ServerSettings{}, mods);
  out << "blueprints in the simulated game (the game's own and the SCS cryopod mod's; a real server may hold mods "
         "the simulator does not know):\n";
  for (const char* setting : kBlueprintSettings) {
    const auto value = root.find(setting);
    if (value == root.end() || !value->is_string()) {
      out << "  " << setting << ": the plugin's default\n";
      continue;
    }
    const std::string path = value->get<std::string>();
    out << "  " << setting << ": " << (game.ClassByBlueprint(path) != nullptr ? "resolves" : "does not resolve")
        << " (" << path << ")\n";
  }
}

}  // namespace

int CheckConfig(const std::string& config_text, const RunOptions& options, std::ostream& out) {
  Scenario scenario;
  scenario.name = "check-config";
  scenario.config_file = config_text;
  RunOptions quiet = options;
  quiet.transcript = nullptr;
  RunResult result = RunScenario(scenario, quiet);
  if (result.exit_code == 2) {
    for (const auto& f : result.failures) out << f << '\n';
    return 2;
  }
  bool failed = false;
  for (const auto& line : result.report["log"]) {
    const std::string text = line["text"].get<std::string>();
    out << line["level"].get<std::string>() << ": " << text << '\n';
    if (text.rfind("Cradlekeep failed to load:", 0) == 0) failed = true;
  }
  const auto& hooks = result.report["plugin"]["hooks"];
  out << "hooks installed: " << hooks.size() << '\n';
  for (const auto& key : hooks) out << "  " << key.get<std::string>() << '\n';
  TellBlueprints(config_text, out);
  return failed ? 1 : 0;
}

}  // namespace simtool
