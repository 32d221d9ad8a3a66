// The game functions the plugin hooks, as hookable slots the game's flows
// call through. Their game-side work is the simulated game's.
#pragma once

#include "asa/engine_types.h"
#include "sim/framework/game_functions.h"
#include "sim/game/actors.h"

namespace sim {

namespace fn {
void ShowTransferDialog(ShooterPlayerController* pc);
void HandleTransferDialogResult(GameMode* game_mode, bool accepted, ShooterPlayerController* pc);
void TransferConfirmationResult(ShooterPlayerController* pc, bool accepted);
void UploadCharacterAndItems(ShooterPlayerController* pc, Object* inventory, int flags);
void TryToForceUploadCharacter(ShooterPlayerController* pc);
void DropAllNotReadyForUploadItems(ShooterPlayerController* pc);
void ProcessNetExecCommand(ShooterPlayerController* pc, Actor* actor, FName command, FBPNetExecParams* params);
void ShooterClearCarryingDino(Character* character, bool first, bool second);
void ClearMountedDino(Character* character, bool first, bool second);
void ClearMountedDinoOneBool(Character* character, bool from_mounted_dino);
void UseItem(ShooterPlayerController* pc, Object* inventory, FItemNetID id, int option);
void UseItemWithActor(ShooterPlayerController* pc, Actor* actor, Object* inventory, FItemNetID id, int option);
void ProcessMulticastDelegate(MulticastDelegate* delegate, void* params);
void PrimalClearCarryingDino(Character* character, bool first, bool second);
}  // namespace fn

using TransferButton = simfw::Hookable<"AShooterPlayerController.ShowTransferCharacterConfirmationDialog()",
                                       &fn::ShowTransferDialog>;
using TransferDialogResult =
    simfw::Hookable<"AShooterGameMode.HandleTransferCharacterDialogResult(bool,AShooterPlayerController*)",
                    &fn::HandleTransferDialogResult>;
using TransferConfirmation =
    simfw::Hookable<"AShooterPlayerController.ServerTransferredPlayerConfirmationResult_Implementation(bool)",
                    &fn::TransferConfirmationResult>;
using CharacterUpload = simfw::Hookable<
    "AShooterPlayerController.ServerUploadCurrentCharacterAndItems_Implementation(UPrimalInventoryComponent*,int)",
    &fn::UploadCharacterAndItems>;
using ForceUpload =
    simfw::Hookable<"AShooterPlayerController.TryToForceUploadCharacter_Implementation()", &fn::TryToForceUploadCharacter>;
using DropNotReady = simfw::Hookable<"AShooterPlayerController.ServerDropAllNotReadyForUploadItems_Implementation()",
                                     &fn::DropAllNotReadyForUploadItems>;
using NetExec = simfw::Hookable<
    "APrimalPlayerController.ServerProcessNetExecCommand_Implementation(AActor*,FName,FBPNetExecParams)",
    &fn::ProcessNetExecCommand>;
using ClearCarrying = simfw::Hookable<"AShooterCharacter.ClearCarryingDino(bool,bool)", &fn::ShooterClearCarryingDino>;
using ClearMounted = simfw::Hookable<"APrimalCharacter.ClearMountedDino(bool,bool)", &fn::ClearMountedDino>;
// The one-flag form that builds of the framework's 2.03 era have instead: it
// empties the primary mounted slot whatever its flag.
using ClearMountedOneBool =
    simfw::Hookable<"APrimalCharacter.ClearMountedDino(bool)", &fn::ClearMountedDinoOneBool>;
using UseItem = simfw::Hookable<
    "AShooterPlayerController.ServerRequestInventoryUseItem_Implementation(UPrimalInventoryComponent*,FItemNetID,int)",
    &fn::UseItem>;
using UseItemWithActor =
    simfw::Hookable<"AShooterPlayerController.ServerRequestInventoryUseItemWithActor_Implementation(AActor*,"
                    "UPrimalInventoryComponent*,FItemNetID,int)",
                    &fn::UseItemWithActor>;
using MulticastDelegateDispatch =
    simfw::Hookable<"TMulticastScriptDelegate<FNotThreadSafeDelegateMode>.ProcessMulticastDelegate<UObject>(void*)",
                    &fn::ProcessMulticastDelegate>;

// The game's own emptying of the secondary mounted slot on a build whose
// only mounted-slot clearing takes one flag: no hookable function does it.
void ClearSecondaryMountedInGame(Character* character);

void RegisterHookedFunctions();

}  // namespace sim
