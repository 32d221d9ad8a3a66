// cradlekeep-sweep: replays scenarios with a fault at every call point.
//
// For each scenario it first records every fault-able call (game functions
// and framework operations) from the plugin's load to the end. Then it
// replays the scenario once per chosen call point and fault: the call throws
// a standard exception, throws something else, or returns its failure value,
// once or from then on. After every replay it checks what must hold whatever
// fails: every hooked call reached the game's function exactly once; no
// exception left the plugin except from the game's own functions; the
// transfer lock fields hold what the game set; engine memory is balanced;
// no creature is lost; a thrown failure the plugin caught left its line in
// the log. Usage:
//   cradlekeep-sweep [--points N] [--plugin PATH] SCENARIO.json...
// --points caps the call points swept per scenario (spread evenly); 0 sweeps
// every point.
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "sim/framework/framework.h"
#include "tools/sim/plugin_library.h"
#include "tools/sim/runner.h"
#include "tools/sim/scenario.h"

namespace {

struct Totals {
  std::uint64_t replays = 0;
  std::uint64_t injected = 0;
  std::uint64_t checks = 0;
  std::uint64_t violations = 0;
};

// Keys the plugin is specified to call under a silent catch-all: a failure
// there leaves no line by design (a creature's name lookups).
bool CaughtSilentlyByDesign(const std::string& key) {
  return key == "APrimalDinoCharacter.GetCurrentDinoName(APlayerController*)" ||
         key == "APrimalDinoCharacter.GetDinoDescriptiveName(bool,bool)";
}

const char* ModeName(simfw::FaultMode mode) {
  switch (mode) {
    case simfw::FaultMode::kThrow: return "throw";
    case simfw::FaultMode::kThrowUnknown: return "throwUnknown";
    case simfw::FaultMode::kFail: return "fail";
  }
  return "?";
}

class Sweep {
 public:
  Sweep(std::string plugin, std::size_t max_points) : plugin_(std::move(plugin)), max_points_(max_points) {}

  void Run(const std::string& path) {
    simtool::Scenario scenario = simtool::LoadScenarioFile(path);
    scenario.expect = nlohmann::json::object();  // outcomes change with faults; the invariants stay
    simtool::RunOptions record;
    record.plugin_path = plugin_;
    record.record_calls = true;
    const simtool::RunResult baseline = simtool::RunScenario(scenario, record);
    if (baseline.exit_code == 2) {
      std::cerr << scenario.name << ": cannot run: " << (baseline.failures.empty() ? "" : baseline.failures[0]) << '\n';
      ++totals_.violations;
      return;
    }
    Check(scenario.name, "no fault", baseline, nullptr, simfw::FaultMode::kFail);
    const auto& calls = baseline.recorded;
    const std::size_t stride = max_points_ == 0 || calls.size() <= max_points_ ? 1 : (calls.size() + max_points_ - 1) / max_points_;
    std::map<std::string, std::int64_t> seen;
    std::size_t points = 0;
    for (std::size_t n = 0; n < calls.size(); ++n) {
      const simfw::FaultableCall& call = calls[n];
      const std::string identity = call.key + "|" + call.target;
      const std::int64_t occurrence = ++seen[identity];
      if (n % stride != 0) continue;
      ++points;
      for (simfw::FaultMode mode : {simfw::FaultMode::kThrow, simfw::FaultMode::kThrowUnknown, simfw::FaultMode::kFail}) {
        for (bool repeat : {false, true}) {
          simfw::FaultSpec spec;
          spec.key = call.key;
          if (!call.target.empty()) spec.target = call.target;
          spec.mode = mode;
          spec.at = occurrence;
          spec.repeat = repeat;
          simtool::RunOptions options;
          options.plugin_path = plugin_;
          options.initial_faults.push_back(spec);
          const simtool::RunResult result = simtool::RunScenario(scenario, options);
          ++totals_.replays;
          totals_.injected += result.faults_injected;
          const std::string what = "fault " + std::string(ModeName(mode)) + (repeat ? " (repeating)" : "") +
                                   " at call " + std::to_string(n + 1) + " " + call.key +
                                   (call.target.empty() ? "" : " [" + call.target + "]");
          Check(scenario.name, what, result, &call, mode);
        }
      }
    }
    std::cout << scenario.name << ": " << calls.size() << " call points, " << points << " swept\n";
  }

  const Totals& totals() const { return totals_; }

 private:
  void Violation(const std::string& scenario, const std::string& what, const std::string& invariant) {
    ++totals_.violations;
    if (totals_.violations <= 50) std::cerr << scenario << ": " << what << ": " << invariant << '\n';
  }

  void Check(const std::string& scenario, const std::string& what, const simtool::RunResult& result,
             const simfw::FaultableCall* call, simfw::FaultMode mode) {
    const auto& report = result.report;
    if (result.exit_code == 2) {
      Violation(scenario, what, "the run could not complete");
      return;
    }
    ++totals_.checks;
    for (const auto& [key, counts] : report["hookedCalls"].items()) {
      if (counts["calls"] != counts["reachedGame"]) {
        Violation(scenario, what, key + " was called " + counts["calls"].dump() + " time(s) but reached the game " +
                                      counts["reachedGame"].dump() + " time(s)");
      }
    }
    ++totals_.checks;
    for (const std::string& v : result.lock_violations) Violation(scenario, what, "transfer lock: " + v);
    ++totals_.checks;
    if (report["engineMemory"]["liveBlocks"].get<long long>() != 0) {
      Violation(scenario, what, report["engineMemory"]["liveBlocks"].dump() + " engine block(s) never freed");
    }
    ++totals_.checks;
    if (!report["lost"].empty()) Violation(scenario, what, "lost creatures " + report["lost"].dump());

    ++totals_.checks;
    const bool hookable = call != nullptr && simfw::Fw().registry.Hookable(call->key) != nullptr;
    for (const std::string& escape : result.escaped) {
      if (!hookable) Violation(scenario, what, "an exception left the plugin: " + escape);
    }
    ++totals_.checks;
    if (call != nullptr && result.faults_injected > 0 && mode != simfw::FaultMode::kFail && result.escaped.empty() &&
        !CaughtSilentlyByDesign(call->key)) {
      const std::string expected = mode == simfw::FaultMode::kThrow ? "injected fault: " + call->key : "unknown exception";
      bool logged = false;
      for (const auto& line : report["log"]) {
        const std::string level = line["level"].get<std::string>();
        if ((level == "warn" || level == "error") && line["text"].get<std::string>().find(expected) != std::string::npos) {
          logged = true;
          break;
        }
      }
      for (const std::string& line : result.unload_log) {
        if ((line.rfind("warn: ", 0) == 0 || line.rfind("error: ", 0) == 0) && line.find(expected) != std::string::npos) {
          logged = true;
        }
      }
      if (!logged) Violation(scenario, what, "the failure passed silently: no warn or error line names it");
    }
  }

  std::string plugin_;
  std::size_t max_points_;
  Totals totals_;
};

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path plugin = simtool::PluginLibrary::DefaultPath();
  std::size_t max_points = 0;
  std::vector<std::string> scenarios;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--points" && i + 1 < argc) {
      max_points = static_cast<std::size_t>(std::stoul(argv[++i]));
    } else if (arg == "--plugin" && i + 1 < argc) {
      plugin = argv[++i];
    } else {
      scenarios.push_back(arg);
    }
  }
  if (scenarios.empty()) {
    std::cerr << "usage: cradlekeep-sweep [--points N] [--plugin PATH] SCENARIO.json...\n";
    return 2;
  }
  const std::u8string plugin_utf8 = std::filesystem::absolute(plugin).u8string();
  const std::string plugin_path(plugin_utf8.begin(), plugin_utf8.end());
#if defined(_WIN32)
  // Every load of a mingw-built DLL takes a thread-local storage slot that its
  // runtime never gives back, and a process has about a thousand: a sweep of
  // thousands of replays would run out. Held open here, the plugin is loaded
  // once; each replay still starts and unloads it through its entry points.
  simtool::PluginLibrary pinned;
  if (!pinned.Open(plugin_path)) {
    std::cerr << "cradlekeep-sweep: " << pinned.Error() << '\n';
    return 2;
  }
#endif
  Sweep sweep(plugin_path, max_points);
  try {
    for (const std::string& path : scenarios) sweep.Run(path);
  } catch (const std::exception& e) {
    std::cerr << "cradlekeep-sweep: " << e.what() << '\n';
    return 2;
  }
  const Totals& t = sweep.totals();
  std::cout << "sweep: " << t.replays << " replays, " << t.injected << " faults injected, " << t.checks
            << " invariant checks, " << t.violations << " violations\n";
  return t.violations == 0 ? 0 : 1;
}
