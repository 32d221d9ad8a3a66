// The recurring scan: at the configured interval (at least one second),
// every online player's inventory is swept for emptied temporary pods. The
// tick callback "Cradlekeep.TemporaryCryopodAutoRemove" runs on every tick;
// between scans it costs one clock read and one comparison.
#pragma once

#include "asa/engine_types.h"

namespace ck::temporary_pods {

inline constexpr const char16_t* kAutoRemoveTickId = u"Cradlekeep.TemporaryCryopodAutoRemove";

// The scan period in whole milliseconds for an interval in seconds.
int64 AutoRemovePeriodMilliseconds(double interval_seconds);

// Start-up's step: registers the tick when the settings ask for it and it is
// not registered yet. Exceptions of the framework pass to start-up's guard.
void RegisterAutoRemoveTick();

// The tick callback.
void RunAutoRemoveTick();

// Sweeps every online player's pawn inventory; adds the pods removed to
// `removed` and returns the number of online players seen.
int ScanOnlinePlayers(int& removed);

// Removes the tick callback when registered; a failure is a warn line.
void UnregisterAutoRemoveTick();

bool AutoRemoveTickRegistered();

}  // namespace ck::temporary_pods
