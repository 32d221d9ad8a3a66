#include "transfer/transfer_hooks.h"

namespace ck::transfer {

// Companion discovery and capture hook into these callbacks; until then they
// hand every call straight to the game.

void TransferButtonHook::Detour(AShooterPlayerController* controller) { original(controller); }

void TransferDialogResultHook::Detour(AShooterGameMode* game_mode, bool accepted,
                                      AShooterPlayerController* controller) {
  original(game_mode, accepted, controller);
}

void TransferConfirmationHook::Detour(AShooterPlayerController* controller, bool accepted) {
  original(controller, accepted);
}

void CharacterUploadHook::Detour(AShooterPlayerController* controller, UPrimalInventoryComponent* inventory,
                                 int flags) {
  original(controller, inventory, flags);
}

void ForceUploadHook::Detour(AShooterPlayerController* controller) { original(controller); }

void DropNotReadyHook::Detour(AShooterPlayerController* controller) { original(controller); }

void ItemsPlusNetExecHook::Detour(APrimalPlayerController* controller, AActor* actor, FName command,
                                  FBPNetExecParams* params) {
  original(controller, actor, command, params);
}

void ClearCarriedHook::Detour(AShooterCharacter* character, bool first, bool second) {
  original(character, first, second);
}

void ClearMountedHook::Detour(APrimalCharacter* character, bool first, bool second) {
  original(character, first, second);
}

}  // namespace ck::transfer
