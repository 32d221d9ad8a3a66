// The plugin's own clearing of a captured companion's slot, in the form the
// running game build has, and the capture-in-progress mark.
#include "capture/shoulder_slot.h"

#include <string>
#include <string_view>

#include "core/log.h"
#include "host/game/catalogue.h"
#include "host/game/parts.h"
#include "state/plugin_state.h"

namespace ck::capture {

namespace {

// Game thread only, like every capture.
bool g_capture_in_progress = false;

using OneFlagClearMounted = void(APrimalCharacter*, bool);

// A slot whose clearing this game build lacks is left as it is; the
// creature goes all the same.
void LeaveSlot(const char* slot, std::string_view why) {
  log::Warn("Cradlekeep left the captured companion's {} slot as it is: {}", slot, why);
}

void ClearMountedSlot(APrimalCharacter* pawn, bool secondary) {
  if (!state::PartOn(host::Part::kMountedClearing)) {
    LeaveSlot(secondary ? "secondary shoulder" : "shoulder",
              std::string(host::PartName(host::Part::kMountedClearing)) + " is off on this game build");
  } else if (!game::kCharacterClearMountedDino.BoundAs<OneFlagClearMounted>()) {
    game::kCharacterClearMountedDino(pawn, secondary, false);
  } else if (secondary) {
    // The one-flag form's flag is not the secondary flag.
    LeaveSlot("secondary shoulder", "this game build empties only the primary shoulder slot");
  } else {
    game::kCharacterClearMountedDino.GetAs<OneFlagClearMounted>()(pawn, false);
  }
}

void ClearCarriedSlot(APrimalCharacter* pawn) {
  if (!state::PartOn(host::Part::kCarriedClearing)) {
    LeaveSlot("carried", std::string(host::PartName(host::Part::kCarriedClearing)) + " is off on this game build");
    return;
  }
  game::kCharacterClearCarryingDino(pawn, false, false);
}

}  // namespace

bool CaptureInProgress() { return g_capture_in_progress; }

CaptureScope::CaptureScope() : previous_(g_capture_in_progress) { g_capture_in_progress = true; }

CaptureScope::~CaptureScope() { g_capture_in_progress = previous_; }

void ClearShoulderSlot(APrimalCharacter* pawn, const AttachedCompanion& companion) {
  if (pawn == nullptr) return;
  CaptureScope scope;
  if (companion.mounted) ClearMountedSlot(pawn, companion.secondary);
  if (companion.carried) ClearCarriedSlot(pawn);
}

}  // namespace ck::capture
