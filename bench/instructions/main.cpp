// A driver for instruction counts: runs one path N times inside a function of
// its own, so that callgrind can count only that function
// (--toggle-collect). Usage: cradlekeep_instr MODE N
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_world.h"
#include "sim/framework/framework.h"
#include "sim/game/hooked_functions.h"
#include "sim/game/items.h"
#include "sim/game/names.h"
#include "state/plugin_state.h"
#include "temporary_pods/scan/auto_remove_scan.h"
#include "temporary_pods/custom_item_data.h"
#include "temporary_pods/uncryo_delegates.h"
#include "temporary_pods/uncryo_observation.h"

namespace {

volatile long g_sink = 0;  // keeps the measured calls from being optimised away

constexpr const char* kVanilla = R"({"CaptureMode": "Vanilla", "TemporaryVanillaCryopodCleanupIntervalSeconds": 1000000})";

extern "C" __attribute__((noinline)) void MeasureBroadcasts(sim::MulticastDelegate* delegate, long n) {
  char params[32] = {};
  for (long i = 0; i < n; ++i) sim::MulticastDelegateDispatch::Call(delegate, params);
}

extern "C" __attribute__((noinline)) void MeasureTicks(long n) {
  for (long i = 0; i < n; ++i) simfw::Fw().commands.RunTick(1.0f / 30.0f);
}

// Whole rounds of the recurring scan, slice by slice as the ticks run them.
extern "C" __attribute__((noinline)) long MeasureScans(long n) {
  long slices = 0;
  for (long i = 0; i < n; ++i) {
    ck::state::Current().scan_round.active = false;
    do {
      ++slices;
    } while (!ck::temporary_pods::SweepScanSlice(0));
  }
  return slices;
}

extern "C" __attribute__((noinline)) long MeasureWalks(sim::Game* game, long n) {
  long touched = 0;
  for (long i = 0; i < n; ++i) {
    for (const auto& player : game->Players()) {
      for (sim::Item* item : player->inventory->InventoryItems) touched += item != nullptr;
    }
  }
  return touched;
}

void FullServer(ckbench::BenchWorld& world, int players, int items) {
  for (int p = 0; p < players; ++p) world.FillInventory(world.AddPlayer("p" + std::to_string(p)), items);
  sim::Names().Add(ck::temporary_pods::kMarkerName);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: cradlekeep_instr delegate-hooked|delegate-unhooked|tick-loaded|tick-unloaded|scan|walk N\n");
    return 2;
  }
  const std::string mode = argv[1];
  const long n = std::atol(argv[2]);
  const bool loaded = mode == "delegate-hooked" || mode == "tick-loaded" || mode == "scan" || mode == "walk";
  ckbench::BenchWorld world(loaded ? kVanilla : nullptr);
  if (mode == "delegate-hooked" || mode == "delegate-unhooked") {
    if (!ck::temporary_pods::ResolveUnCryoDelegates()) return 1;
    MeasureBroadcasts(&world.game().other_delegate(), 1);  // warm up outside the count
    MeasureBroadcasts(&world.game().other_delegate(), n);
  } else if (mode == "tick-loaded" || mode == "tick-unloaded") {
    MeasureTicks(n);
  } else if (mode == "scan") {
    FullServer(world, 70, 300);
    g_sink = MeasureScans(n);
  } else if (mode == "walk") {
    FullServer(world, 70, 300);
    g_sink = MeasureWalks(&world.game(), n);
  } else {
    std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
    return 2;
  }
  return 0;
}
