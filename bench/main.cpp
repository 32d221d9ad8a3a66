// Runs the benchmarks, then prints each path's cost as a ratio against its
// floor measured in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

class CollectingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      // A run that times itself is read by its own time; the others by their
      // CPU time.
      const bool manual = run.benchmark_name().find("/manual_time") != std::string::npos;
      cpu_ns[run.benchmark_name()] =
          (manual ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime()) * Multiplier(run.time_unit);
      // A tick measured by its median over rounds is read by that.
      if (auto tick = run.counters.find("tick_ns"); tick != run.counters.end()) cpu_ns[run.benchmark_name()] = tick->second;
      for (const auto& [name, counter] : run.counters) counters[run.benchmark_name() + "." + name] = counter.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  static double Multiplier(benchmark::TimeUnit unit) {
    switch (unit) {
      case benchmark::kSecond: return 1e9;
      case benchmark::kMillisecond: return 1e6;
      case benchmark::kMicrosecond: return 1e3;
      default: return 1;
    }
  }
  std::map<std::string, double> cpu_ns;
  std::map<std::string, double> counters;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  CollectingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  struct Pair {
    const char* what;
    const char* path;
    const char* floor;
  };
  const Pair pairs[] = {
      {"delegate hook, other broadcast / unhooked dispatch", "BM_DelegateHooked", "BM_DelegateUnhooked"},
      {"idle tick, plugin loaded / unloaded", "BM_IdleTickLoaded", "BM_IdleTickUnloaded"},
      {"full-server scan / walking the items", "BM_ScanPlugin", "BM_ScanWalkOnly"},
      {"straightforward marker scan / the plugin's scan", "BM_ScanStraightforward", "BM_ScanPlugin"},
      {"vanilla capture / transfer button without companion", "BM_CaptureVanilla", "BM_TransferButtonNoCompanion"},
      {"SCS capture / transfer button without companion", "BM_CaptureScs", "BM_TransferButtonNoCompanion"},
      {"journal line with its file / without", "BM_JournalLineWithFile", "BM_JournalLineWithoutFile"},
      {"start: journal files opened with the read back / without", "BM_JournalOpenWithReadBack",
       "BM_JournalOpenWithoutReadBack"},
      {"journal answer, 16 other servers' files / none", "BM_JournalAnswer/16", "BM_JournalAnswer/0"},
      {"journal answer, 64 other servers' files / 16", "BM_JournalAnswer/64", "BM_JournalAnswer/16"},
      {"key lookup through the host / offset resolved once", "BM_KeyLookupHost", "BM_KeyLookupResolvedOnce"},
      {"clean-up passes after 300 uses of a pod / after one", "BM_CleanupAfterUses/300", "BM_CleanupAfterUses/1"},
      {"offsets cache key check / reading the file once", "BM_CacheScanKeys", "BM_CacheReadOnce"},
      {"worst scan tick 70x300 / walking one slice", "BM_ScanWorstTick/70/300/iterations:40/manual_time",
       "BM_ScanSliceWalkOnly/iterations:40/manual_time"},
      {"worst scan tick 100x2000 / worst tick 70x300", "BM_ScanWorstTick/100/2000/iterations:40/manual_time",
       "BM_ScanWorstTick/70/300/iterations:40/manual_time"},
      {"worst scan tick 200x2000 / worst tick 70x300", "BM_ScanWorstTick/200/2000/iterations:40/manual_time",
       "BM_ScanWorstTick/70/300/iterations:40/manual_time"},
      {"worst scan tick 70x300 / reading its slice 70x300", "BM_ScanWorstTick/70/300/iterations:40/manual_time",
       "BM_ScanSliceReadOnly/70/300/iterations:40/manual_time"},
      {"worst scan tick 100x2000 / reading a slice 100x2000", "BM_ScanWorstTick/100/2000/iterations:40/manual_time",
       "BM_ScanSliceReadOnly/100/2000/iterations:40/manual_time"},
      {"worst scan tick 200x2000 / reading a slice 200x2000", "BM_ScanWorstTick/200/2000/iterations:40/manual_time",
       "BM_ScanSliceReadOnly/200/2000/iterations:40/manual_time"},
      {"reading a slice 100x2000 / reading the slice 70x300", "BM_ScanSliceReadOnly/100/2000/iterations:40/manual_time",
       "BM_ScanSliceReadOnly/70/300/iterations:40/manual_time"},
      {"reading a slice 200x2000 / reading the slice 70x300", "BM_ScanSliceReadOnly/200/2000/iterations:40/manual_time",
       "BM_ScanSliceReadOnly/70/300/iterations:40/manual_time"},
      {"whole round in one tick 100x2000 / worst tick 70x300", "BM_ScanWholeRoundInOneTick/100/2000/iterations:40/manual_time",
       "BM_ScanWorstTick/70/300/iterations:40/manual_time"},
      {"whole round in one tick 200x2000 / worst tick 70x300", "BM_ScanWholeRoundInOneTick/200/2000/iterations:40/manual_time",
       "BM_ScanWorstTick/70/300/iterations:40/manual_time"},
  };
  std::printf("\n%-56s %14s %14s %10s\n", "ratio", "path ns", "floor ns", "ratio");
  for (const Pair& p : pairs) {
    auto path = reporter.cpu_ns.find(p.path);
    auto floor = reporter.cpu_ns.find(p.floor);
    if (path == reporter.cpu_ns.end() || floor == reporter.cpu_ns.end()) continue;
    std::printf("%-56s %14.1f %14.1f %10.2f\n", p.what, path->second, floor->second, path->second / floor->second);
  }
  for (const char* name : {"BM_DelegateHooked", "BM_IdleTickLoaded"}) {
    auto heap = reporter.counters.find(std::string(name) + ".heap_allocs");
    if (heap != reporter.counters.end()) std::printf("%s: %.0f heap allocation(s) in the whole run\n", name, heap->second);
  }
  for (const char* name : {"BM_CleanupAfterUses/1", "BM_CleanupAfterUses/300"}) {
    auto pending = reporter.counters.find(std::string(name) + ".pending_passes");
    if (pending != reporter.counters.end()) std::printf("%s: at most %.0f clean-up pass(es) pending\n", name, pending->second);
  }
  return 0;
}
