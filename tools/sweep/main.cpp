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
// no creature is lost and none is duplicated; the plugin's capture journal
// agrees with the ledger; a thrown failure the plugin caught left its line in
// the log.
//
// With --pairs it sweeps ordered pairs of faults inside one capture instead:
// a capture is the plugin's work for one transfer trigger, from the first
// companion's name lookup to the point where the hook callback hands over to
// the game's own function (or the export returns). For every call point of a
// capture and every fault mode, the scenario is replayed with that fault
// alone and its calls are recorded; then every later call of the same
// capture in that replay is a second point, swept in every mode with both
// faults armed. Both faults hit once. The same invariants are checked; a
// thrown failure counts as told when a line names one of the thrown faults.
//
// With --missing-keys it sweeps game builds instead: every key the simulated
// game has, one at a time, is left out of the build's dump, and the scenario
// is played on that build. Besides the invariants above: the plugin never
// asks for the missing key (no stall), and when the plugin uses that key
// (it asked for it on the complete build), a log line names it; no part
// that needs the key was left on (no line says a key was not in the build).
// Usage:
//   cradlekeep-sweep [--points N] [--pairs N|all] [--missing-keys] [--seed S] [--plugin PATH]
//                    [--game-build BUILD] SCENARIO.json...
// --points caps the call points swept per scenario (spread evenly); 0 sweeps
// every point. --pairs N replays N pairs per capture, drawn with the seed
// (default 1) from all of them; --pairs all replays every pair.
// --game-build plays every scenario on that game build (sim/game/game_builds.h)
// instead of its own; with --missing-keys, each key that build has is left
// out in turn.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "sim/framework/framework.h"
#include "sim/game/game.h"
#include "tools/sim/plugin_library.h"
#include "tools/sim/runner.h"
#include "tools/sim/scenario.h"
#include "tools/sweep/growth_bound.h"

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

// The framework's own operations that the plugin never calls: their
// failure is the framework's to tell (its answer to the admin).
bool FrameworksOwn(const std::string& key) { return key == "ICommands.RemoveAllCommandsFromModule"; }

const char* ModeName(simfw::FaultMode mode) {
  switch (mode) {
    case simfw::FaultMode::kThrow: return "throw";
    case simfw::FaultMode::kThrowUnknown: return "throwUnknown";
    case simfw::FaultMode::kFail: return "fail";
  }
  return "?";
}

constexpr simfw::FaultMode kModes[] = {simfw::FaultMode::kThrow, simfw::FaultMode::kThrowUnknown,
                                      simfw::FaultMode::kFail};

// The call every capture starts with: the first companion's name lookup.
constexpr const char* kCaptureStart = "APrimalDinoCharacter.GetCurrentDinoName(APlayerController*)";

// One fault of a replay, as the checks need it.
struct Injected {
  simfw::FaultableCall call;
  simfw::FaultMode mode;
  bool hit;
};

// A capture within a recording: [begin, end) of its calls.
struct Capture {
  std::size_t begin;
  std::size_t end;
};

// The end of the capture that begins at `begin`: the first later call made
// outside the entry the capture runs in, or the game part of the hooked
// function whose callback runs it (a hookable key at the capture's depth).
std::size_t CaptureEnd(const std::vector<simfw::FaultableCall>& calls, std::size_t begin) {
  const int depth = calls[begin].depth;
  std::size_t end = begin + 1;
  while (end < calls.size()) {
    const simfw::FaultableCall& call = calls[end];
    if (call.depth < depth || (call.depth == depth && simfw::Fw().registry.Hookable(call.key) != nullptr)) break;
    ++end;
  }
  return end;
}

std::vector<Capture> FindCaptures(const std::vector<simfw::FaultableCall>& calls) {
  std::vector<Capture> captures;
  for (std::size_t n = 0; n < calls.size(); ++n) {
    if (calls[n].key != kCaptureStart || calls[n].depth == 0) continue;
    const std::size_t end = CaptureEnd(calls, n);
    captures.push_back(Capture{n, end});
    n = end - 1;
  }
  return captures;
}

// A fault on the `n`th recorded call (0-based): its key, target and the
// number of that call among the calls of the same key and target.
simfw::FaultSpec FaultAt(const std::vector<simfw::FaultableCall>& calls, std::size_t n, simfw::FaultMode mode) {
  simfw::FaultSpec spec;
  spec.key = calls[n].key;
  if (!calls[n].target.empty()) spec.target = calls[n].target;
  spec.mode = mode;
  spec.at = 0;
  for (std::size_t k = 0; k <= n; ++k) {
    spec.at += calls[k].key == calls[n].key && calls[k].target == calls[n].target;
  }
  spec.repeat = false;
  return spec;
}

std::string Describe(const simfw::FaultableCall& call, std::size_t n, simfw::FaultMode mode) {
  return std::string(ModeName(mode)) + " at call " + std::to_string(n + 1) + " " + call.key +
         (call.target.empty() ? "" : " [" + call.target + "]");
}

class Sweep {
 public:
  // Every replay works in one folder of the sweep's own (see
  // RunOptions::work_folder), removed with the sweep.
  Sweep(std::string plugin, std::size_t max_points)
      : plugin_(std::move(plugin)),
        max_points_(max_points),
        work_(std::filesystem::temp_directory_path() /
              ("cradlekeep-sweep-" + std::to_string(std::random_device{}()) + "-" +
               std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()))) {}
  ~Sweep() {
    std::error_code ignored;
    std::filesystem::remove_all(work_, ignored);
  }
  Sweep(const Sweep&) = delete;
  Sweep& operator=(const Sweep&) = delete;

  // The game build every scenario plays on; empty: each scenario's own.
  void PlayOnGameBuild(std::string build) { game_build_ = std::move(build); }

  // Pairs per capture to replay (nullopt: all), and the seed of the draw.
  void SamplePairs(std::optional<std::size_t> per_capture, std::uint32_t seed) {
    pairs_per_capture_ = per_capture;
    random_.seed(seed);
  }

  void Run(const std::string& path) {
    simtool::Scenario scenario = Load(path);
    const std::optional<simtool::RunResult> first = Baseline(scenario, "no fault");
    if (!first) return;
    const simtool::RunResult& baseline = *first;
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
          const simtool::RunResult result = Replay(scenario, {spec}, /*record=*/false);
          const std::string what = "fault " + std::string(ModeName(mode)) + (repeat ? " (repeating)" : "") +
                                   " at call " + std::to_string(n + 1) + " " + call.key +
                                   (call.target.empty() ? "" : " [" + call.target + "]");
          CheckReplay(scenario.name, what, result, {Injected{call, mode, result.faults_injected > 0}});
        }
      }
    }
    std::cout << scenario.name << ": " << calls.size() << " call points, " << points << " swept\n";
  }

  void RunPairs(const std::string& path) {
    simtool::Scenario scenario = Load(path);
    const std::optional<simtool::RunResult> first = Baseline(scenario, "no fault");
    if (!first) return;
    const std::vector<simfw::FaultableCall>& calls = first->recorded;
    const std::vector<Capture> captures = FindCaptures(calls);
    std::size_t points = 0, pairs = 0, swept = 0;
    for (const Capture& capture : captures) {
      points += capture.end - capture.begin;
      PairCandidates candidates = FirstFaults(scenario, calls, capture);
      pairs += candidates.pairs.size();
      Draw(candidates.pairs);
      for (const Pair& pair : candidates.pairs) {
        ReplayPair(scenario, calls, candidates.recordings[pair.recording], pair);
        ++swept;
      }
    }
    std::cout << scenario.name << ": " << captures.size() << " capture(s), " << points << " call points in them, "
              << pairs << " ordered pairs, " << swept << " swept\n";
  }

  // Every key of the simulated game left out of the build once.
  void RunMissingKeys(const std::string& path) {
    simtool::Scenario scenario = Load(path);
    const std::optional<simtool::RunResult> complete = Baseline(scenario, "complete build");
    if (!complete) return;
    const std::vector<std::string>& used = complete->asked_keys;
    simtool::RunOptions options;
    options.plugin_path = plugin_;
    options.work_folder = work_;
    // Every key the build has: the keys of the simulated game less those
    // the build's dump lacks.
    std::vector<std::string> keys;
    {
      sim::Game game(sim::ServerSettings{}, sim::ModSettings{});
      const std::set<std::string>& absent = sim::GameBuildNamed(scenario.server.game_build).absent;
      for (const simfw::DumpedKey& dumped : simfw::Fw().registry.Dump()) {
        if (absent.count(dumped.key) == 0) keys.push_back(dumped.key);
      }
    }
    for (const std::string& key : keys) {
      simtool::Scenario build = scenario;
      build.server.missing_keys = {key};
      const simtool::RunResult result = simtool::RunScenario(build, options);
      ++totals_.replays;
      const std::string what = "build without " + key;
      CheckReplay(scenario.name, what, result, {});
      ++totals_.checks;
      if (!result.report["missingKeyRequests"].empty()) {
        Violation(scenario.name, what, "the plugin asked for missing keys " + result.report["missingKeyRequests"].dump());
      }
      if (std::find(used.begin(), used.end(), key) != used.end()) {
        ++totals_.checks;
        if (!LogNames(result, key)) Violation(scenario.name, what, "no log line names the missing key");
      }
      ++totals_.checks;
      if (LogNames(result, "game key not in this game build")) {
        Violation(scenario.name, what, "a part that needs the key was left on: its work met the missing key");
      }
    }
    std::cout << scenario.name << ": " << keys.size() << " builds, each without one key\n";
  }

  const Totals& totals() const { return totals_; }

 private:
  // Two faults of one capture: the first at a call of the baseline, the
  // second at a later call of the replay with the first fault alone.
  struct Pair {
    std::size_t first;
    simfw::FaultMode first_mode;
    std::size_t recording;  // index into the candidates' recordings
    std::size_t second;     // index into that recording
    simfw::FaultMode second_mode;
  };
  struct PairCandidates {
    std::vector<std::vector<simfw::FaultableCall>> recordings;
    std::vector<Pair> pairs;
  };

  // Every first fault of the capture, replayed alone and recorded; each
  // later call of the capture in that replay is a second point.
  PairCandidates FirstFaults(const simtool::Scenario& scenario, const std::vector<simfw::FaultableCall>& calls,
                             const Capture& capture) {
    PairCandidates candidates;
    for (std::size_t first = capture.begin; first < capture.end; ++first) {
      for (simfw::FaultMode mode : kModes) {
        const simfw::FaultSpec spec = FaultAt(calls, first, mode);
        const simtool::RunResult alone = Replay(scenario, {spec}, /*record=*/true);
        CheckReplay(scenario.name, "fault " + Describe(calls[first], first, mode), alone,
                    {Injected{calls[first], mode, Hit(alone, 0)}});
        const std::vector<simfw::FaultableCall>& faulted = alone.recorded;
        // The replay is the baseline up to the fault, so the capture
        // begins at the same call; where it ends depends on the fault.
        if (faulted.size() <= first || faulted[capture.begin].key != kCaptureStart) continue;
        const std::size_t end = CaptureEnd(faulted, capture.begin);
        candidates.recordings.push_back(faulted);
        for (std::size_t second = first + 1; second < end; ++second) {
          for (simfw::FaultMode second_mode : kModes) {
            candidates.pairs.push_back(Pair{first, mode, candidates.recordings.size() - 1, second, second_mode});
          }
        }
      }
    }
    return candidates;
  }

  // Keeps the drawn number of pairs, when one was asked for: a partial
  // shuffle with the seeded generator, the same on every machine for the
  // same seed.
  void Draw(std::vector<Pair>& pairs) {
    if (!pairs_per_capture_ || pairs.size() <= *pairs_per_capture_) return;
    for (std::size_t k = 0; k < *pairs_per_capture_; ++k) {
      const std::size_t pick = k + static_cast<std::size_t>(random_() % (pairs.size() - k));
      std::swap(pairs[k], pairs[pick]);
    }
    pairs.resize(*pairs_per_capture_);
  }

  void ReplayPair(const simtool::Scenario& scenario, const std::vector<simfw::FaultableCall>& calls,
                  const std::vector<simfw::FaultableCall>& faulted, const Pair& pair) {
    const simfw::FaultSpec first = FaultAt(calls, pair.first, pair.first_mode);
    const simfw::FaultSpec second = FaultAt(faulted, pair.second, pair.second_mode);
    const simtool::RunResult result = Replay(scenario, {first, second}, /*record=*/false);
    CheckReplay(scenario.name,
                "faults " + Describe(calls[pair.first], pair.first, pair.first_mode) + ", then " +
                    Describe(faulted[pair.second], pair.second, pair.second_mode),
                result,
                {Injected{calls[pair.first], pair.first_mode, Hit(result, 0)},
                 Injected{faulted[pair.second], pair.second_mode, Hit(result, 1)}});
  }

  // The scenario without its expectations: outcomes change with faults and
  // builds; the invariants stay.
  simtool::Scenario Load(const std::string& path) const {
    simtool::Scenario scenario = simtool::LoadScenarioFile(path);
    if (!game_build_.empty()) simtool::PlayOnGameBuild(scenario, game_build_);
    scenario.expect = nlohmann::json::object();
    return scenario;
  }

  // The scenario played as it is, its calls recorded and its invariants
  // checked; nothing when it cannot run at all (a violation).
  std::optional<simtool::RunResult> Baseline(const simtool::Scenario& scenario, const std::string& what) {
    simtool::RunResult baseline = Replay(scenario, {}, /*record=*/true);
    if (baseline.exit_code == 2) {
      std::cerr << scenario.name << ": cannot run: " << (baseline.failures.empty() ? "" : baseline.failures[0]) << '\n';
      ++totals_.violations;
      return std::nullopt;
    }
    CheckReplay(scenario.name, what, baseline, {});
    return baseline;
  }

  // A log line of the run (any level) that contains `text`.
  static bool LogNames(const simtool::RunResult& result, const std::string& text) {
    for (const auto& line : result.report["log"]) {
      if (line["text"].get<std::string>().find(text) != std::string::npos) return true;
    }
    return false;
  }

  simtool::RunResult Replay(const simtool::Scenario& scenario, std::vector<simfw::FaultSpec> faults, bool record) {
    simtool::RunOptions options;
    options.plugin_path = plugin_;
    options.work_folder = work_;
    options.record_calls = record;
    options.initial_faults = std::move(faults);
    simtool::RunResult result = simtool::RunScenario(scenario, options);
    if (!options.initial_faults.empty()) {
      ++totals_.replays;
      totals_.injected += result.faults_injected;
    }
    return result;
  }

  static bool Hit(const simtool::RunResult& result, std::size_t armed) {
    return armed < result.fault_hits.size() && result.fault_hits[armed] > 0;
  }

  // The invariants of every replay. Only checks that apply are counted: the
  // hooked calls when the game called a hooked function, a told failure
  // when a thrown fault was caught by the plugin.
  void CheckReplay(const std::string& scenario, const std::string& what, const simtool::RunResult& result,
                   const std::vector<Injected>& faults) {
    const auto& report = result.report;
    if (result.exit_code == 2) {
      Violation(scenario, what, "the run could not complete");
      return;
    }
    if (!report["hookedCalls"].empty()) {
      ++totals_.checks;
      for (const auto& [key, counts] : report["hookedCalls"].items()) {
        if (counts["calls"] != counts["reachedGame"]) {
          Violation(scenario, what, key + " was called " + counts["calls"].dump() + " time(s) but reached the game " +
                                        counts["reachedGame"].dump() + " time(s)");
        }
      }
    }
    ++totals_.checks;
    for (const std::string& v : result.lock_violations) Violation(scenario, what, "transfer lock: " + v);
    ++totals_.checks;
    for (const std::string& d : result.defects) Violation(scenario, what, "defect: " + d);
    ++totals_.checks;
    if (report["engineMemory"]["liveBlocks"].get<long long>() != 0) {
      Violation(scenario, what, report["engineMemory"]["liveBlocks"].dump() + " engine block(s) never freed");
    }
    ++totals_.checks;
    if (!report["lost"].empty()) Violation(scenario, what, "lost creatures " + report["lost"].dump());
    // Nor is any creature's data reachable twice: a player must never end
    // up with one creature in two places.
    ++totals_.checks;
    if (!report["duplicated"].empty()) {
      Violation(scenario, what, "duplicated creatures " + report["duplicated"].dump());
    }
    // What the plugin's capture journal says agrees with the ledger.
    ++totals_.checks;
    for (const std::string& j : result.journal_failures) Violation(scenario, what, "journal: " + j);
    // Only the game's own exception may pass through the plugin, from the
    // game function under a hook back to the game; any exception of the
    // plugin's own leaving an entry point is a fault of the plugin.
    ++totals_.checks;
    for (const simfw::Escape& escape : result.escapes) {
      if (!escape.games_own) Violation(scenario, what, "an exception left the plugin at " + escape.entry + ": " + escape.what);
    }
    // A thrown failure the plugin caught is told: a warn or error line names
    // it (two failures in one capture may be told as one).
    bool needs_telling = false, told = false;
    for (const Injected& fault : faults) {
      if (!fault.hit || fault.mode == simfw::FaultMode::kFail || CaughtSilentlyByDesign(fault.call.key) ||
          FrameworksOwn(fault.call.key)) {
        continue;
      }
      if (PassedToTheGame(result, fault.call.key)) continue;
      needs_telling = true;
      told |= Logged(result, fault.mode == simfw::FaultMode::kThrow ? "injected fault: " + fault.call.key
                                                                    : "unknown exception");
    }
    if (needs_telling) {
      ++totals_.checks;
      if (!told) Violation(scenario, what, "the failure passed silently: no warn or error line names it");
    }
  }

  // True when the game's own exception from this hooked function went back
  // to the game: the plugin let it pass, as it must.
  static bool PassedToTheGame(const simtool::RunResult& result, const std::string& key) {
    for (const simfw::Escape& escape : result.escapes) {
      if (escape.games_own && escape.entry == key) return true;
    }
    return false;
  }

  // A warn or error line, in the report or written at the final unload,
  // that contains `text`.
  static bool Logged(const simtool::RunResult& result, const std::string& text) {
    for (const auto& line : result.report["log"]) {
      const std::string level = line["level"].get<std::string>();
      if ((level == "warn" || level == "error") && line["text"].get<std::string>().find(text) != std::string::npos) {
        return true;
      }
    }
    for (const std::string& line : result.unload_log) {
      if ((line.rfind("warn: ", 0) == 0 || line.rfind("error: ", 0) == 0) && line.find(text) != std::string::npos) {
        return true;
      }
    }
    return false;
  }

  void Violation(const std::string& scenario, const std::string& what, const std::string& invariant) {
    ++totals_.violations;
    if (totals_.violations <= 50) std::cerr << scenario << ": " << what << ": " << invariant << '\n';
  }

  std::string plugin_;
  std::size_t max_points_;
  std::filesystem::path work_;
  std::optional<std::size_t> pairs_per_capture_;
  std::string game_build_;
  std::mt19937 random_{1};
  Totals totals_;
};

struct Options {
  std::filesystem::path plugin = simtool::PluginLibrary::DefaultPath();
  std::size_t max_points = 0;
  bool pairs = false;
  bool missing_keys = false;
  std::optional<std::size_t> pairs_per_capture;
  std::uint32_t seed = 1;
  std::string game_build;
  std::vector<std::string> scenarios;
};

Options Parse(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--points" && i + 1 < argc) {
      options.max_points = static_cast<std::size_t>(std::stoul(argv[++i]));
    } else if (arg == "--pairs" && i + 1 < argc) {
      const std::string count = argv[++i];
      options.pairs = true;
      if (count != "all") options.pairs_per_capture = static_cast<std::size_t>(std::stoul(count));
    } else if (arg == "--missing-keys") {
      options.missing_keys = true;
    } else if (arg == "--seed" && i + 1 < argc) {
      options.seed = static_cast<std::uint32_t>(std::stoul(argv[++i]));
    } else if (arg == "--plugin" && i + 1 < argc) {
      options.plugin = argv[++i];
    } else if (arg == "--game-build" && i + 1 < argc) {
      options.game_build = argv[++i];
    } else {
      options.scenarios.push_back(arg);
    }
  }
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  // A sweep needs tens of megabytes; a replay that grows stops it early.
  cktools::BoundOwnGrowth("cradlekeep-sweep", 1024);
  const Options options = Parse(argc, argv);
  if (options.scenarios.empty()) {
    std::cerr << "usage: cradlekeep-sweep [--points N] [--pairs N|all] [--missing-keys] [--seed S] [--plugin PATH] "
                 "[--game-build BUILD] SCENARIO.json...\n";
    return 2;
  }
  const std::u8string plugin_utf8 = std::filesystem::absolute(options.plugin).u8string();
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
  Sweep sweep(plugin_path, options.max_points);
  sweep.SamplePairs(options.pairs_per_capture, options.seed);
  sweep.PlayOnGameBuild(options.game_build);
  try {
    for (const std::string& path : options.scenarios) {
      if (options.missing_keys) {
        sweep.RunMissingKeys(path);
      } else if (options.pairs) {
        sweep.RunPairs(path);
      } else {
        sweep.Run(path);
      }
    }
  } catch (const std::exception& e) {
    std::cerr << "cradlekeep-sweep: " << e.what() << '\n';
    return 2;
  }
  const Totals& t = sweep.totals();
  std::cout << (options.missing_keys ? "key-drift sweep: " : options.pairs ? "pair sweep: " : "sweep: ") << t.replays
            << " replays, " << t.injected << " faults injected, " << t.checks << " invariant checks, " << t.violations
            << " violations\n";
  return t.violations == 0 ? 0 : 1;
}
