// cradlekeep-sim: loads the plugin library as the framework does, plays a
// scenario on a simulated server and reports what happened.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "tools/sim/plugin_library.h"
#include "tools/sim/runner.h"
#include "tools/sim/scenario.h"

namespace {

constexpr const char* kUsage =
    "usage: cradlekeep-sim run SCENARIO.json [--plugin PATH] [--report FILE|-] [--quiet] [--game-build BUILD]\n"
    "       cradlekeep-sim check-config CONFIG.json [--plugin PATH]\n";

int Usage(const std::string& problem) {
  std::cerr << "cradlekeep-sim: " << problem << '\n' << kUsage;
  return 2;
}

struct CommandLine {
  std::string command;  // "run" or "check-config"
  std::string file;
  std::filesystem::path plugin_path = simtool::PluginLibrary::DefaultPath();
  std::string report_path;
  bool quiet = false;
  std::string game_build;  // empty: the scenario's own
};

// Reads the command line into `line`; the problem when it is not one of the
// usage's forms, "" when it is.
std::string Parse(const std::vector<std::string>& args, CommandLine& line) {
  if (args.empty()) return "no command";
  line.command = args[0];
  if (line.command != "run" && line.command != "check-config") return "unknown command '" + line.command + "'";
  if (args.size() < 2) return line.command + " needs a file";
  line.file = args[1];
  const bool run = line.command == "run";
  for (std::size_t i = 2; i < args.size(); ++i) {
    if (args[i] == "--plugin" && i + 1 < args.size()) {
      line.plugin_path = args[++i];
    } else if (args[i] == "--report" && i + 1 < args.size() && run) {
      line.report_path = args[++i];
    } else if (args[i] == "--quiet" && run) {
      line.quiet = true;
    } else if (args[i] == "--game-build" && i + 1 < args.size() && run) {
      line.game_build = args[++i];
    } else {
      return "unknown option '" + args[i] + "'";
    }
  }
  return {};
}

// Writes the report to the file, or to standard output for "-". False when
// the file cannot be written.
bool WriteReport(const nlohmann::ordered_json& report, const std::string& path) {
  const std::string text = report.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
  if (path == "-") {
    std::cout << text;
    return true;
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out << text;
  return true;
}

int Play(const CommandLine& line, simtool::RunOptions options) {
  simtool::Scenario scenario = simtool::LoadScenarioFile(line.file);
  if (!line.game_build.empty()) simtool::PlayOnGameBuild(scenario, line.game_build);
  options.transcript = line.quiet ? nullptr : &std::cout;
  simtool::RunResult result = simtool::RunScenario(scenario, options);
  if (result.exit_code == 2) {
    for (const auto& why : result.failures) std::cerr << "cradlekeep-sim: " << why << '\n';
    return 2;
  }
  if (!line.report_path.empty() && !WriteReport(result.report, line.report_path)) {
    std::cerr << "cradlekeep-sim: cannot write report to '" << line.report_path << "'\n";
    return 2;
  }
  for (const auto& failure : result.failures) std::cerr << "expectation failed: " << failure << '\n';
  for (const auto& failure : result.journal_failures) std::cerr << "journal: " << failure << '\n';
  if (!line.quiet && result.exit_code == 0) std::cout << "[sim] every expectation holds\n";
  return result.exit_code;
}

}  // namespace

int main(int argc, char** argv) {
  CommandLine line;
  if (const std::string problem = Parse(std::vector<std::string>(argv + 1, argv + argc), line); !problem.empty()) {
    return Usage(problem);
  }
  // UTF-8 from here on: the command line comes in the system's narrow encoding
  // (a code page on Windows), and path::string() is not UTF-8 everywhere.
  simtool::RunOptions options;
  const std::u8string plugin_utf8 = std::filesystem::absolute(line.plugin_path).u8string();
  options.plugin_path.assign(plugin_utf8.begin(), plugin_utf8.end());
  try {
    if (line.command == "check-config") return simtool::CheckConfig(simtool::ReadFile(line.file), options, std::cout);
    return Play(line, options);
  } catch (const std::exception& e) {
    std::cerr << "cradlekeep-sim: " << e.what() << '\n';
    return 2;
  }
}
