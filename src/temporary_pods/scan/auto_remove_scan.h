// The recurring scan: at the configured interval (at least one second), a
// round sweeps the inventory of every player online when it began for
// emptied temporary pods. No tick sweeps more than kScanSliceItems items
// (but for one player's whole inventory): a round of a bigger server goes on
// over the next ticks, skipping players who left; players who joined wait
// for the next round. However a round ends (complete, or failed), the next
// is due one interval after it began, or at the tick it ended if that is
// later. A reload or an unload ends the round in progress: its list and its
// counts belong to the settings that started it. The tick callback
// "Cradlekeep.TemporaryCryopodAutoRemove" runs on every tick; between rounds
// it costs one clock read and one comparison.
// Game thread only: every call reads the game's objects or the plugin's state.
#pragma once

#include <string>

#include "asa/engine_types.h"

namespace ck::temporary_pods {

inline constexpr const char16_t* kAutoRemoveTickId = u"Cradlekeep.TemporaryCryopodAutoRemove";

// The most items one tick of a round sweeps: 70 players with 300 items each
// (21,000) fit one tick, as they always did, and no tick of a bigger server
// sweeps more than they do; a bigger server takes more ticks.
inline constexpr int32 kScanSliceItems = 21'000;

// The longest scan period: a century. A longer interval (up to the largest
// number the configuration holds) is taken as this, so that the period in
// nanoseconds and the time the next scan is due stay within 64 bits.
inline constexpr double kLongestAutoRemoveSeconds = 100.0 * 365.25 * 24.0 * 60.0 * 60.0;

// The scan period in whole milliseconds for an interval in seconds: at least
// one second, at most kLongestAutoRemoveSeconds.
int64 AutoRemovePeriodMilliseconds(double interval_seconds);

// Start-up's step: registers the tick when the settings ask for it and it is
// not registered yet. Exceptions of the framework pass to start-up's guard.
void RegisterAutoRemoveTick();

// After the settings changed (a reload), as an unload and a load would: the
// round in progress ends (summed up as ended by a reload); then the tick is
// registered when the settings now ask for it, removed when they no longer
// do. The next round is due one new interval after the reload, or at the
// next tick when a round was in progress and the scan stays on. Never
// throws: returns "" when the tick follows the settings, otherwise what did
// not follow and why (a tick the framework would not remove stays
// registered, and idle while the settings do not ask for scans; a warn line
// says so too).
std::string FollowAutoRemoveSettings();

// At unload: ends the round in progress, summed up as ended by the unload.
// Never throws.
void EndScanRoundAtUnload();

// How often the tick looks for hooks the framework dropped (state::TellLostHooks).
inline constexpr int64 kHookLookNanoseconds = 1'000'000'000;

// The tick callback. The idle tick reads the clock and compares it with one
// time; when that time came it looks at the held hooks' original slots (once
// a second) and runs the scan when it is due.
void RunAutoRemoveTick();

// Call after next_scan_due or next_hook_look changed: the tick's one time
// follows them.
void DueTimesChanged();

// Sweeps every online player's pawn inventory at once, as one round in one
// tick; adds the pods removed to `removed` and returns the number of online
// players seen. For measurements against the sliced round.
int ScanOnlinePlayers(int& removed);

// One tick's part of the round in progress, starting one (the players online
// now) when none is: true when the round is complete. Its totals are in the
// state's scan round.
bool SweepScanSlice(int64 now);

// What the status says of the scan, in a few words: off (and why), or its
// interval and either the round in progress (players and items done) or
// when the next round is due; and that the last round failed, and why.
std::string DescribeScan(int64 now);


bool AutoRemoveTickRegistered();

}  // namespace ck::temporary_pods
