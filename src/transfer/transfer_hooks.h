// The hooked game functions that signal a character transfer, and the two
// that empty a companion slot on a player character. Each callback calls the
// game function exactly once with the arguments it received.
#pragma once

#include "asa/engine_types.h"
#include "host/game.h"
#include "plugin/hook_site.h"

namespace ck::transfer {

struct TransferButtonHook : plugin::HookSite<TransferButtonHook, game::kShowTransferCharacterConfirmationDialog> {
  static void Detour(AShooterPlayerController* controller);
};

struct TransferDialogResultHook
    : plugin::HookSite<TransferDialogResultHook, game::kHandleTransferCharacterDialogResult> {
  static void Detour(AShooterGameMode* game_mode, bool accepted, AShooterPlayerController* controller);
};

struct TransferConfirmationHook
    : plugin::HookSite<TransferConfirmationHook, game::kServerTransferredPlayerConfirmationResult> {
  static void Detour(AShooterPlayerController* controller, bool accepted);
};

struct CharacterUploadHook : plugin::HookSite<CharacterUploadHook, game::kServerUploadCurrentCharacterAndItems> {
  static void Detour(AShooterPlayerController* controller, UPrimalInventoryComponent* inventory, int flags);
};

struct ForceUploadHook : plugin::HookSite<ForceUploadHook, game::kTryToForceUploadCharacter> {
  static void Detour(AShooterPlayerController* controller);
};

struct DropNotReadyHook : plugin::HookSite<DropNotReadyHook, game::kServerDropAllNotReadyForUploadItems> {
  static void Detour(AShooterPlayerController* controller);
};

struct ItemsPlusNetExecHook : plugin::HookSite<ItemsPlusNetExecHook, game::kServerProcessNetExecCommand> {
  static void Detour(APrimalPlayerController* controller, AActor* actor, FName command, FBPNetExecParams* params);
};

struct ClearCarriedHook : plugin::HookSite<ClearCarriedHook, game::kShooterCharacterClearCarryingDino> {
  static void Detour(AShooterCharacter* character, bool first, bool second);
};

struct ClearMountedHook : plugin::HookSite<ClearMountedHook, game::kCharacterClearMountedDino> {
  static void Detour(APrimalCharacter* character, bool first, bool second);
};

}  // namespace ck::transfer
