#include "capture/shoulder_slot.h"

#include "host/game.h"

namespace ck::capture {

namespace {

thread_local bool g_slot_clearing_in_progress = false;

class SlotClearingScope {
 public:
  SlotClearingScope() : previous_(g_slot_clearing_in_progress) { g_slot_clearing_in_progress = true; }
  ~SlotClearingScope() { g_slot_clearing_in_progress = previous_; }
  SlotClearingScope(const SlotClearingScope&) = delete;
  SlotClearingScope& operator=(const SlotClearingScope&) = delete;

 private:
  bool previous_;
};

}  // namespace

bool SlotClearingInProgress() { return g_slot_clearing_in_progress; }

void ClearShoulderSlot(APrimalCharacter* pawn, const AttachedCompanion& companion) {
  if (pawn == nullptr) return;
  SlotClearingScope scope;
  if (companion.mounted) {
    game::kCharacterClearMountedDino(pawn, companion.secondary, false);
  }
  if (companion.carried) {
    game::kCharacterClearCarryingDino(pawn, false, false);
  }
}

}  // namespace ck::capture
