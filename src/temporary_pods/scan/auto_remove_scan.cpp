#include "temporary_pods/scan/auto_remove_scan.h"

#include <algorithm>
#include <string>

#include "host/framework/framework.h"
#include "config/plugin_config.h"
#include "core/boundary.h"
#include "host/engine/class_loading.h"
#include "host/framework/clock.h"
#include "host/game/catalogue.h"
#include "host/engine/weak_pointer.h"
#include "core/log.h"
#include "state/plugin_state.h"
#include "temporary_pods/inventory_sweep.h"

namespace ck::temporary_pods {

namespace {


bool ScanSettingsOn() {
  const config::PluginConfig& s = config::Current();
  return s.Enabled && s.TemporaryVanillaCryopods && s.AutoRemoveTemporaryVanillaCryopods;
}

// The settings ask for the recurring scan, with an interval.
bool ScanAskedFor() {
  return ScanSettingsOn() && config::Current().TemporaryVanillaCryopodCleanupIntervalSeconds > 0;
}

// The settings ask for it and the game build has what it needs: the tick is
// registered. The game build is decided here, once: the tick itself stays as
// cheap as it was.
bool ScanTickWanted() { return ScanAskedFor() && state::PartOn(host::Part::kRecurringScan); }

int64 PeriodNanoseconds() {
  return AutoRemovePeriodMilliseconds(config::Current().TemporaryVanillaCryopodCleanupIntervalSeconds) * 1'000'000;
}

}  // namespace

int64 AutoRemovePeriodMilliseconds(double interval_seconds) {
  const double seconds = interval_seconds < 1.0                         ? 1.0
                         : interval_seconds > kLongestAutoRemoveSeconds ? kLongestAutoRemoveSeconds
                                                                        : interval_seconds;
  return static_cast<int64>(seconds * 1000.0);
}

void RegisterAutoRemoveTick() {
  if (state::Current().scan_tick_registered || !ScanTickWanted()) return;
  const int64 period_ms = AutoRemovePeriodMilliseconds(config::Current().TemporaryVanillaCryopodCleanupIntervalSeconds);
  state::Current().next_scan_due = host::SteadyNowNanoseconds() + period_ms * 1'000'000;
  state::Current().scan_round.active = false;
  DueTimesChanged();
  host::AddOnTickCallback(kAutoRemoveTickId, [](float) { RunAutoRemoveTick(); });
  state::Current().scan_tick_registered = true;
  log::Trace("Cradlekeep temporary vanilla cryopod auto-removal enabled every {} second(s)",
             static_cast<double>(period_ms) / 1000.0);
}

namespace {

enum class RoundEnd { kComplete, kFailed, kReload, kUnload };

// Ends the round in progress and sums it up once (with DebugLogging, when it
// removed pods), saying how it ended; its list goes with it.
void EndRound(state::ScanRound& round, RoundEnd how) {
  if (!round.active) return;
  round.active = false;
  round.players.clear();
  if (round.removed <= 0) return;
  const char* ended = how == RoundEnd::kFailed   ? " before the round failed"
                      : how == RoundEnd::kReload ? " before a reload ended the round"
                      : how == RoundEnd::kUnload ? " before an unload ended the round"
                                                 : "";
  log::Trace("Cradlekeep temporary vanilla cryopod scan removed {} pod(s) across {} online player(s){}", round.removed,
             round.players_seen, ended);
}

// However a round ended, the next is due one interval after it began, or at
// once when that has passed.
void ScheduleNextRound(const state::ScanRound& round, int64 now) {
  state::Current().next_scan_due = std::max(round.began + PeriodNanoseconds(), now);
}

// Seconds to the millisecond, without trailing zeros: "30 s", "0.85 s".
std::string SecondsText(int64 nanoseconds) {
  const int64 ms = (std::max<int64>(nanoseconds, 0) + 500'000) / 1'000'000;
  std::string text = std::to_string(ms / 1000);
  if (const int64 fraction = ms % 1000; fraction != 0) {
    std::string digits = std::to_string(fraction + 1000).substr(1);
    while (digits.back() == '0') digits.pop_back();
    text += "." + digits;
  }
  return text + " s";
}

}  // namespace

std::string FollowAutoRemoveSettings() {
  state::PluginState& state = state::Current();
  const bool was_in_round = state.scan_round.active;
  EndRound(state.scan_round, RoundEnd::kReload);
  std::string not_followed;
  if (ScanTickWanted()) {
    const bool registered = state.scan_tick_registered;
    core::Contain(RegisterAutoRemoveTick, [&](const char* what) {
      not_followed = std::string("the recurring scan's tick is not registered (") + what + ")";
      log::Warn("Cradlekeep temporary cryopod scan tick register failed: {}", what);
    });
    // As after a load: one new interval from now. The players of a round
    // the reload ended are not kept waiting that long.
    if (registered) state.next_scan_due = host::SteadyNowNanoseconds() + PeriodNanoseconds();
    if (was_in_round) state.next_scan_due = host::SteadyNowNanoseconds();
    DueTimesChanged();
  } else if (state.scan_tick_registered) {
    // A tick the framework would not remove stays registered, and so marked:
    // registering it again would make two. It stays idle.
    core::Contain([] { host::RemoveOnTickCallback(kAutoRemoveTickId); state::Current().scan_tick_registered = false; },
                  [&](const char* what) {
                    not_followed = std::string("the recurring scan's tick stays registered (") + what + ")";
                    log::Warn("Cradlekeep temporary cryopod scan tick unregister failed: {}", what);
                  });
  }
  return not_followed;
}

void EndScanRoundAtUnload() {
  if (state::Running()) EndRound(state::Current().scan_round, RoundEnd::kUnload);
}

std::string DescribeScan(int64 now) {
  const state::PluginState& state = state::Current();
  if (!state.started) {
    if (!state.start_failure.empty()) return "scan off (no settings in force)";
    return state.usable_build ? "scan off (start-up stopped part-way)" : "scan off (nothing installed on this game build)";
  }
  if (!ScanAskedFor()) return "scan off";
  if (!state::PartOn(host::Part::kRecurringScan)) return "scan off on this game build";
  if (!state.scan_tick_registered) return "scan not running (its tick is not registered)";
  std::string text = "scan every " + SecondsText(PeriodNanoseconds());
  const state::ScanRound& round = state.scan_round;
  if (round.active) {
    text += ", round in progress (" + std::to_string(round.next) + " of " + std::to_string(round.players.size()) +
            " players, " + std::to_string(round.items) + " items done)";
  } else {
    text += ", next round in " + SecondsText(state.next_scan_due - now);
  }
  if (!state.last_round_failure.empty()) text += ", last round failed (" + state.last_round_failure + ")";
  return text;
}

namespace {

// The players online now, in the world's order, as the round's list.
void StartRound(state::ScanRound& round, int64 now) {
  round.active = true;
  round.began = now;
  round.next = 0;
  round.players_seen = 0;
  round.items = 0;
  round.removed = 0;
  round.players.clear();
  UWorld* world = host::CurrentWorld();
  if (world == nullptr) return;
  const auto* controllers = game::kWorldPlayerControllerList.In(world);
  if (controllers->Num() > 0) round.players.assign(controllers->Data, controllers->Data + controllers->Num());
}

// The inventory a sweep of the player walks; null without a player
// character. Checked once per player, not per item: a pawn that is no player
// character (a spectator's) is never read as one.
UPrimalInventoryComponent* InventoryOfPlayer(APlayerController* controller, UClass* player_character) {
  AShooterCharacter* pawn = host::PlayerCharacterOf(controller, player_character);
  return pawn != nullptr ? game::kCharacterInventory.Read(pawn) : nullptr;
}

// Sweeps one player's inventory; the pods removed.
int SweepInventory(UPrimalInventoryComponent* inventory, APlayerController* controller) {
  if (inventory == nullptr) return 0;
  const Removal removal{reinterpret_cast<AShooterPlayerController*>(controller), "recurring scan"};
  const int n = SweepEmptyTemporaryPods(inventory, removal);
  if (n > 0) {
    log::Trace("Cradlekeep removed {} empty temporary vanilla cryopod(s) after {}", n,
               "recurring temporary vanilla cryopod scan");
  }
  return n;
}

// The scan's work on a tick it is due, kept out of the per-tick path.
[[gnu::noinline]] void RunDueScan(int64 now) {
  state::PluginState& state = state::Current();
  state::ScanRound& round = state.scan_round;
  core::Contain(
      [&] {
        if (SweepScanSlice(now)) {
          ScheduleNextRound(round, now);
          state.last_round_failure.clear();
          EndRound(round, RoundEnd::kComplete);
        } else {
          state.next_scan_due = now;  // the round goes on at the next tick
        }
      },
      [&](const char* what) {
        log::Error("Cradlekeep temporary vanilla cryopod auto-removal failed: {}", what);
        state.last_round_failure = what;
        ScheduleNextRound(round, now);
        EndRound(round, RoundEnd::kFailed);
      });
}

}  // namespace

bool SweepScanSlice(int64 now) {
  state::ScanRound& round = state::Current().scan_round;
  if (!round.active) StartRound(round, now);
  // Asked once per slice: every player's pawn is checked against it.
  UClass* const player_character = game::kShooterCharacterStaticClass();
  // The settings do not change within a tick.
  const bool sweep = ScanSettingsOn();
  int32 swept = 0;  // items swept this tick
  const std::size_t count = round.players.size();
  std::size_t next = round.next;
  for (; next < count; ++next) {
    // A player who left since the round began is passed over.
    APlayerController* controller = host::ResolveWeak(&round.players[next]);
    if (controller == nullptr) continue;
    if (sweep) {
      UPrimalInventoryComponent* inventory = InventoryOfPlayer(controller, player_character);
      const int32 items = inventory != nullptr ? game::kInventoryItems.In(inventory)->Num() : 0;
      // Whole inventories only; the first of a tick goes whatever its size.
      if (swept > 0 && items > kScanSliceItems - swept) break;
      round.removed += SweepInventory(inventory, controller);
      round.items += items;
      swept += items > 0 ? items : 1;
    }
    ++round.players_seen;
  }
  round.next = next;
  return next == count;
}

namespace {

// The tick's work when some is due: a look at the hooks once a second, the
// scan when its time came. Kept out of the per-tick path.
[[gnu::noinline]] void RunDueTickWork(int64 now) {
  state::PluginState& state = state::Current();
  if (now >= state.next_hook_look) {
    state::TellLostHooks(state.hooks);
    state.next_hook_look = now + kHookLookNanoseconds;
  }
  if (now >= state.next_scan_due) RunDueScan(now);
  DueTimesChanged();
}

}  // namespace

void DueTimesChanged() {
  state::PluginState& state = state::Current();
  state.tick_due = std::min(state.next_scan_due, state.next_hook_look);
}

void RunAutoRemoveTick() {
  if (!state::Running()) return;  // left registered after a failed unload
  if (!ScanAskedFor()) return;
  const int64 now = host::SteadyNowNanoseconds();
  if (now < state::Current().tick_due) return;
  RunDueTickWork(now);
}

int ScanOnlinePlayers(int& removed) {
  UWorld* world = host::CurrentWorld();
  if (world == nullptr) return 0;
  const auto* controllers = game::kWorldPlayerControllerList.In(world);
  UClass* const player_character = game::kShooterCharacterStaticClass();
  int players = 0;
  for (int32 i = 0; i < controllers->Num(); ++i) {
    APlayerController* controller = host::ResolveWeak(&(*controllers)[i]);
    if (controller == nullptr) continue;
    ++players;
    if (ScanSettingsOn()) removed += SweepInventory(InventoryOfPlayer(controller, player_character), controller);
  }
  return players;
}

bool AutoRemoveTickRegistered() { return state::Current().scan_tick_registered; }

}  // namespace ck::temporary_pods
