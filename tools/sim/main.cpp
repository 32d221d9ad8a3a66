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
    "usage: cradlekeep-sim run SCENARIO.json [--plugin PATH] [--report FILE|-] [--quiet]\n"
    "       cradlekeep-sim check-config CONFIG.json [--plugin PATH]\n";

int Usage(const std::string& problem) {
  std::cerr << "cradlekeep-sim: " << problem << '\n' << kUsage;
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage("no command");
  const std::string command = args[0];
  if (command != "run" && command != "check-config") return Usage("unknown command '" + command + "'");
  if (args.size() < 2) return Usage(command + " needs a file");

  simtool::RunOptions options;
  std::filesystem::path plugin_path = simtool::PluginLibrary::DefaultPath();
  std::string report_path;
  bool quiet = false;
  for (std::size_t i = 2; i < args.size(); ++i) {
    if (args[i] == "--plugin" && i + 1 < args.size()) {
      plugin_path = args[++i];
    } else if (args[i] == "--report" && i + 1 < args.size() && command == "run") {
      report_path = args[++i];
    } else if (args[i] == "--quiet" && command == "run") {
      quiet = true;
    } else {
      return Usage("unknown option '" + args[i] + "'");
    }
  }

  // UTF-8 from here on: the command line comes in the system's narrow encoding
  // (a code page on Windows), and path::string() is not UTF-8 everywhere.
  const std::u8string plugin_utf8 = std::filesystem::absolute(plugin_path).u8string();
  options.plugin_path.assign(plugin_utf8.begin(), plugin_utf8.end());
  try {
    if (command == "check-config") {
      const std::string text = simtool::ReadFile(args[1]);
      return simtool::CheckConfig(text, options, std::cout);
    }
    const simtool::Scenario scenario = simtool::LoadScenarioFile(args[1]);
    options.transcript = quiet ? nullptr : &std::cout;
    simtool::RunResult result = simtool::RunScenario(scenario, options);
    if (result.exit_code == 2) {
      for (const auto& why : result.failures) std::cerr << "cradlekeep-sim: " << why << '\n';
      return 2;
    }
    if (!report_path.empty()) {
      const std::string text = result.report.dump(2) + "\n";
      if (report_path == "-") {
        std::cout << text;
      } else {
        std::ofstream out(report_path, std::ios::binary | std::ios::trunc);
        if (!out) {
          std::cerr << "cradlekeep-sim: cannot write report to '" << report_path << "'\n";
          return 2;
        }
        out << text;
      }
    }
    for (const auto& failure : result.failures) std::cerr << "expectation failed: " << failure << '\n';
    if (!quiet && result.failures.empty()) std::cout << "[sim] every expectation holds\n";
    return result.exit_code;
  } catch (const simtool::ScenarioError& e) {
    std::cerr << "cradlekeep-sim: " << e.what() << '\n';
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "cradlekeep-sim: " << e.what() << '\n';
    return 2;
  }
}
