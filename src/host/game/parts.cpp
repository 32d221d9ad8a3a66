// The table of game keys and the parts of the plugin each one serves.
#include "host/game/parts.h"

#include <array>
#include <initializer_list>

#include "host/game/catalogue.h"

namespace ck::host {

namespace {

using P = Part;

constexpr PartSet Parts(std::initializer_list<Part> parts) {
  PartSet set;
  for (Part part : parts) set.Add(part);
  return set;
}

constexpr KeyNeed Need(const GameKey& member, std::initializer_list<Part> parts) {
  return KeyNeed{&member, KeyKind::kOffset, Parts(parts)};
}
constexpr KeyNeed Need(const BitFlag& member, std::initializer_list<Part> parts) {
  return KeyNeed{&member, KeyKind::kBitField, Parts(parts)};
}

// Every key of the catalogue and the parts that use it directly, in the
// catalogue's order. A key that serves everything is the engine's.
const std::array kTable = {
    // engine services
    Need(game::kMemoryRealloc, {P::kEngine}),
    Need(game::kMemoryFree, {P::kEngine}),
    Need(game::kNameConstruct, {P::kEngine}),
    Need(game::kNameToString, {P::kEngine}),
    Need(game::kWeakGet, {P::kEngine}),
    Need(game::kWeakAssign, {P::kEngine}),
    // UObjectBase, UStruct, UClass
    Need(game::kObjectClass, {P::kEngine}),
    Need(game::kObjectName, {P::kEngine}),
    Need(game::kStructIsChildOf, {P::kEngine}),
    Need(game::kFunctionParmsSize, {P::kScsCapture}),
    Need(game::kClassFindFunctionByName, {P::kScsCapture}),
    // UWorld
    Need(game::kWorldPlayerControllerList, {P::kRecurringScan}),
    Need(game::kWorldGetMapName, {P::kJournalServerName}),
    // UGameplayStatics, UVictoryCore
    Need(game::kGetAllActorsOfClass, {P::kScsCapture}),
    Need(game::kServerOctreeOverlapActors, {P::kSicknessClearing}),
    Need(game::kStringReferenceToClass, {P::kEngine}),
    Need(game::kGetCryoDinoData, {P::kVanillaCapture}),
    // AActor
    Need(game::kActorRootComponent, {P::kSicknessClearing}),
    Need(game::kActorTargetingTeam, {P::kSicknessClearing}),
    Need(game::kActorProcessEvent, {P::kScsCapture}),
    Need(game::kActorGetAttachParentActor, {P::kPreviousSecondary}),
    Need(game::kActorForceNetUpdate, {P::kSicknessClearing}),
    // USceneComponent
    Need(game::kSceneComponentToWorld, {P::kSicknessClearing}),
    // AController, APlayerController
    Need(game::kControllerPawn, {P::kEngine}),
    Need(game::kPlayerControllerCheatManager, {P::kSicknessClearing}),
    // APrimalPlayerController
    Need(game::kServerProcessNetExecCommand, {P::kItemsPlus}),
    // AShooterPlayerController
    Need(game::kPlayerControllerIsTransferringCharacter, {P::kInsertion, P::kCarriedDetach, P::kMountedDetach}),
    Need(game::kPlayerControllerLinkedPlayerID, {P::kJournalIds}),
    Need(game::kPlayerControllerGetPlayerCharacterName, {P::kJournalIds}),
    Need(game::kViewingAnUploadTerminal, {P::kCarriedDetach, P::kMountedDetach}),
    Need(game::kShowTransferCharacterConfirmationDialog, {P::kTransferButton}),
    Need(game::kServerTransferredPlayerConfirmationResult, {P::kTransferConfirmation}),
    Need(game::kServerUploadCurrentCharacterAndItems, {P::kCharacterUpload}),
    Need(game::kTryToForceUploadCharacter, {P::kForcedUpload}),
    Need(game::kServerDropAllNotReadyForUploadItems, {P::kDropNotReady}),
    Need(game::kServerRequestInventoryUseItem, {P::kPodUse}),
    Need(game::kServerRequestInventoryUseItemWithActor, {P::kPodUse}),
    // UShooterCheatManager
    Need(game::kCheatForceGiveBuff, {P::kSicknessClearing}),
    // AShooterGameMode
    Need(game::kGameModeOnTryUnCryoDino, {P::kUnCryoBroadcasts}),
    Need(game::kGameModeOnPostUnCryoDino, {P::kUnCryoBroadcasts}),
    Need(game::kHandleTransferCharacterDialogResult, {P::kTransferDialog}),
    // TMulticastScriptDelegate
    Need(game::kProcessMulticastDelegate, {P::kUnCryoBroadcasts}),
    // APrimalPawn
    Need(game::kPawnGetOwnerController, {P::kCarriedDetach, P::kMountedDetach}),
    // APrimalCharacter
    Need(game::kCharacterMountedDino, {P::kMountedSlot}),
    Need(game::kCharacterCarryingDino, {P::kCarriedSlot}),
    Need(game::kCharacterPreviousMountedDino, {P::kPreviousMounted}),
    Need(game::kCharacterPreviousSecondaryMountedDino, {P::kPreviousSecondary}),
    Need(game::kCharacterInventory,
         {P::kInsertion, P::kPodRemoval, P::kUnCryoBroadcasts, P::kCleanupPasses, P::kRecurringScan}),
    Need(game::kCharacterBuffs, {P::kSicknessClearing}),
    Need(game::kCharacterClearMountedDino, {P::kMountedClearing, P::kMountedDetach}),
    Need(game::kCharacterClearCarryingDino, {P::kCarriedClearing}),
    Need(game::kCharacterHasCryoSickness, {P::kSicknessClearing}),
    Need(game::kCharacterHasBuff, {P::kSicknessClearing}),
    Need(game::kCharacterDeactivateBuffs, {P::kSicknessClearing}),
    // AShooterCharacter
    Need(game::kShooterCharacterRidingDino, {P::kRiddenSlot}),
    Need(game::kShooterCharacterPlayerName, {P::kJournalIds}),
    // Every read of a controller's pawn as a player character asks it first.
    Need(game::kShooterCharacterStaticClass, {P::kEngine}),
    Need(game::kShooterCharacterGetRidingDino, {P::kRiddenSlot}),
    Need(game::kShooterCharacterGetSecondaryMountedActor, {P::kSecondarySlot}),
    Need(game::kShooterCharacterClearCarryingDino, {P::kCarriedDetach}),
    // APrimalDinoCharacter
    Need(game::kDinoTamingTeamID, {P::kSicknessClearing}),
    Need(game::kDinoID1, {P::kJournalIds}),
    Need(game::kDinoID2, {P::kJournalIds}),
    Need(game::kDinoStaticClass, {P::kSecondarySlot, P::kPreviousSecondary, P::kSicknessClearing}),
    Need(game::kDinoGetCurrentDinoName, {P::kCompanionNames}),
    Need(game::kDinoGetDinoDescriptiveName, {P::kCompanionNames}),
    Need(game::kDinoDestroy, {P::kVanillaCapture}),
    // APrimalBuff
    Need(game::kBuffCausesCryoSickness, {P::kSicknessClearing}),
    Need(game::kBuffDeactivate, {P::kSicknessClearing}),
    // UPrimalItem
    Need(game::kItemID, {P::kPodRemoval, P::kPodUse, P::kUnCryoBroadcasts}),
    Need(game::kItemCustomItemDatas, {P::kMarker}),
    Need(game::kItemOwnerInventory, {P::kInsertion, P::kUnCryoBroadcasts}),
    Need(game::kItemUploadEarliestValidTime, {P::kVanillaCapture}),
    Need(game::kItemAddNewItem, {P::kScsCapture, P::kVanillaCapture}),
    Need(game::kItemSetCustomItemData, {P::kVanillaCapture}),
    Need(game::kItemUpdatedItem, {P::kInsertion, P::kVanillaCapture, P::kMarker}),
    Need(game::kItemGetTimeUntilUploadAllowed, {P::kVanillaCapture}),
    Need(game::kItemIsReadyToUpload, {P::kVanillaCapture}),
    Need(game::kItemInventoryRefreshCheckItem, {P::kInsertion}),
    Need(game::kItemAddToInventory, {P::kForcedAdd}),
    Need(game::kItemRemoveFromSlot, {P::kPodRemoval}),
    // UPrimalInventoryComponent
    Need(game::kInventoryItems, {P::kInsertion, P::kPodRemoval}),
    Need(game::kInventoryItemSlots, {P::kPodRemoval}),
    Need(game::kInventoryTributeItems, {P::kPodRemoval}),
    Need(game::kInventoryCanInventoryItems, {P::kInsertion}),
    Need(game::kInventoryAddItemObject, {P::kPlainAdd}),
    Need(game::kInventoryAddItemObjectEx, {P::kExtendedAdd}),
    Need(game::kInventoryRefresh, {P::kInsertion, P::kPodRemoval, P::kUnCryoBroadcasts}),
    Need(game::kInventoryRemoveItem, {P::kPodRemoval}),
    // FCustomItemData and the records inside it
    Need(game::kCustomDataName, {P::kMarker}),
    Need(game::kCustomDataStrings, {P::kMarker}),
    Need(game::kCustomDataFloats, {P::kMarker}),
    Need(game::kCustomDataObjects, {P::kMarker}),
    Need(game::kCustomDataClasses, {P::kMarker}),
    Need(game::kCustomDataNames, {P::kMarker}),
    Need(game::kCustomDataSoftClasses, {P::kMarker}),
    Need(game::kCustomDataUniquePaintingIdMap, {P::kMarker}),
    Need(game::kCustomDataPaintingRevisionMap, {P::kMarker}),
    Need(game::kCustomDataDoubles, {P::kMarker}),
    Need(game::kCustomDataBytes, {P::kMarker}),
    Need(game::kCustomItemDoubles, {P::kMarker}),
    Need(game::kCustomItemByteArrays, {P::kMarker}),
    Need(game::kCustomItemBytes, {P::kMarker}),
    Need(game::kCustomItemDataMoveAssign, {P::kVanillaCapture}),
    // RCONClientConnection
    Need(game::kRconSendMessage, {P::kRconCommands}),
};

struct PartInfo {
  std::string_view name;
  PartSet stands_on;  // besides the engine, which every part stands on
};

// Indexed by Part.
const std::array<PartInfo, kPartCount> kParts = {{
    {"the engine services", {}},
    {"the transfer button trigger", {}},
    {"the transfer dialog trigger", {}},
    {"the transfer confirmation trigger", {}},
    {"the character upload trigger", {}},
    {"the forced upload trigger", {}},
    {"the drop-not-ready trigger", {}},
    {"the Items+ transfer trigger", {}},
    {"seeing the carried slot emptied during a transfer", {}},
    {"seeing a shoulder slot emptied during a transfer", {}},
    {"finding ridden creatures", {}},
    {"finding shoulder companions", {}},
    {"finding carried creatures", {}},
    {"finding secondary shoulder companions", {}},
    {"recovering the previous shoulder companion", {}},
    {"recovering the previous secondary shoulder companion", {}},
    {"companion names in messages", {}},
    {"emptying a shoulder slot after a capture", {}},
    {"emptying the carried slot after a capture", {}},
    {"placing pods in inventories", {}},
    {"the plain inventory add", {}},
    {"the extended inventory add", {}},
    {"the forced inventory add", {}},
    {"SCS capture", Parts({P::kInsertion})},
    {"vanilla capture", Parts({P::kInsertion, P::kMarker})},
    {"the temporary-pod marker", {}},
    {"removing emptied temporary pods", Parts({P::kMarker})},
    {"clean-up when a temporary pod is used", Parts({P::kMarker, P::kPodRemoval})},
    {"clean-up when a creature is released", Parts({P::kMarker, P::kPodRemoval})},
    {"the delayed clean-up passes", Parts({P::kMarker, P::kPodRemoval})},
    {"the recurring temporary-pod scan", Parts({P::kMarker, P::kPodRemoval})},
    {"clearing cryo sickness and cooldown", {}},
    {"the admin commands over RCON", {}},
    {"the capture journal's ids", {}},
    {"the journal file's default server name", {}},
}};

// Turns off every part that stands on a part that is off, until nothing
// changes; a pod goes into an inventory by at least one of the three ways.
PartSet Settle(PartSet on) {
  bool changed = true;
  while (changed) {
    changed = false;
    for (std::size_t i = 0; i < kPartCount; ++i) {
      const auto part = static_cast<Part>(i);
      if (!on.Has(part)) continue;
      bool keep = (part == P::kEngine || on.Has(P::kEngine)) && kParts[i].stands_on.Minus(on).Empty();
      if (part == P::kInsertion && !on.Has(P::kPlainAdd) && !on.Has(P::kExtendedAdd) && !on.Has(P::kForcedAdd)) {
        keep = false;
      }
      if (!keep) {
        on.Remove(part);
        changed = true;
      }
    }
  }
  return on;
}

}  // namespace

std::string_view PartName(Part part) { return kParts[static_cast<std::size_t>(part)].name; }

std::span<const KeyNeed> GameKeyTable() { return kTable; }

PartSet PartsOn(const std::vector<bool>& present) {
  PartSet on = PartSet::All();
  for (std::size_t i = 0; i < kTable.size(); ++i) {
    if (i >= present.size() || !present[i]) on = on.Minus(kTable[i].parts);
  }
  return Settle(on);
}

PartSet PartsOffWithout(std::size_t key_index) {
  std::vector<bool> present(kTable.size(), true);
  if (key_index < present.size()) present[key_index] = false;
  return PartSet::All().Minus(PartsOn(present));
}

std::string DescribeParts(PartSet parts) {
  if (parts == PartSet::All()) return "everything";
  std::string text;
  for (std::size_t p = 0; p < kPartCount; ++p) {
    if (!parts.Has(static_cast<Part>(p))) continue;
    if (!text.empty()) text += ", ";
    text += kParts[p].name;
  }
  return text;
}

void BindGameKeys(const std::vector<bool>& present) {
  for (std::size_t i = 0; i < kTable.size(); ++i) {
    const bool has = present.empty() || (i < present.size() && present[i]);
    kTable[i].member->Bind(has ? 0 : GameKey::kNoName, present.empty());
  }
}

void BindGameKeyNames(const std::vector<std::size_t>& names) {
  for (std::size_t i = 0; i < kTable.size(); ++i) {
    kTable[i].member->Bind(i < names.size() ? names[i] : GameKey::kNoName);
  }
}

}  // namespace ck::host
