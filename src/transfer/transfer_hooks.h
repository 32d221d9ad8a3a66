// The hooked game functions that signal a character transfer, and the two
// that empty a companion slot on a player character. Each callback calls the
// game function exactly once with the arguments it received.
#pragma once

#include "asa/engine_types.h"
#include "plugin/hook_site.h"

namespace ck::transfer {

struct TransferButtonHook : plugin::HookSite<TransferButtonHook, void(AShooterPlayerController*)> {
  static constexpr const char* kKey = "AShooterPlayerController.ShowTransferCharacterConfirmationDialog()";
  static void Detour(AShooterPlayerController* controller);
};

struct TransferDialogResultHook
    : plugin::HookSite<TransferDialogResultHook, void(AShooterGameMode*, bool, AShooterPlayerController*)> {
  static constexpr const char* kKey =
      "AShooterGameMode.HandleTransferCharacterDialogResult(bool,AShooterPlayerController*)";
  static void Detour(AShooterGameMode* game_mode, bool accepted, AShooterPlayerController* controller);
};

struct TransferConfirmationHook
    : plugin::HookSite<TransferConfirmationHook, void(AShooterPlayerController*, bool)> {
  static constexpr const char* kKey =
      "AShooterPlayerController.ServerTransferredPlayerConfirmationResult_Implementation(bool)";
  static void Detour(AShooterPlayerController* controller, bool accepted);
};

struct CharacterUploadHook
    : plugin::HookSite<CharacterUploadHook, void(AShooterPlayerController*, UPrimalInventoryComponent*, int)> {
  static constexpr const char* kKey =
      "AShooterPlayerController.ServerUploadCurrentCharacterAndItems_Implementation(UPrimalInventoryComponent*,int)";
  static void Detour(AShooterPlayerController* controller, UPrimalInventoryComponent* inventory, int flags);
};

struct ForceUploadHook : plugin::HookSite<ForceUploadHook, void(AShooterPlayerController*)> {
  static constexpr const char* kKey = "AShooterPlayerController.TryToForceUploadCharacter_Implementation()";
  static void Detour(AShooterPlayerController* controller);
};

struct DropNotReadyHook : plugin::HookSite<DropNotReadyHook, void(AShooterPlayerController*)> {
  static constexpr const char* kKey = "AShooterPlayerController.ServerDropAllNotReadyForUploadItems_Implementation()";
  static void Detour(AShooterPlayerController* controller);
};

struct ItemsPlusNetExecHook
    : plugin::HookSite<ItemsPlusNetExecHook, void(APrimalPlayerController*, AActor*, FName, FBPNetExecParams*)> {
  static constexpr const char* kKey =
      "APrimalPlayerController.ServerProcessNetExecCommand_Implementation(AActor*,FName,FBPNetExecParams)";
  static void Detour(APrimalPlayerController* controller, AActor* actor, FName command, FBPNetExecParams* params);
};

struct ClearCarriedHook : plugin::HookSite<ClearCarriedHook, void(AShooterCharacter*, bool, bool)> {
  static constexpr const char* kKey = "AShooterCharacter.ClearCarryingDino(bool,bool)";
  static void Detour(AShooterCharacter* character, bool first, bool second);
};

struct ClearMountedHook : plugin::HookSite<ClearMountedHook, void(APrimalCharacter*, bool, bool)> {
  static constexpr const char* kKey = "APrimalCharacter.ClearMountedDino(bool,bool)";
  static void Detour(APrimalCharacter* character, bool first, bool second);
};

}  // namespace ck::transfer
