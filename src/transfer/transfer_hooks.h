// The hooked game functions that signal a character transfer, and the two
// that empty a companion slot on a player character. Each states the work
// the plugin does before the game's function runs; a failure of that work is
// the error line "Cradlekeep <hook name> hook failed: ..." and goes no
// further. With no plugin state (a hook left installed after a failed
// unload) only the game's function runs. Game thread only.
#pragma once

#include "asa/engine_types.h"
#include "host/game/catalogue.h"
#include "state/plugin_state.h"
#include "core/detour.h"

namespace ck::transfer {

struct TransferButtonHook : core::Detour<TransferButtonHook, game::kShowTransferCharacterConfirmationDialog>, state::NeedsState {
  static constexpr const char* kBeforeFailure = "Cradlekeep transfer button hook failed";
  static void Before(AShooterPlayerController* controller);
};

struct TransferDialogResultHook
    : core::Detour<TransferDialogResultHook, game::kHandleTransferCharacterDialogResult>, state::NeedsState {
  static constexpr const char* kBeforeFailure = "Cradlekeep transfer dialog result hook failed";
  static void Before(AShooterGameMode* game_mode, bool accepted, AShooterPlayerController* controller);
};

struct TransferConfirmationHook
    : core::Detour<TransferConfirmationHook, game::kServerTransferredPlayerConfirmationResult>, state::NeedsState {
  static constexpr const char* kBeforeFailure = "Cradlekeep transfer confirmation result hook failed";
  static void Before(AShooterPlayerController* controller, bool accepted);
};

struct CharacterUploadHook : core::Detour<CharacterUploadHook, game::kServerUploadCurrentCharacterAndItems>, state::NeedsState {
  static constexpr const char* kBeforeFailure = "Cradlekeep character upload hook failed";
  static void Before(AShooterPlayerController* controller, UPrimalInventoryComponent* inventory, int flags);
};

struct ForceUploadHook : core::Detour<ForceUploadHook, game::kTryToForceUploadCharacter>, state::NeedsState {
  static constexpr const char* kBeforeFailure = "Cradlekeep force upload hook failed";
  static void Before(AShooterPlayerController* controller);
};

struct DropNotReadyHook : core::Detour<DropNotReadyHook, game::kServerDropAllNotReadyForUploadItems>, state::NeedsState {
  static constexpr const char* kBeforeFailure = "Cradlekeep drop not-ready upload hook failed";
  static void Before(AShooterPlayerController* controller);
};

struct ItemsPlusNetExecHook : core::Detour<ItemsPlusNetExecHook, game::kServerProcessNetExecCommand>, state::NeedsState {
  static constexpr const char* kBeforeFailure = "Cradlekeep Items+ net exec hook failed";
  static void Before(APrimalPlayerController* controller, AActor* actor, FName command, FBPNetExecParams* params);
};

struct ClearCarriedHook : core::Detour<ClearCarriedHook, game::kShooterCharacterClearCarryingDino>, state::NeedsState {
  static constexpr const char* kBeforeFailure = "Cradlekeep carried-slot detach hook failed";
  static void Before(AShooterCharacter* character, bool first, bool second);
};

struct ClearMountedHook : core::Detour<ClearMountedHook, game::kCharacterClearMountedDino>, state::NeedsState {
  static constexpr const char* kBeforeFailure = "Cradlekeep mounted-slot detach hook failed";
  static void Before(APrimalCharacter* character, bool first, bool second);
};

// The same function on a build that has only its one-flag form, whose flag
// does not tell the secondary slot: every call is the primary mounted slot's.
struct ClearMountedOneFlagHook
    : core::Detour<ClearMountedOneFlagHook, game::kCharacterClearMountedDino, void(APrimalCharacter*, bool)>,
      state::NeedsState {
  static constexpr const char* kBeforeFailure = "Cradlekeep mounted-slot detach hook failed";
  static void Before(APrimalCharacter* character, bool from_mounted_dino);
};

}  // namespace ck::transfer
