// The game as the plugin sees it: every game member the plugin uses, declared
// once here with its type and key, grouped by the game class that owns it.
// Nothing else in the plugin spells a key or computes a member's address.
//
// Keys are spelled as the framework spells them ("Class.Field",
// "Class.Function(ArgTypes)", no blanks). Function signatures are the game's
// binary ones (see host/game/members.h): the object first, then the parameters;
// a result returned by value as a class or struct is a pointer to the
// caller's result right after the object (first for a static function), and
// a class passed by value that is larger than 8 bytes or not trivially
// copyable is a pointer to the caller's copy. FName and FItemNetID are 8
// trivially copyable bytes and travel by value. A TSubclassOf<> is not
// trivially copyable (the engine's holds a TObjectPtr with a copy written by
// hand): it travels as the address of the caller's copy, and comes back
// through a hidden result pointer. Each form is the one the framework's
// released headers (API 2.03) give, checked by `cradlekeep-keys --check-forms`.
//
// Hooked functions are declared here as well; the hook sites (HookSite)
// take their key and signature from these declarations.
#pragma once

#include "asa/engine_types.h"
#include "host/game/members.h"

namespace ck::game {

// A multicast script delegate inside a game object. Opaque: only its address
// matters, to tell one broadcast from another.
struct MulticastScriptDelegate;

// --- engine services

// FMemory: static functions.
inline constinit host::Function<void*(void*, uint64, uint32)> kMemoryRealloc{
    "FMemory.Realloc(void*,unsigned__int64,unsignedint)"};
inline constinit host::Function<void(void*)> kMemoryFree{"FMemory.Free(void*)"};

// FName: the constructor fills the name at `this`.
inline constinit host::Function<void(FName*, const char*, EFindName)> kNameConstruct{"FName.FName(char*,EFindName)"};
// Fills the string passed by reference.
inline constinit host::Function<void(const FName*, FString*)> kNameToString{"FName.ToString(FString&)"};

// FWeakObjectPtr. Get is called with its bEvenIfPendingKill flag (false),
// although the key names the overload without it.
inline constinit host::Function<UObject*(const FWeakObjectPtr*, bool)> kWeakGet{"FWeakObjectPtr.Get()"};
// Returns a reference to `this`, which the plugin does not read.
inline constinit host::Function<void(FWeakObjectPtr*, const UObject*)> kWeakAssign{
    "FWeakObjectPtr.operator=(UObject*)"};

// --- UObjectBase, UStruct, UClass

inline constinit host::Field<UClass*> kObjectClass{"UObjectBase.ClassPrivate"};
inline constinit host::Field<FName> kObjectName{"UObjectBase.NamePrivate"};

inline constinit host::Function<bool(UClass*, UClass*)> kStructIsChildOf{"UStruct.IsChildOf(UStruct*)"};
// The size of the parameter block a function takes (UFunction::ParmsSize).
inline constinit host::Field<uint16> kFunctionParmsSize{"UFunction.ParmsSize"};
inline constinit host::Function<UFunction*(UClass*, FName, EIncludeSuperFlag::Type)> kClassFindFunctionByName{
    "UClass.FindFunctionByName(FName,EIncludeSuperFlag::Type)"};

// --- UWorld

inline constinit host::Field<TArray<TWeakObjectPtr<APlayerController>>> kWorldPlayerControllerList{
    "UWorld.PlayerControllerList"};
// The map's name ("TheIsland_WP"), as the journal's default server name
// reads it (API 2.03, GameMode.h). Only the journal asks for it.
inline constinit host::Function<FString*(UWorld*, FString*)> kWorldGetMapName{"UWorld.GetMapName()"};

// --- UGameplayStatics, UVictoryCore: static functions

// The array is passed by reference and filled.
inline constinit host::Function<void(UObject*, TSubclassOf<AActor>*, TArray<AActor*>*)> kGetAllActorsOfClass{
    "UGameplayStatics.GetAllActorsOfClass(UObject*,TSubclassOf<AActor>,TArray<AActor*,TSizedDefaultAllocator<32>>&)"};
// Actors near a place: returns an array by value, so the result's address
// comes first; the location, a 24-byte record, travels by address.
inline constinit host::Function<TArray<AActor*>*(TArray<AActor*>*, UObject*, FVector*, float, int32, bool)>
    kServerOctreeOverlapActors{
        "UVictoryCore.ServerOctreeOverlapActors(UObject*,UE::Math::TVector<double>,float,EServerOctreeGroup::Type,"
        "bool)"};
// Returns the class handle by value: the result pointer comes first.
inline constinit host::Function<TSubclassOf<UObject>*(TSubclassOf<UObject>*, FString*)> kStringReferenceToClass{
    "UVictoryCore.StringReferenceToClass(FString&)"};
// Returns FCustomItemData by value: the result pointer comes first (no
// object) and is returned; null when the game made no data.
inline constinit host::Function<FCustomItemData*(FCustomItemData*, UObject*, APrimalDinoCharacter*)> kGetCryoDinoData{
    "UVictoryCore.GetCryoDinoData(UObject*,APrimalDinoCharacter*)"};

// --- AActor

inline constinit host::Field<USceneComponent*> kActorRootComponent{"AActor.RootComponent"};
inline constinit host::Field<int32> kActorTargetingTeam{"UPrimalActor.TargetingTeam"};

inline constinit host::Function<void(AActor*, UFunction*, void*)> kActorProcessEvent{
    "AActor.ProcessEvent(UFunction*,void*)"};
inline constinit host::Function<AActor*(AActor*)> kActorGetAttachParentActor{"AActor.GetAttachParentActor()"};
inline constinit host::Function<void(AActor*, bool, bool, bool)> kActorForceNetUpdate{
    "AActor.ForceNetUpdate(bool,bool,bool)"};

// --- USceneComponent

inline constinit host::Field<FTransform> kSceneComponentToWorld{"USceneComponent.ComponentToWorld"};

// --- AController, APlayerController

// Whatever pawn the controller possesses: a player character, a spectator's
// pawn, or none. Read it as a player character only through
// host::PlayerCharacterOf, which checks its class.
inline constinit host::Field<APawn*> kControllerPawn{"AController.Pawn"};
inline constinit host::Field<UShooterCheatManager*> kPlayerControllerCheatManager{"APlayerController.CheatManager"};

// --- APrimalPlayerController

// Hooked. FBPNetExecParams (larger than 8 bytes) is passed by value: the
// address of the caller's copy.
inline constinit host::Function<void(APrimalPlayerController*, AActor*, FName, FBPNetExecParams*)>
    kServerProcessNetExecCommand{
        "APrimalPlayerController.ServerProcessNetExecCommand_Implementation(AActor*,FName,FBPNetExecParams)"};

// --- AShooterPlayerController

// A plain byte in the game, not a bit field.
inline constinit host::Field<uint8> kPlayerControllerIsTransferringCharacter{
    "AShooterPlayerController.bIsTransferringCharacter"};

// The game's numeric id of the player (API 2.03, Actor.h).
inline constinit host::Field<int64> kPlayerControllerLinkedPlayerID{"AShooterPlayerController.LinkedPlayerID"};

// The character's name for a controller that possesses no character, as the
// framework's own GetCharacterName helper reads it (API 2.03, Actor.h and
// ArkApiUtils.h). Only the journal asks for it.
inline constinit host::Function<FString*(AShooterPlayerController*, FString*)> kPlayerControllerGetPlayerCharacterName{
    "AShooterPlayerController.GetPlayerCharacterName()"};

inline constinit host::Function<bool(AShooterPlayerController*)> kViewingAnUploadTerminal{
    "AShooterPlayerController.ViewingAnUploadTerminal()"};

// Hooked.
inline constinit host::Function<void(AShooterPlayerController*)> kShowTransferCharacterConfirmationDialog{
    "AShooterPlayerController.ShowTransferCharacterConfirmationDialog()"};
inline constinit host::Function<void(AShooterPlayerController*, bool)> kServerTransferredPlayerConfirmationResult{
    "AShooterPlayerController.ServerTransferredPlayerConfirmationResult_Implementation(bool)"};
inline constinit host::Function<void(AShooterPlayerController*, UPrimalInventoryComponent*, int)>
    kServerUploadCurrentCharacterAndItems{
        "AShooterPlayerController.ServerUploadCurrentCharacterAndItems_Implementation(UPrimalInventoryComponent*,int)"};
inline constinit host::Function<void(AShooterPlayerController*)> kTryToForceUploadCharacter{
    "AShooterPlayerController.TryToForceUploadCharacter_Implementation()"};
inline constinit host::Function<void(AShooterPlayerController*)> kServerDropAllNotReadyForUploadItems{
    "AShooterPlayerController.ServerDropAllNotReadyForUploadItems_Implementation()"};
// Hooked. FItemNetID is 8 bytes: by value.
inline constinit host::Function<void(AShooterPlayerController*, UPrimalInventoryComponent*, FItemNetID, int)>
    kServerRequestInventoryUseItem{
        "AShooterPlayerController.ServerRequestInventoryUseItem_Implementation(UPrimalInventoryComponent*,FItemNetID,"
        "int)"};
inline constinit host::Function<void(AShooterPlayerController*, AActor*, UPrimalInventoryComponent*, FItemNetID, int)>
    kServerRequestInventoryUseItemWithActor{
        "AShooterPlayerController.ServerRequestInventoryUseItemWithActor_Implementation(AActor*,"
        "UPrimalInventoryComponent*,FItemNetID,int)"};

// --- UShooterCheatManager

inline constinit host::Function<void(UShooterCheatManager*, FName*, bool)> kCheatForceGiveBuff{
    "UShooterCheatManager.ForceGiveBuff(FName&,bool)"};

// --- AShooterGameMode

inline constinit host::Field<MulticastScriptDelegate> kGameModeOnTryUnCryoDino{"AShooterGameMode.OnTryUnCryoDino"};
inline constinit host::Field<MulticastScriptDelegate> kGameModeOnPostUnCryoDino{"AShooterGameMode.OnPostUnCryoDino"};

// Hooked.
inline constinit host::Function<void(AShooterGameMode*, bool, AShooterPlayerController*)>
    kHandleTransferCharacterDialogResult{
        "AShooterGameMode.HandleTransferCharacterDialogResult(bool,AShooterPlayerController*)"};

// --- TMulticastScriptDelegate

// Hooked: every broadcast of the game; the delegate, then its parameter block.
inline constinit host::Function<void(void*, void*)> kProcessMulticastDelegate{
    "TMulticastScriptDelegate<FNotThreadSafeDelegateMode>.ProcessMulticastDelegate<UObject>(void*)"};

// The parameter block of an OnTryUnCryoDino broadcast.
inline constexpr host::Param<AShooterPlayerController*> kTryUnCryoController{0};
inline constexpr host::Param<bool> kTryUnCryoBeforeSpawn{32};
inline constexpr host::Param<UPrimalItem*> kTryUnCryoItem{40};
inline constexpr host::Param<bool> kTryUnCryoSuccess{48};

// The parameter block of an OnPostUnCryoDino broadcast.
inline constexpr host::Param<AShooterPlayerController*> kPostUnCryoController{0};
inline constexpr host::Param<APrimalDinoCharacter*> kPostUnCryoCreature{8};
inline constexpr host::Param<UPrimalItem*> kPostUnCryoEmptiedItem{16};

// --- APrimalPawn

// Declared on APrimalPawn; the plugin asks it of player characters.
inline constinit host::Function<AController*(APrimalCharacter*)> kPawnGetOwnerController{
    "APrimalPawn.GetOwnerController()"};

// --- APrimalCharacter

inline constinit host::Field<TWeakObjectPtr<APrimalDinoCharacter>> kCharacterMountedDino{
    "APrimalCharacter.MountedDino"};
inline constinit host::Field<TWeakObjectPtr<APrimalDinoCharacter>> kCharacterCarryingDino{
    "APrimalCharacter.CarryingDino"};
inline constinit host::Field<TWeakObjectPtr<APrimalDinoCharacter>> kCharacterPreviousMountedDino{
    "APrimalCharacter.PreviousMountedDino"};
inline constinit host::Field<TWeakObjectPtr<APrimalDinoCharacter>> kCharacterPreviousSecondaryMountedDino{
    "APrimalCharacter.PreviousSecondaryMountedDino"};
inline constinit host::Field<UPrimalInventoryComponent*> kCharacterInventory{"APrimalCharacter.MyInventoryComponent"};
inline constinit host::Field<TArray<APrimalBuff*>> kCharacterBuffs{"APrimalCharacter.Buffs"};

// Hooked, and called by the plugin to empty the mounted slot. Builds of the
// framework's 2.03 era have the one-flag form instead, whose flag is not the
// secondary flag: it empties the primary mounted slot.
inline constexpr host::OtherName kClearMountedDinoNames[] = {
    host::FunctionName<void(APrimalCharacter*, bool)>::Of(
        "APrimalCharacter.ClearMountedDino(bool)", "API 2.03 era",
        "AsaApi tag 2.03, API/ARK/Actor.h 5747; FUNCTION MISSING in header_cleanup 7bc96c2 (92.23)"),
};
inline constinit host::Function<void(APrimalCharacter*, bool, bool)> kCharacterClearMountedDino{
    "APrimalCharacter.ClearMountedDino(bool,bool)", kClearMountedDinoNames};
// Builds that dropped it still have the player character's own override,
// with the same parameters; the pawn is always a player character.
inline constexpr host::OtherName kClearCarryingDinoNames[] = {
    host::FunctionName<void(AShooterCharacter*, bool, bool)>::Of(
        "AShooterCharacter.ClearCarryingDino(bool,bool)", "API 2.03 era, 92.23, 92.28",
        "AsaApi tag 2.03, API/ARK/Actor.h 6583; header_cleanup 7bc96c2 and 111d664, Actor.h 7574 and 7576"),
};
inline constinit host::Function<void(APrimalCharacter*, bool, bool)> kCharacterClearCarryingDino{
    "APrimalCharacter.ClearCarryingDino(bool,bool)", kClearCarryingDinoNames};
inline constinit host::Function<bool(APrimalCharacter*)> kCharacterHasCryoSickness{
    "APrimalCharacter.HasCryoSickness()"};
inline constinit host::Function<bool(APrimalCharacter*, TSubclassOf<APrimalBuff>*, bool)> kCharacterHasBuff{
    "APrimalCharacter.HasBuff(TSubclassOf<APrimalBuff>,bool)"};
inline constinit host::Function<void(APrimalCharacter*, TSubclassOf<APrimalBuff>*, UPrimalItem*, bool)>
    kCharacterDeactivateBuffs{
    "APrimalCharacter.DeactivateBuffs(TSubclassOf<APrimalBuff>,UPrimalItem*,bool)"};

// --- AShooterCharacter

inline constinit host::Field<TWeakObjectPtr<APrimalDinoCharacter>> kShooterCharacterRidingDino{
    "AShooterCharacter.RidingDino"};
// The character's name (API 2.03, Actor.h).
inline constinit host::Field<FString> kShooterCharacterPlayerName{"AShooterCharacter.PlayerName"};

// Static.
inline constexpr host::OtherName kShooterCharacterStaticClassNames[] = {
    host::FunctionName<UClass*()>::Of(
        "AShooterCharacter.StaticClass()", "API 2.03 era, 92.23, 92.28",
        "AsaApi tag 2.03, API/ARK/Actor.h 6448; header_cleanup 7bc96c2 and 111d664, Actor.h 7401 and 7403"),
};
inline constinit host::Function<UClass*()> kShooterCharacterStaticClass{"AShooterCharacter.GetPrivateStaticClass()",
                                                                       kShooterCharacterStaticClassNames};
inline constinit host::Function<APrimalDinoCharacter*(AShooterCharacter*)> kShooterCharacterGetRidingDino{
    "AShooterCharacter.GetRidingDino()"};
inline constinit host::Function<AActor*(AShooterCharacter*)> kShooterCharacterGetSecondaryMountedActor{
    "AShooterCharacter.GetSecondaryMountedActor()"};
// Hooked: a player character's own carried-slot clearing.
inline constinit host::Function<void(AShooterCharacter*, bool, bool)> kShooterCharacterClearCarryingDino{
    "AShooterCharacter.ClearCarryingDino(bool,bool)"};

// --- APrimalDinoCharacter

inline constinit host::Field<int32> kDinoTamingTeamID{"APrimalDinoCharacter.TamingTeamID"};
// The creature's two-part id, which travels with it into a cryopod and
// through a transfer (API 2.03, Actor.h).
inline constinit host::Field<uint32> kDinoID1{"APrimalDinoCharacter.DinoID1"};
inline constinit host::Field<uint32> kDinoID2{"APrimalDinoCharacter.DinoID2"};

// Static.
inline constinit host::Function<UClass*()> kDinoStaticClass{"APrimalDinoCharacter.GetPrivateStaticClass()"};
// Both return FString by value: the result pointer follows the object.
inline constinit host::Function<FString*(APrimalDinoCharacter*, FString*, APlayerController*)> kDinoGetCurrentDinoName{
    "APrimalDinoCharacter.GetCurrentDinoName(APlayerController*)"};
inline constinit host::Function<FString*(APrimalDinoCharacter*, FString*, bool, bool)> kDinoGetDinoDescriptiveName{
    "APrimalDinoCharacter.GetDinoDescriptiveName(bool,bool)"};
inline constinit host::Function<bool(APrimalDinoCharacter*, bool, bool)> kDinoDestroy{
    "APrimalDinoCharacter.Destroy(bool,bool)"};

// --- APrimalBuff

inline constinit host::BitFlag kBuffCausesCryoSickness{"APrimalBuff.bCausesCryoSickness"};
inline constinit host::Function<void(APrimalBuff*)> kBuffDeactivate{"APrimalBuff.Deactivate()"};

// --- UPrimalItem

inline constinit host::Field<FItemNetID> kItemID{"UPrimalItem.ItemID"};
inline constinit host::Field<TArray<FCustomItemData>> kItemCustomItemDatas{"UPrimalItem.CustomItemDatas"};
inline constinit host::Field<TWeakObjectPtr<UPrimalInventoryComponent>> kItemOwnerInventory{
    "UPrimalItem.OwnerInventory"};
inline constinit host::Field<double> kItemUploadEarliestValidTime{"UPrimalItem.UploadEarliestValidTime"};

// Static. Both TSubclassOf<UPrimalItem> parameters travel as the address of
// the caller's copy.
inline constinit host::Function<UPrimalItem*(TSubclassOf<UPrimalItem>*, UPrimalInventoryComponent*, bool, bool, float,
                                             bool, int, bool, float, bool, TSubclassOf<UPrimalItem>*, float, bool, bool,
                                             bool, bool, bool, bool, UWorld*)>
    kItemAddNewItem{
        "UPrimalItem.AddNewItem(TSubclassOf<UPrimalItem>,UPrimalInventoryComponent*,bool,bool,float,bool,int,bool,"
        "float,bool,TSubclassOf<UPrimalItem>,float,bool,bool,bool,bool,bool,bool,UWorld*)"};
inline constinit host::Function<void(UPrimalItem*, FCustomItemData*)> kItemSetCustomItemData{
    "UPrimalItem.SetCustomItemData(FCustomItemData&)"};
inline constinit host::Function<void(UPrimalItem*, bool, bool)> kItemUpdatedItem{"UPrimalItem.UpdatedItem(bool,bool)"};
inline constinit host::Function<float(UPrimalItem*, UWorld*)> kItemGetTimeUntilUploadAllowed{
    "UPrimalItem.GetTimeUntilUploadAllowed(UWorld*)"};
inline constinit host::Function<bool(UPrimalItem*, UWorld*)> kItemIsReadyToUpload{
    "UPrimalItem.IsReadyToUpload(UWorld*)"};
inline constinit host::Function<void(UPrimalItem*)> kItemInventoryRefreshCheckItem{
    "UPrimalItem.InventoryRefreshCheckItem()"};
inline constinit host::Function<void(UPrimalItem*, UPrimalInventoryComponent*, bool, bool, FItemNetID*, bool, bool,
                                     bool, bool, bool, bool)>
    kItemAddToInventory{
        "UPrimalItem.AddToInventory(UPrimalInventoryComponent*,bool,bool,FItemNetID*,bool,bool,bool,bool,bool,bool)"};
inline constinit host::Function<void(UPrimalItem*, bool, bool)> kItemRemoveFromSlot{
    "UPrimalItem.RemoveFromSlot(bool,bool)"};

// --- UPrimalInventoryComponent

inline constinit host::Field<TArray<UPrimalItem*>> kInventoryItems{"UPrimalInventoryComponent.InventoryItems"};
inline constinit host::Field<TArray<UPrimalItem*>> kInventoryItemSlots{"UPrimalInventoryComponent.ItemSlots"};
inline constinit host::Field<TArray<UPrimalItem*>> kInventoryTributeItems{"UPrimalInventoryComponent.ArkTributeItems"};
inline constinit host::BitFlag kInventoryCanInventoryItems{"UPrimalInventoryComponent.bCanInventoryItems"};

inline constinit host::Function<UPrimalItem*(UPrimalInventoryComponent*, UPrimalItem*)> kInventoryAddItemObject{
    "UPrimalInventoryComponent.AddItemObject(UPrimalItem*)"};
inline constinit host::Function<UPrimalItem*(UPrimalInventoryComponent*, UPrimalItem*, bool, bool, bool, bool, bool,
                                             bool, AShooterCharacter*, bool, UPrimalItem*, bool)>
    kInventoryAddItemObjectEx{
        "UPrimalInventoryComponent.AddItemObjectEx(UPrimalItem*,bool,bool,bool,bool,bool,bool,AShooterCharacter*,bool,"
        "UPrimalItem*,bool)"};
inline constinit host::Function<void(UPrimalInventoryComponent*)> kInventoryRefresh{
    "UPrimalInventoryComponent.InventoryRefresh()"};
// The id is passed by reference.
inline constinit host::Function<bool(UPrimalInventoryComponent*, FItemNetID*, bool, bool, bool, bool)>
    kInventoryRemoveItem{"UPrimalInventoryComponent.RemoveItem(FItemNetID&,bool,bool,bool,bool)"};

// --- FCustomItemData and the records inside it

inline constinit host::Field<FName> kCustomDataName{"FCustomItemData.CustomDataName"};
inline constinit host::Field<TArray<FString>> kCustomDataStrings{"FCustomItemData.CustomDataStrings"};
inline constinit host::Field<TArray<float>> kCustomDataFloats{"FCustomItemData.CustomDataFloats"};
inline constinit host::Field<TArray<UObject*>> kCustomDataObjects{"FCustomItemData.CustomDataObjects"};
inline constinit host::Field<TArray<UClass*>> kCustomDataClasses{"FCustomItemData.CustomDataClasses"};
inline constinit host::Field<TArray<FName>> kCustomDataNames{"FCustomItemData.CustomDataNames"};
inline constinit host::Field<TArray<TSoftClassPtr<UObject>>> kCustomDataSoftClasses{
    "FCustomItemData.CustomDataSoftClasses"};
inline constinit host::Field<TArray<FPaintingKeyValue>> kCustomDataUniquePaintingIdMap{
    "FCustomItemData.UniquePaintingIdMap"};
inline constinit host::Field<TArray<FPaintingKeyValue>> kCustomDataPaintingRevisionMap{
    "FCustomItemData.PaintingRevisionMap"};
inline constinit host::Field<FCustomItemDoubles> kCustomDataDoubles{"FCustomItemData.CustomDataDoubles"};
inline constinit host::Field<FCustomItemByteArrays> kCustomDataBytes{"FCustomItemData.CustomDataBytes"};
inline constinit host::Field<TArray<double>> kCustomItemDoubles{"FCustomItemDoubles.Doubles"};
inline constinit host::Field<TArray<FCustomItemByteArray>> kCustomItemByteArrays{"FCustomItemByteArrays.ByteArrays"};
inline constinit host::Field<TArray<uint8>> kCustomItemBytes{"FCustomItemByteArray.Bytes"};
// The game's move assignment: the record's own buffers are released the
// game's way and the other record's move in, leaving it empty. Returns `this`.
inline constinit host::Function<FCustomItemData*(FCustomItemData*, FCustomItemData*)> kCustomItemDataMoveAssign{
    "FCustomItemData.operator=(FCustomItemData&&)"};

// --- RCONClientConnection

// Answers an RCON client: the packet's id, the response type (0), the text.
inline constinit host::Function<void(RCONClientConnection*, int32, int32, FString*)> kRconSendMessage{
    "RCONClientConnection.SendMessage(int,int,FString&)"};

}  // namespace ck::game
