// The plugin's cost on the game thread, each path beside its floor.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
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
// iteration's time is the longest one. Beside it: a whole round in one tick
// (as the scan did before it was sliced) and the bare walk of one slice's
// items, the floor.

void SizedServer(BenchWorld& world, int players, int items) {
  for (int p = 0; p < players; ++p) world.FillInventory(world.AddPlayer("p" + std::to_string(p)), items);
  sim::Names().Add(ck::temporary_pods::kMarkerName);
}

// A round begins a second after the last one, the game's own work in
// between: its items are no longer in the processor's caches. Every round
// measured here begins so, whatever the server's size (untimed).
void EvictCaches() {
  static std::vector<unsigned char> buffer(64u << 20);
  for (std::size_t i = 0; i < buffer.size(); i += 64) buffer[i] = static_cast<unsigned char>(buffer[i] + 1);
  benchmark::ClobberMemory();
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_ScanWorstTick(benchmark::State& state) {
  BenchWorld world(kVanilla);
  SizedServer(world, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  int ticks = 0;
  for (auto _ : state) {
    double worst = 0;
    ticks = 0;
    bool done = false;
    ck::state::Current().scan_round.active = false;  // a new round
    EvictCaches();
    while (!done) {
      const auto start = std::chrono::steady_clock::now();
      done = ck::temporary_pods::SweepScanSlice(0);
      worst = std::max(worst, SecondsSince(start));
      ++ticks;
    }
    state.SetIterationTime(worst);
  }
  state.counters["ticks_per_round"] = ticks;
  state.counters["items"] = static_cast<double>(state.range(0) * state.range(1));
}
BENCHMARK(BM_ScanWorstTick)->Args({70, 300})->Args({100, 2000})->Args({200, 2000})->UseManualTime()
    ->Iterations(40)->Unit(benchmark::kMicrosecond);

void BM_ScanWholeRoundInOneTick(benchmark::State& state) {
  BenchWorld world(kVanilla);
  SizedServer(world, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) {
    EvictCaches();
    const auto start = std::chrono::steady_clock::now();
    int removed = 0;
    benchmark::DoNotOptimize(ck::temporary_pods::ScanOnlinePlayers(removed));
    state.SetIterationTime(SecondsSince(start));
  }
}
BENCHMARK(BM_ScanWholeRoundInOneTick)->Args({70, 300})->Args({100, 2000})->Args({200, 2000})->UseManualTime()
    ->Iterations(40)->Unit(benchmark::kMicrosecond);

// The floor: walking one slice's worth of items (100 inventories of 250),
// touching every item, no test.
void BM_ScanSliceWalkOnly(benchmark::State& state) {
  BenchWorld world(kVanilla);
  SizedServer(world, 100, ck::temporary_pods::kScanSliceItems / 100);
  for (auto _ : state) {
    EvictCaches();
    const auto start = std::chrono::steady_clock::now();
    std::size_t touched = 0;
    for (const auto& player : world.game().Players()) {
      for (sim::Item* item : player->inventory->InventoryItems) touched += item != nullptr;
    }
    benchmark::DoNotOptimize(touched);
    state.SetIterationTime(SecondsSince(start));
  }
}
BENCHMARK(BM_ScanSliceWalkOnly)->UseManualTime()->Iterations(40)->Unit(benchmark::kMicrosecond);

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
