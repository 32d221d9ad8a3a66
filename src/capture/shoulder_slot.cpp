// The plugin's own clearing of a captured companion's slot, in the form the
// running game build has, and the capture-in-progress mark.
#include "capture/shoulder_slot.h"

#include <string>
#include <string_view>

#include "core/log.h"
#include "host/game/catalogue.h"
#include "host/game/parts.h"
#include "state/part_step.h"
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

std::string OffOnThisBuild(host::Part part) { return std::string(host::PartName(part)) + " is off on this game build"; }

void ClearMountedSlot(APrimalCharacter* pawn, bool secondary) {
  const char* slot = secondary ? "secondary shoulder" : "shoulder";
  const host::Part part = host::Part::kMountedClearing;
  if (!state::PartOn(part)) return LeaveSlot(slot, OffOnThisBuild(part));
  if (game::kCharacterClearMountedDino.BoundAs<OneFlagClearMounted>() && secondary) {
    // The one-flag form's flag is not the secondary flag.
    return LeaveSlot("secondary shoulder", "this game build empties only the primary shoulder slot");
  }
  state::UnlessPartGoesOff(part, [&] {
    if (!game::kCharacterClearMountedDino.BoundAs<OneFlagClearMounted>()) {
      game::kCharacterClearMountedDino(pawn, secondary, false);
    } else {
      game::kCharacterClearMountedDino.GetAs<OneFlagClearMounted>()(pawn, false);
    }
  });
  if (!state::PartOn(part)) LeaveSlot(slot, OffOnThisBuild(part));
}

void ClearCarriedSlot(APrimalCharacter* pawn) {
  const host::Part part = host::Part::kCarriedClearing;
  if (!state::PartOn(part)) return LeaveSlot("carried", OffOnThisBuild(part));
  state::UnlessPartGoesOff(part, [&] { game::kCharacterClearCarryingDino(pawn, false, false); });
  if (!state::PartOn(part)) LeaveSlot("carried", OffOnThisBuild(part));
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
