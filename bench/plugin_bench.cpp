// The plugin's cost on the game thread, each path beside its floor.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <emmintrin.h>
#include <string>
#include <vector>

#include "alloc_counter.h"
#include "asa/asa.h"
#include "bench_world.h"
#include "config/plugin_config.h"
#include "host/game/catalogue.h"
#include "host/engine/names.h"
#include "sim/framework/framework.h"
#include "sim/game/hooked_functions.h"
#include "sim/game/items.h"
#include "sim/game/names.h"
#include "state/plugin_state.h"
#include "temporary_pods/scan/auto_remove_scan.h"
#include "temporary_pods/cleanup_passes.h"
#include "temporary_pods/custom_item_data.h"
#include "temporary_pods/uncryo_delegates.h"
#include "temporary_pods/uncryo_observation.h"
#include "transfer/capture_cooldown.h"

namespace {

using ckbench::BenchWorld;

constexpr const char* kVanilla = R"({"CaptureMode": "Vanilla", "TemporaryVanillaCryopodCleanupIntervalSeconds": 1000000})";

// --- the delegate hook on a broadcast that is not an uncryo one

void Broadcasts(benchmark::State& state, BenchWorld& world) {
  sim::MulticastDelegate& other = world.game().other_delegate();
  char params[32] = {};
  const std::uint64_t before = ckbench::HeapAllocations();
  const std::int64_t engine_before = static_cast<std::int64_t>(simfw::Fw().memory.Allocations());
  for (auto _ : state) {
    sim::MulticastDelegateDispatch::Call(&other, params);
  }
  state.counters["heap_allocs"] = static_cast<double>(ckbench::HeapAllocations() - before);
  state.counters["engine_allocs"] =
      static_cast<double>(static_cast<std::int64_t>(simfw::Fw().memory.Allocations()) - engine_before);
}

void BM_DelegateUnhooked(benchmark::State& state) {
  BenchWorld world(nullptr);
  Broadcasts(state, world);
}
BENCHMARK(BM_DelegateUnhooked);

void BM_DelegateHooked(benchmark::State& state) {
  BenchWorld world(kVanilla);
  if (!ck::temporary_pods::ResolveUnCryoDelegates()) state.SkipWithError("the uncryo delegates did not resolve");
  Broadcasts(state, world);
}
BENCHMARK(BM_DelegateHooked);

// --- an idle server tick

void Ticks(benchmark::State& state) {
  const std::uint64_t before = ckbench::HeapAllocations();
  for (auto _ : state) simfw::Fw().commands.RunTick(1.0f / 30.0f);
  state.counters["heap_allocs"] = static_cast<double>(ckbench::HeapAllocations() - before);
}

void BM_IdleTickUnloaded(benchmark::State& state) {
  BenchWorld world(nullptr);
  Ticks(state);
}
BENCHMARK(BM_IdleTickUnloaded);

void BM_IdleTickLoaded(benchmark::State& state) {
  BenchWorld world(kVanilla);
  if (!ck::temporary_pods::AutoRemoveTickRegistered()) state.SkipWithError("the auto-remove tick is not registered");
  Ticks(state);
}
BENCHMARK(BM_IdleTickLoaded);

// --- one recurring scan of a full server

constexpr int kPlayers = 70;
constexpr int kItems = 300;

void FullServer(BenchWorld& world) {
  for (int p = 0; p < kPlayers; ++p) world.FillInventory(world.AddPlayer("p" + std::to_string(p)), kItems);
  // The plugin has made pods on this server before: the marker's name exists.
  sim::Names().Add(ck::temporary_pods::kMarkerName);
}

// The floor: walking the same inventories, touching every item, no test.
void BM_ScanWalkOnly(benchmark::State& state) {
  BenchWorld world(kVanilla);
  FullServer(world);
  for (auto _ : state) {
    std::size_t touched = 0;
    for (const auto& player : world.game().Players()) {
      for (sim::Item* item : player->inventory->InventoryItems) touched += item != nullptr;
    }
    benchmark::DoNotOptimize(touched);
  }
  state.counters["items"] = kPlayers * kItems;
}
BENCHMARK(BM_ScanWalkOnly)->Unit(benchmark::kMicrosecond);

// The straightforward marker test: every entry's name turned into text, each
// key resolved at every use.
bool StraightforwardIsTemporaryPod(UPrimalItem* item) {
  const auto* entries = reinterpret_cast<TArray<FCustomItemData>*>(::GetAddress(item, "UPrimalItem.CustomItemDatas"));
  for (const FCustomItemData& entry : *entries) {
    if (ck::host::NameToUtf8(*reinterpret_cast<FName*>(::GetAddress(&entry, "FCustomItemData.CustomDataName"))) ==
        ck::temporary_pods::kMarkerName) {
      return true;
    }
  }
  return false;
}

void BM_ScanStraightforward(benchmark::State& state) {
  BenchWorld world(kVanilla);
  FullServer(world);
  for (auto _ : state) {
    int candidates = 0;
    for (const auto& player : world.game().Players()) {
      auto* inventory = reinterpret_cast<UPrimalInventoryComponent*>(player->inventory);
      const auto* items =
          reinterpret_cast<TArray<UPrimalItem*>*>(::GetAddress(inventory, "UPrimalInventoryComponent.InventoryItems"));
      for (UPrimalItem* item : *items) {
        if (item != nullptr && StraightforwardIsTemporaryPod(item) && !ck::temporary_pods::HasCreaturePayload(item)) {
          ++candidates;
        }
      }
    }
    benchmark::DoNotOptimize(candidates);
  }
  state.counters["items"] = kPlayers * kItems;
}
BENCHMARK(BM_ScanStraightforward)->Unit(benchmark::kMicrosecond);

void BM_ScanPlugin(benchmark::State& state) {
  BenchWorld world(kVanilla);
  FullServer(world);
  for (auto _ : state) {
    int removed = 0;
    benchmark::DoNotOptimize(ck::temporary_pods::ScanOnlinePlayers(removed));
  }
  state.counters["items"] = kPlayers * kItems;
}
BENCHMARK(BM_ScanPlugin)->Unit(benchmark::kMicrosecond);

// --- the worst tick of the recurring scan, by server size
//
// A round of the scan sweeps at most kScanSliceItems items a tick. The worst
// tick is measured per round: every slice of a round is timed, and the
// iteration's time is the longest one, in the thread's CPU time. Beside it: a whole round in one tick
// (as the scan did before it was sliced) and the bare walk of one slice's
// items, the floor.

void SizedServer(BenchWorld& world, int players, int items) {
  for (int p = 0; p < players; ++p) world.FillInventory(world.AddPlayer("p" + std::to_string(p)), items);
  sim::Names().Add(ck::temporary_pods::kMarkerName);
}

// Flushes the lines of [start, start + bytes) from every cache level.
void FlushLines(const void* start, std::size_t bytes) {
  const auto* p = static_cast<const unsigned char*>(start);
  for (std::size_t i = 0; i < bytes; i += 64) _mm_clflush(p + i);
  if (bytes > 0) _mm_clflush(p + bytes - 1);
}

// A quarter more than the largest cache the processor reports, at least 64 MiB.
std::size_t EvictionBytes() {
  std::size_t largest = 0;
  for (const auto& cache : benchmark::CPUInfo::Get().caches) {
    largest = std::max(largest, static_cast<std::size_t>(cache.size));
  }
  return std::max<std::size_t>(64u << 20, largest + largest / 4);
}

// A round begins a second after the last one, the game's own work in
// between: its items are no longer in the processor's caches. Every round
// measured here begins so, whatever the server's size (untimed): every line
// of every inventory's list, item and custom-data array is flushed from
// every cache level, and a write over a buffer larger than the last-level
// cache empties the rest (the address translations and the page tables'
// lines). A smaller write leaves a small server's tables, and some of its
// items, in a large last-level cache and a big server's out of it: it
// measures where the server's memory happened to be, not the plugin.
void EvictCaches(BenchWorld& world) {
  for (const auto& player : world.game().Players()) {
    const auto& items = player->inventory->InventoryItems;
    for (int32 i = 0; i < items.ArrayNum; ++i) {
      const sim::Item* item = items.Data[i];
      FlushLines(item->CustomItemDatas.Data,
                 sizeof(*item->CustomItemDatas.Data) * static_cast<std::size_t>(item->CustomItemDatas.ArrayMax));
      FlushLines(item, sizeof(sim::Item));
    }
    FlushLines(items.Data, sizeof(sim::Item*) * static_cast<std::size_t>(items.ArrayMax));
  }
  _mm_mfence();
  // Last, so that the flush's own walk leaves no item's page in them either.
  static std::vector<unsigned char> buffer(EvictionBytes());
  for (std::size_t i = 0; i < buffer.size(); i += 64) buffer[i] = static_cast<unsigned char>(buffer[i] + 1);
  benchmark::ClobberMemory();
}

// The CPU time this thread has used, in seconds: a tick's cost without the
// time another process held the core.
double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The CPU time of each tick of a round, by its place in the round, over all
// the rounds measured. The worst tick is the place whose median time is the
// highest: a tick that another process's interrupt lengthened once does not
// make it, and a round of seventeen ticks is not judged by the slowest of
// seventeen draws against a round of one. Its counter "tick_ns" is what the
// ratio table reads.
class TickTimes {
 public:
  void Add(std::size_t place, double seconds) {
    if (place >= by_place_.size()) by_place_.resize(place + 1);
    by_place_[place].push_back(seconds);
  }
  void Report(benchmark::State& state) {
    double worst = 0;
    for (std::vector<double>& times : by_place_) {
      std::nth_element(times.begin(), times.begin() + static_cast<std::ptrdiff_t>(times.size() / 2), times.end());
      worst = std::max(worst, times[times.size() / 2]);
    }
    state.counters["tick_ns"] = worst * 1e9;
  }

 private:
  std::vector<std::vector<double>> by_place_;
};

void BM_ScanWorstTick(benchmark::State& state) {
  BenchWorld world(kVanilla);
  SizedServer(world, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  int ticks = 0;
  TickTimes times;
  for (auto _ : state) {
    double worst = 0;
    ticks = 0;
    bool done = false;
    ck::state::Current().scan_round.active = false;  // a new round
    EvictCaches(world);
    while (!done) {
      const double start = ThreadCpuSeconds();
      done = ck::temporary_pods::SweepScanSlice(0);
      const double spent = ThreadCpuSeconds() - start;
      times.Add(static_cast<std::size_t>(ticks), spent);
      worst = std::max(worst, spent);
      ++ticks;
    }
    state.SetIterationTime(worst);
  }
  times.Report(state);
  state.counters["ticks_per_round"] = ticks;
  state.counters["items"] = static_cast<double>(state.range(0) * state.range(1));
}
BENCHMARK(BM_ScanWorstTick)->Args({70, 300})->Args({100, 2000})->Args({200, 2000})->UseManualTime()
    ->Iterations(40)->Unit(benchmark::kMicrosecond);

// Times `work` once a round, each round from cold caches, as a round of one tick.
template <typename Work>
void TimeColdRounds(benchmark::State& state, BenchWorld& world, Work work) {
  TickTimes times;
  for (auto _ : state) {
    EvictCaches(world);
    const double start = ThreadCpuSeconds();
    work();
    const double spent = ThreadCpuSeconds() - start;
    times.Add(0, spent);
    state.SetIterationTime(spent);
  }
  times.Report(state);
}

void BM_ScanWholeRoundInOneTick(benchmark::State& state) {
  BenchWorld world(kVanilla);
  SizedServer(world, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  TimeColdRounds(state, world, [] {
    int removed = 0;
    benchmark::DoNotOptimize(ck::temporary_pods::ScanOnlinePlayers(removed));
  });
}
BENCHMARK(BM_ScanWholeRoundInOneTick)->Args({70, 300})->Args({100, 2000})->Args({200, 2000})->UseManualTime()
    ->Iterations(40)->Unit(benchmark::kMicrosecond);

// The floor: walking one slice's worth of items (100 inventories of 210),
// touching every item, no test.
void BM_ScanSliceWalkOnly(benchmark::State& state) {
  BenchWorld world(kVanilla);
  SizedServer(world, 100, ck::temporary_pods::kScanSliceItems / 100);
  TimeColdRounds(state, world, [&world] {
    std::size_t touched = 0;
    for (const auto& player : world.game().Players()) {
      for (sim::Item* item : player->inventory->InventoryItems) touched += item != nullptr;
    }
    benchmark::DoNotOptimize(touched);
  });
}
BENCHMARK(BM_ScanSliceWalkOnly)->UseManualTime()->Iterations(40)->Unit(benchmark::kMicrosecond);

// The memory one slice must read, in a server of the given size: the first
// slice's inventories, every item's custom-data entries read, no test. The
// same items cost more to reach in a bigger server; the worst tick of each
// size is set against this floor of the same size.
void BM_ScanSliceReadOnly(benchmark::State& state) {
  BenchWorld world(kVanilla);
  const int items = static_cast<int>(state.range(1));
  SizedServer(world, static_cast<int>(state.range(0)), items);
  const std::size_t slice_players = static_cast<std::size_t>(std::max(1, ck::temporary_pods::kScanSliceItems / items));
  TimeColdRounds(state, world, [&world, slice_players] {
    std::size_t touched = 0;
    const auto& players = world.game().Players();
    for (std::size_t p = 0; p < std::min(slice_players, players.size()); ++p) {
      for (sim::Item* item : players[p]->inventory->InventoryItems) {
        const auto& entries = item->CustomItemDatas;
        for (int32 i = 0; i < entries.ArrayNum; ++i) touched += *reinterpret_cast<const unsigned char*>(&entries.Data[i]);
      }
    }
    benchmark::DoNotOptimize(touched);
  });
}
BENCHMARK(BM_ScanSliceReadOnly)->Args({70, 300})->Args({100, 2000})->Args({200, 2000})->UseManualTime()
    ->Iterations(40)->Unit(benchmark::kMicrosecond);

// --- one capture of a shoulder pet through the transfer-button hook

void Captures(benchmark::State& state, const char* config, sim::ModSettings mods, bool with_pet) {
  BenchWorld world(config, sim::ServerSettings{}, mods);
  sim::Player& ava = world.AddPlayer("ava");
  int n = 0;
  for (auto _ : state) {
    state.PauseTiming();
    if (with_pet) {
      sim::CreatureSpec pet;
      pet.id = "pet" + std::to_string(n++);
      pet.name = "Splash";
      world.game().AddCreature(pet);
      world.game().SetSlot(ava, "mounted", world.game().FindCreature(pet.id)->actor());
    }
    state.ResumeTiming();
    sim::TransferButton::Call(ava.controller);
    state.PauseTiming();
    for (sim::Item* item : world.game().AllItems()) world.game().DestroyItem(item);
    simfw::Fw().utils.Clear();
    simfw::Fw().utils.SetWorld(reinterpret_cast<UWorld*>(world.game().world()));
    simfw::Fw().utils.SetGameMode(reinterpret_cast<AShooterGameMode*>(world.game().game_mode()));
    sim::Objects().Collect();
    state.ResumeTiming();
  }
}

constexpr const char* kVanillaNoCooldown = R"({"CaptureMode": "Vanilla", "CaptureCooldownSeconds": 0})";
constexpr const char* kScsNoCooldown = R"({"CaptureMode": "SCS", "CaptureCooldownSeconds": 0})";

void BM_TransferButtonNoCompanion(benchmark::State& state) { Captures(state, kVanillaNoCooldown, {}, false); }
BENCHMARK(BM_TransferButtonNoCompanion);
void BM_CaptureVanilla(benchmark::State& state) { Captures(state, kVanillaNoCooldown, {}, true); }
BENCHMARK(BM_CaptureVanilla);
void BM_CaptureScs(benchmark::State& state) { Captures(state, kScsNoCooldown, sim::ModSettings{true, 1}, true); }
BENCHMARK(BM_CaptureScs);

// --- the clean-up passes a pod's uses leave behind
//
// A player uses one temporary pod again and again and its release fails
// every time (no room to release the creature). Each use queues the pod's
// passes; what the game thread then spends on passes over the next 31 s is
// timed, after one use and after 300. The uses themselves are not timed.

void BM_CleanupAfterUses(benchmark::State& state) {
  BenchWorld world(kVanilla);
  sim::CreatureSpec moss;
  moss.id = "moss";
  world.game().AddCreature(moss);
  sim::PlayerSpec spec;
  spec.id = "ava";
  sim::ItemSpec pod;
  pod.id = "pod";
  pod.cryopod_of = "moss";
  pod.temporary_pod = true;
  spec.inventory.push_back(pod);
  world.game().AddPlayer(spec);
  sim::Player& ava = *world.game().FindPlayer("ava");
  sim::Item* item = world.game().FindPlayerItem(ava, "pod", "");
  const auto uses = static_cast<int>(state.range(0));
  std::size_t most_pending = 0;
  for (auto _ : state) {
    state.PauseTiming();
    for (int use = 0; use < uses; ++use) world.game().UseItem(ava, item, false, true);
    most_pending = std::max(most_pending, ck::temporary_pods::PendingCleanupPassCount());
    state.ResumeTiming();
    world.game().Advance(31);
  }
  state.counters["pending_passes"] = static_cast<double>(most_pending);
}
BENCHMARK(BM_CleanupAfterUses)->Arg(1)->Arg(300)->Unit(benchmark::kMicrosecond);

// --- the per-call cost of a key lookup

void BM_KeyLookupHost(benchmark::State& state) {
  BenchWorld world(kVanilla);
  sim::Player& ava = world.AddPlayer("ava");
  for (auto _ : state) {
    benchmark::DoNotOptimize(ck::game::kControllerPawn.Read(ava.controller));
  }
}
BENCHMARK(BM_KeyLookupHost);

void BM_KeyLookupResolvedOnce(benchmark::State& state) {
  BenchWorld world(kVanilla);
  sim::Player& ava = world.AddPlayer("ava");
  const std::ptrdiff_t offset = simfw::Fw().registry.FieldOffset("AController.Pawn");
  for (auto _ : state) {
    void* pawn = *reinterpret_cast<void**>(reinterpret_cast<char*>(ava.controller) + offset);
    benchmark::DoNotOptimize(pawn);
  }
}
BENCHMARK(BM_KeyLookupResolvedOnce);

}  // namespace

