#include "sim/game/hooked_functions.h"

#include "sim/game/game.h"
#include "sim/game/items.h"

namespace sim {

namespace fn {

namespace {
std::string Who(const ShooterPlayerController* pc) { return pc != nullptr ? pc->player_id : std::string("nobody"); }
}  // namespace

void ShowTransferDialog(ShooterPlayerController* pc) { G().Event("the transfer dialog opens for " + Who(pc)); }

void HandleTransferDialogResult(GameMode*, bool accepted, ShooterPlayerController* pc) {
  G().Event(Who(pc) + (accepted ? " accepts" : " declines") + " the transfer dialog");
}

void TransferConfirmationResult(ShooterPlayerController* pc, bool accepted) {
  G().Event(Who(pc) + (accepted ? " confirms" : " cancels") + " the transfer");
  if (!accepted || pc == nullptr) return;
  pc->bIsTransferringCharacter = 1;
  if (Player* player = G().PlayerOf(pc)) player->expected_transferring = 1;
  if (G().server().clear_slots_on_confirm) G().EmptySlotsThroughGame(dynamic_cast<ShooterCharacter*>(pc->Pawn));
}

void UploadCharacterAndItems(ShooterPlayerController* pc, Object*, int) {
  G().Event(Who(pc) + " uploads the character and items");
  G().DepartWithUpload(pc);
}

void TryToForceUploadCharacter(ShooterPlayerController* pc) {
  G().Event(Who(pc) + " forces a character upload");
  G().DepartWithUpload(pc);
}

void DropAllNotReadyForUploadItems(ShooterPlayerController* pc) { G().DropItemsNotReady(pc); }

void ProcessNetExecCommand(ShooterPlayerController* pc, Actor*, FName, FBPNetExecParams*) {
  G().Event(Who(pc) + " sends a net-exec command");
}

// The creature a slot held no longer rides on anyone.
void Detach(const FWeakObjectPtr& slot) {
  if (auto* actor = dynamic_cast<Actor*>(Objects().Resolve(slot, false))) actor->attach_parent = FWeakObjectPtr{0, 0};
}

void ShooterClearCarryingDino(Character* character, bool first, bool second) {
  G().RecordArgs("AShooterCharacter.ClearCarryingDino", std::string(first ? "true" : "false") + "," + (second ? "true" : "false"));
  if (character == nullptr) return;
  Detach(character->CarryingDino);
  character->CarryingDino = FWeakObjectPtr{0, 0};
}

namespace {

void ClearSecondary(Character* character) {
  auto* shooter = dynamic_cast<ShooterCharacter*>(character);
  if (shooter != nullptr && Objects().Resolve(shooter->SecondaryMountedActor, false) != nullptr) {
    Detach(shooter->SecondaryMountedActor);
    character->PreviousSecondaryMountedDino = shooter->SecondaryMountedActor;
    shooter->SecondaryMountedActor = FWeakObjectPtr{0, 0};
  }
}

// A ridden creature is dismounted first; otherwise the shoulder companion
// goes, remembered in the previous slot.
void ClearPrimary(Character* character) {
  auto* shooter = dynamic_cast<ShooterCharacter*>(character);
  if (shooter != nullptr && Objects().Resolve(shooter->RidingDino, false) != nullptr) {
    Detach(shooter->RidingDino);
    shooter->RidingDino = FWeakObjectPtr{0, 0};
    return;
  }
  if (Objects().Resolve(character->MountedDino, false) != nullptr) {
    Detach(character->MountedDino);
    character->PreviousMountedDino = character->MountedDino;
    character->MountedDino = FWeakObjectPtr{0, 0};
  }
}

}  // namespace

// Emptying the mounted slot. With the first flag set it is the secondary
// mounted actor that goes.
void ClearMountedDino(Character* character, bool first, bool second) {
  G().RecordArgs("APrimalCharacter.ClearMountedDino", std::string(first ? "true" : "false") + "," + (second ? "true" : "false"));
  if (character == nullptr) return;
  if (first) {
    ClearSecondary(character);
  } else {
    ClearPrimary(character);
  }
}

void ClearMountedDinoOneBool(Character* character, bool from_mounted_dino) {
  G().RecordArgs("APrimalCharacter.ClearMountedDino", from_mounted_dino ? "true" : "false");
  if (character != nullptr) ClearPrimary(character);
}

void UseItem(ShooterPlayerController* pc, Object* inventory, FItemNetID id, int) {
  G().UseItemInGame(pc, dynamic_cast<Inventory*>(inventory), id);
}

void UseItemWithActor(ShooterPlayerController* pc, Actor*, Object* inventory, FItemNetID id, int) {
  G().UseItemInGame(pc, dynamic_cast<Inventory*>(inventory), id);
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
  if (character == nullptr) return;
  Detach(character->CarryingDino);
  character->CarryingDino = FWeakObjectPtr{0, 0};
}

}  // namespace fn

void ClearSecondaryMountedInGame(Character* character) {
  if (character != nullptr) fn::ClearSecondary(character);
}

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
  ClearMountedOneBool::Register();
  UseItem::Register();
  UseItemWithActor::Register();
  MulticastDelegateDispatch::Register();
  simfw::GameFunction<"APrimalCharacter.ClearCarryingDino(bool,bool)", &fn::PrimalClearCarryingDino>::Register();
}

}  // namespace sim
