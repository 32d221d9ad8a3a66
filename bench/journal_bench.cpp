// The journal's files on the game thread: what a journal line costs with
// its file beside the same line without one (the line as the journal wrote
// it before it had files: the log and the ring), what reading the file back
// adds to a start, and what an answer that also searches other servers'
// files costs at the bounds of that search.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "bench_world.h"
#include "journal/journal.h"
#include "journal/journal_cluster.h"
#include "journal/journal_line.h"
#include "journal/journal_store.h"
#include "state/plugin_state.h"

namespace {

using ckbench::BenchWorld;

constexpr const char* kFilesOn = R"({"CaptureMode": "Vanilla", "JournalServerName": "Island"})";
// The folder is a plain file (the config itself): the journal has no file.
constexpr const char* kFilesOff =
    R"({"CaptureMode": "Vanilla", "JournalServerName": "Island", "JournalFolder": "ArkApi/Plugins/Cradlekeep/config.json"})";
constexpr const char* kFolder = "ArkApi/Plugins/Cradlekeep/journal";

ck::journal::Line CaptureLine(int n) {
  ck::journal::Line line("capture");
  line.Number("playerId", 424242).SearchableId("424242");
  line.Pair("creatureId", 102, static_cast<std::uint32_t>(n)).SearchableId("102," + std::to_string(n));
  line.Word("slot", "shoulder").Word("trigger", "transferButton").Word("mode", "vanilla").Word("outcome", "podded");
  line.Pair("item", 3, 1592590357u).SearchableId("3,1592590357");
  line.Text("player", "Ava Stone").SearchableText("Ava Stone");
  line.Text("creature", "Splash").SearchableText("Splash");
  line.Text("class", "Otter_Character_BP_C");
  return line;
}

// A server's file of `bytes` of journal lines (about 250 bytes each).
void WriteServerFile(const std::string& server, std::size_t bytes, const std::string& suffix = ".journal") {
  std::ofstream out(std::string(kFolder) + "/" + server + suffix, std::ios::binary | std::ios::trunc);
  std::size_t written = 0;
  for (int n = 0; written < bytes; ++n) {
    const std::string line = CaptureLine(n).Stamped("2026-12-10T07:00:00Z", server) + "\n";
    out << line;
    written += line.size();
  }
}

void Record(benchmark::State& state, const char* config) {
  BenchWorld world(config);
  const ck::journal::Line line = CaptureLine(2);
  for (auto _ : state) ck::journal::Record(line);
  const auto& files = ck::state::Current().journal_files;
  if (files.writer != nullptr) {
    files.writer->Stop();
    const auto counts = files.writer->Counts();
    state.counters["written"] = static_cast<double>(counts.written);
    state.counters["dropped"] = static_cast<double>(counts.dropped_full + counts.dropped_failed);
  }
}

void BM_JournalLineWithoutFile(benchmark::State& state) { Record(state, kFilesOff); }
BENCHMARK(BM_JournalLineWithoutFile)->Iterations(20000);

void BM_JournalLineWithFile(benchmark::State& state) { Record(state, kFilesOn); }
BENCHMARK(BM_JournalLineWithFile)->Iterations(20000);

// Opening the files at start: with the read back of a full tail (a file far
// larger than the tail read), and without.
void OpenFiles(benchmark::State& state, bool read_back) {
  BenchWorld world(kFilesOn);
  ck::journal::CloseFiles();
  WriteServerFile("Island", 4 * ck::journal::kReadBackBytes);
  const ck::journal::FilesPlan plan = *ck::journal::PlanFiles(ck::state::Current().settings);
  for (auto _ : state) {
    ck::journal::OpenFiles(plan, read_back);
    state.PauseTiming();
    ck::journal::CloseFiles();
    ck::state::Current().journal = ck::state::JournalRing{};
    state.ResumeTiming();
  }
  state.counters["entries"] = static_cast<double>(ck::state::Current().journal_files.read_back);
}

void BM_JournalOpenWithoutReadBack(benchmark::State& state) { OpenFiles(state, false); }
BENCHMARK(BM_JournalOpenWithoutReadBack)->Unit(benchmark::kMicrosecond);

void BM_JournalOpenWithReadBack(benchmark::State& state) { OpenFiles(state, true); }
BENCHMARK(BM_JournalOpenWithReadBack)->Unit(benchmark::kMicrosecond);

// An answer over a full ring, with `range(0)` other servers' files in the
// folder, each far larger than the tail read.
void BM_JournalAnswer(benchmark::State& state) {
  BenchWorld world(kFilesOn);
  for (std::size_t n = 0; n < ck::journal::kCapacity; ++n) ck::journal::Record(CaptureLine(static_cast<int>(n)));
  for (int server = 0; server < state.range(0); ++server) {
    WriteServerFile("Other" + std::to_string(server), 4 * ck::journal::kClusterTailBytes);
  }
  std::size_t matching = 0;
  for (auto _ : state) {
    const ck::journal::Found found = ck::journal::Latest("splash", 10);
    matching = found.matching;
    benchmark::DoNotOptimize(found.lines.data());
  }
  state.counters["matching"] = static_cast<double>(matching);
}
BENCHMARK(BM_JournalAnswer)
    ->Arg(0)
    ->Arg(static_cast<int>(ck::journal::kClusterFiles))
    ->Arg(4 * static_cast<int>(ck::journal::kClusterFiles))
    ->Unit(benchmark::kMicrosecond);

}  // namespace
