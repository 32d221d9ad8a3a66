#include "sim/game/hooked_functions.h"

#include "sim/game/game.h"

namespace sim {

namespace fn {

namespace {
Game& G() { return *Game::Current(); }
std::string Who(const ShooterPlayerController* pc) { return pc != nullptr ? pc->player_id : std::string("nobody"); }
}  // namespace

void ShowTransferDialog(ShooterPlayerController* pc) { G().Event("the transfer dialog opens for " + Who(pc)); }

void HandleTransferDialogResult(GameMode*, bool accepted, ShooterPlayerController* pc) {
  G().Event(Who(pc) + (accepted ? " accepts" : " declines") + " the transfer dialog");
}

void TransferConfirmationResult(ShooterPlayerController* pc, bool accepted) {
  G().Event(Who(pc) + (accepted ? " confirms" : " cancels") + " the transfer");
  if (accepted && pc != nullptr) pc->bIsTransferringCharacter = 1;
}

void UploadCharacterAndItems(ShooterPlayerController* pc, Object*, int) {
  G().Event(Who(pc) + " asks to upload the character and items");
}

void TryToForceUploadCharacter(ShooterPlayerController* pc) { G().Event(Who(pc) + " forces a character upload"); }

void DropAllNotReadyForUploadItems(ShooterPlayerController* pc) {
  G().Event(Who(pc) + " drops every item not ready for upload");
}

void ProcessNetExecCommand(ShooterPlayerController* pc, Actor*, FName, FBPNetExecParams*) {
  G().Event(Who(pc) + " sends a net-exec command");
}

void ShooterClearCarryingDino(Character* character, bool first, bool second) {
  G().RecordArgs("AShooterCharacter.ClearCarryingDino", std::string(first ? "true" : "false") + "," + (second ? "true" : "false"));
  if (character == nullptr) return;
  character->CarryingDino = FWeakObjectPtr{0, 0};
}

// Emptying the mounted slot: a ridden creature is dismounted first;
// otherwise the shoulder companion goes, remembered in the previous slot.
// With the first flag set it is the secondary mounted actor that goes.
void ClearMountedDino(Character* character, bool first, bool second) {
  G().RecordArgs("APrimalCharacter.ClearMountedDino", std::string(first ? "true" : "false") + "," + (second ? "true" : "false"));
  if (character == nullptr) return;
  auto* shooter = dynamic_cast<ShooterCharacter*>(character);
  if (first) {
    if (shooter != nullptr && shooter->SecondaryMountedActor.ObjectSerialNumber != 0) {
      character->PreviousSecondaryMountedDino = shooter->SecondaryMountedActor;
      shooter->SecondaryMountedActor = FWeakObjectPtr{0, 0};
    }
    return;
  }
  if (shooter != nullptr && Objects().Resolve(shooter->RidingDino, false) != nullptr) {
    shooter->RidingDino = FWeakObjectPtr{0, 0};
    return;
  }
  if (character->MountedDino.ObjectSerialNumber != 0) {
    character->PreviousMountedDino = character->MountedDino;
    character->MountedDino = FWeakObjectPtr{0, 0};
  }
}

void UseItem(ShooterPlayerController* pc, Object*, FItemNetID, int) { G().Event(Who(pc) + " uses an item"); }

void UseItemWithActor(ShooterPlayerController* pc, Actor*, Object*, FItemNetID, int) {
  G().Event(Who(pc) + " uses an item on an actor");
}

void ProcessMulticastDelegate(MulticastDelegate*, void*) {}

// A player character's own carried-slot clearing is the shooter character's
// override, so the plain call reaches that function (and its hooks).
void PrimalClearCarryingDino(Character* character, bool first, bool second) {
  G().RecordArgs("APrimalCharacter.ClearCarryingDino", std::string(first ? "true" : "false") + "," + (second ? "true" : "false"));
  if (dynamic_cast<ShooterCharacter*>(character) != nullptr) {
    ClearCarrying::Call(character, first, second);
    return;
  }
  if (character != nullptr) character->CarryingDino = FWeakObjectPtr{0, 0};
}

}  // namespace fn

void RegisterHookedFunctions() {
  TransferButton::Register();
  TransferDialogResult::Register();
  TransferConfirmation::Register();
  CharacterUpload::Register();
  ForceUpload::Register();
  DropNotReady::Register();
  NetExec::Register();
  ClearCarrying::Register();
  ClearMounted::Register();
  UseItem::Register();
  UseItemWithActor::Register();
  MulticastDelegateDispatch::Register();
  simfw::GameFunction<"APrimalCharacter.ClearCarryingDino(bool,bool)", &fn::PrimalClearCarryingDino>::Register();
}

}  // namespace sim
