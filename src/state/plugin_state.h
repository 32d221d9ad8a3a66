// The plugin's process-wide state, in one object: created at start-up,
// destroyed at unload, and reached through one pointer. Every subsystem
// keeps what it remembers between calls here, as a plain record; the
// behaviour stays with the subsystem. Tests build a fresh one per test.
// Game thread only.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "asa/engine_types.h"
#include "config/class_cache.h"
#include "config/plugin_config.h"
#include "host/game/parts.h"
#include "state/installed_hook.h"
#include "state/journal_ring.h"

namespace ck::state {

// The addresses of the game mode's two uncryo delegate fields, resolved on
// the first broadcast that may need them and kept until unload.
struct UnCryoDelegateFields {
  void* try_field = nullptr;
  void* post_field = nullptr;
  bool resolution_failed = false;
  // Resolved, or given up on: either way no broadcast needs the resolver.
  bool settled = false;
};

// One delayed clean-up pass waiting for its time.
struct PendingCleanupPass {
  FWeakObjectPtr controller;
  int64 due;
  int32 pass_number;
  FItemNetID item_id;
  // The pod was in the player's own inventory when the passes were queued,
  // where the passes look for it: a pass that no longer finds it there knows
  // it is gone.
  bool pod_watched = false;
};

// The try broadcast last seen for a player, remembered for a while.
struct RecentUnCryoTry {
  int64 time;
  FItemNetID item_id;
  bool has_id;
};

// A round of the recurring scan in progress: the players online when it
// began, in the world's order, and how far it came. A round may take several
// ticks; each sweeps a bounded number of items.
struct ScanRound {
  bool active = false;
  int64 began = 0;
  std::vector<TWeakObjectPtr<APlayerController>> players;
  std::size_t next = 0;
  int players_seen = 0;
  int64 items = 0;  // swept so far
  int removed = 0;
};

// What start-up found of the game build, for the status command.
struct GameBuildSummary {
  bool checked = false;
  std::string why;                    // when not checked
  std::vector<std::string> missing;   // members the build has under none of their names
  std::vector<std::string> renamed;   // "A is B" for members found under another name
  // Parts turned off while the plugin ran, and why.
  std::vector<std::pair<host::Part, std::string>> turned_off;
};

// Which steps of start-up are done, so that a reload completing a start
// that stopped part-way runs each remaining step once and no step twice.
struct StartupProgress {
  bool journal_files = false;
  bool hooks = false;
  bool debug_commands = false;
  bool admin_commands = false;
  bool scan_tick = false;
};

// What the plugin did since start-up; plain increments where the work
// already happens, for the status command.
struct Counters {
  uint64 captures_done = 0;
  uint64 captures_failed = 0;
  uint64 refused_by_cooldown = 0;
  uint64 pods_made = 0;
  uint64 pods_removed = 0;
};

struct PluginState {
  config::PluginConfig settings;
  config::ClassCache classes;
  // Where the settings came from: the file read, or the defaults and why.
  std::string config_source;
  GameBuildSummary build;
  Counters counters;

  // The parts the running game build has every key for (all of them until
  // start-up checked the build, and when it could not).
  host::PartSet parts_on = host::PartSet::All();
  // False when the game build left too little for the plugin to do anything
  // (start-up then installed nothing).
  bool usable_build = true;
  // True once start-up ran every step and announced the version; a start-up
  // that failed (a bad config file) or stopped on an unusable build leaves
  // it false, and the exported capture then does nothing.
  bool started = false;
  // Why the settings did not load at start-up, until a reload loads them:
  // the plugin is idle meanwhile.
  std::string start_failure;
  StartupProgress startup;
  // Why start-up stopped part-way after the settings loaded, until a reload
  // completes it.
  std::string start_stopped;
  // Why the last reload failed (the running settings are the last good
  // load's), until one succeeds.
  std::string reload_failure;

  // The comparison index of the temporary-pod marker's name once the name
  // table holds it (0 until then).
  int32 marker_index = 0;
  UnCryoDelegateFields delegate_fields;
  std::vector<PendingCleanupPass> pending_passes;
  bool cleanup_tick_registered = false;
  bool scan_tick_registered = false;
  // When the next tick must call the scan: the next round's start, or the
  // next tick while a round is in progress.
  int64 next_scan_due = 0;
  // When the scan's tick next looks at the hooks the framework may have
  // dropped, and when it next has any work (the earlier of the two times):
  // the idle tick compares the clock with one time only.
  int64 next_hook_look = 0;
  int64 tick_due = 0;
  ScanRound scan_round;
  // Why the last round of the scan failed; empty once a round completes.
  std::string last_round_failure;
  // By the player controller's identity, never its address: the engine may
  // make a new player's controller where a departed one's was.
  std::unordered_map<uint64, RecentUnCryoTry> recent_tries;
  // Emptied temporary pods (by item id) that the game answered "removed"
  // and kept: told once, tried again quietly.
  std::vector<FItemNetID> kept_pods;

  // When each pawn last started a capture (steady clock, nanoseconds).
  std::unordered_map<const void*, int64> capture_stamps;

  // The capture journal's latest entries.
  JournalRing journal;
  JournalFiles journal_files;

  // The hooks the framework accepted, in install order.
  std::vector<InstalledHook> hooks;
};

namespace detail {
inline constinit PluginState* g_current = nullptr;
}

// The running plugin's state. Only while one exists (Running()).
inline PluginState& Current() { return *detail::g_current; }
inline bool Running() { return detail::g_current != nullptr; }

// True when the running game build lets `part` work (see host/game/parts.h).
inline bool PartOn(host::Part part) { return Running() && Current().parts_on.Has(part); }

// Turns `part` off for the rest of the plugin's life, for a reason found
// while it ran (not a missing key), which the status then names.
inline void TurnOffPart(host::Part part, std::string why) {
  if (!Current().parts_on.Has(part)) return;
  Current().parts_on.Remove(part);
  Current().build.turned_off.emplace_back(part, std::move(why));
}

// Why `part` is off: what turned it off while the plugin ran, or "on this
// game build" (a key it needs is missing).
inline std::string WhyOff(host::Part part) {
  for (const auto& [off, why] : Current().build.turned_off) {
    if (off == part) return "since " + why;
  }
  return "on this game build";
}

// A base for hooks whose work needs the state: when there is none (a hook
// the framework failed to remove at unload still runs), the game's function
// alone runs. Used as `Wants` of a core::Detour.
struct NeedsState {
  template <typename... A>
  static bool Wants(A&&...) {
    return Running();
  }
};

// Makes a fresh state the current one, for the plugin's lifetime between
// start-up and unload (or a test's); the previous one, if any, is destroyed.
void Begin();
// Destroys the current state; nothing is current afterwards.
void End() noexcept;

}  // namespace ck::state

namespace ck::config {

// The live settings and class cache: the running plugin's.
inline PluginConfig& Current() { return state::Current().settings; }
inline ClassCache& Classes() { return state::Current().classes; }

// The capture-mode rule applied to the live settings, read afresh at every
// call.
[[nodiscard]] inline bool IsVanillaCaptureMode() { return IsVanillaCaptureMode(Current()); }

}  // namespace ck::config
