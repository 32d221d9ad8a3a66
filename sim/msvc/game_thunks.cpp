// The game's side of the binary interface, as the MSVC-built game has it,
// built by clang in MSVC mode so that the plugin is checked against clang's
// reading of MSVC's rules, not ours:
//
// - every game function that takes or returns a class by value, declared
//   with the engine's own types (a TSubclassOf holds a TObjectPtr whose copy
//   is written by hand, so it is never trivially copyable), served as MSVC
//   member and static functions, each forwarding to the simulated game's
//   function for its key with the plugin's explicit signature: a plugin that
//   passes a class handle in another form hands the game a wrong value;
// - the entry into every hooked function: the game calls the head of the
//   hook chain as an MSVC member function call, so detours are entered
//   exactly as the game enters them (a class passed by value arrives as the
//   address of a copy the caller made).
#define CK_DOUBLE_BUILDING
#include "bridge.h"
#include "framework_decls.h"
#include "../game/records.h"

struct UObject;
struct UPrimalInventoryComponent;
struct FName {
  int ComparisonIndex;
  int Number;
};
struct FItemNetID {
  unsigned ItemID1;
  unsigned ItemID2;
};
struct FBPNetExecParams {
  int IntParam1;
  int IntParam2;
  int IntParam3;
  float FloatParam1;
  float FloatParam2;
  float FloatParam3;
  UObject* ObjParam1;
  UObject* ObjParam2;
  UObject* ObjParam3;
  TArray<WIDECHAR> StringParam1;
};
struct FVector {
  double X;
  double Y;
  double Z;
};

struct UClass;
struct UFunction;
struct UPrimalItem;
struct APrimalBuff;

// The engine's object pointer: its copy is written by hand.
template <typename T>
struct TObjectPtr {
  T* Ptr = nullptr;
  TObjectPtr() = default;
  TObjectPtr(const TObjectPtr& other) : Ptr(other.Ptr) {}
  TObjectPtr& operator=(const TObjectPtr& other) {
    Ptr = other.Ptr;
    return *this;
  }
};

template <typename T>
struct TSubclassOf {
  TObjectPtr<UClass> Class;
};
static_assert(sizeof(TSubclassOf<UObject>) == 8);

using FCustomItemData = sim::rec::FCustomItemData;

struct UVictoryCore;
struct UGameplayStatics {
  static void GetAllActorsOfClass(const UObject* world_context, TSubclassOf<AActor> actor_class,
                                  TArray<AActor*>& out_actors);
};
struct UPrimalItem {
  static UPrimalItem* AddNewItem(TSubclassOf<UPrimalItem> item_archetype, UPrimalInventoryComponent* give_to_inventory,
                                 bool equip_item, bool dont_stack, float item_quality, bool force_no_blueprint,
                                 int quantity_override, bool force_blueprint, float max_item_difficulty_clamp,
                                 bool create_on_client, TSubclassOf<UPrimalItem> apply_item_skin,
                                 float min_random_quality, bool clamp_stats, bool bypass_weight_check,
                                 bool silent_bp_clamp, bool skip_add_to_inventory, bool dont_wrap_blueprint,
                                 bool refresh_inventory, UWorld* world);
};
struct UClassFunctions {
  UFunction* FindFunctionByName(FName name, int include_super);
};

struct UWorld {
  // Not hooked: called for the map's name, returned by value.
  FString GetMapName();
};

struct APrimalDinoCharacter {
  FString GetCurrentDinoName(APlayerController* for_player_controller);
  FString GetDinoDescriptiveName(bool ignore_artificial_levels, bool include_details);
};

// The hooked functions, as the game declares them.
struct AShooterPlayerController {
  void ShowTransferCharacterConfirmationDialog();
  void ServerTransferredPlayerConfirmationResult_Implementation(bool accepted);
  void ServerUploadCurrentCharacterAndItems_Implementation(UPrimalInventoryComponent* inventory, int flags);
  void TryToForceUploadCharacter_Implementation();
  void ServerDropAllNotReadyForUploadItems_Implementation();
  void ServerRequestInventoryUseItem_Implementation(UPrimalInventoryComponent* inventory, FItemNetID item_id,
                                                    int option);
  void ServerRequestInventoryUseItemWithActor_Implementation(AActor* actor, UPrimalInventoryComponent* inventory,
                                                             FItemNetID item_id, int option);
  // Not hooked: called for its name, returned by value.
  FString GetPlayerCharacterName();
};
struct AShooterGameMode {
  void HandleTransferCharacterDialogResult(bool accepted, AShooterPlayerController* controller);
};
struct APrimalPlayerController {
  void ServerProcessNetExecCommand_Implementation(AActor* actor, FName command, FBPNetExecParams params);
};
struct AShooterCharacter {
  void ClearCarryingDino(bool from_carrier, bool cancel_anim);
};
struct APrimalCharacter {
  // Two flags; no released declaration names them, so neither is named here.
  void ClearMountedDino(bool, bool);
  // The form the framework's 2.03 headers declare.
  void ClearMountedDino(bool fromMountedDino);
  bool HasBuff(TSubclassOf<APrimalBuff>& buff_class, bool use_actor_location);
  void DeactivateBuffs(TSubclassOf<APrimalBuff>& buff_class, UPrimalItem* matching_item, bool only_deactivate_once);
};
struct FMulticastScriptDelegate {
  void ProcessMulticastDelegate(void* parameters);
};

struct UVictoryCore {
  static TSubclassOf<UObject> StringReferenceToClass(FString& reference);
  static FCustomItemData GetCryoDinoData(UObject* world_context, APrimalDinoCharacter* dino);
  static TArray<AActor*> ServerOctreeOverlapActors(UObject* world_context, FVector at_location, float radius,
                                                   int octree_type, bool force_actor_location_distance_check);
};

namespace {

using DinoNameFn = FString* (*)(APrimalDinoCharacter*, FString*, APlayerController*);
using CharacterNameFn = FString* (*)(AShooterPlayerController*, FString*);
using MapNameFn = FString* (*)(UWorld*, FString*);
using DescriptiveNameFn = FString* (*)(APrimalDinoCharacter*, FString*, bool, bool);
using OverlapFn = TArray<AActor*>* (*)(TArray<AActor*>*, UObject*, FVector*, float, int, bool);

using StringReferenceFn = TSubclassOf<UObject>* (*)(TSubclassOf<UObject>*, FString*);
using CryoDataFn = FCustomItemData* (*)(FCustomItemData*, UObject*, APrimalDinoCharacter*);
using AllActorsFn = void (*)(const UObject*, TSubclassOf<AActor>*, TArray<AActor*>*);
using AddNewItemFn = UPrimalItem* (*)(TSubclassOf<UPrimalItem>*, UPrimalInventoryComponent*, bool, bool, float, bool,
                                      int, bool, float, bool, TSubclassOf<UPrimalItem>*, float, bool, bool, bool, bool,
                                      bool, bool, UWorld*);
using FindFunctionFn = UFunction* (*)(UClassFunctions*, FName, int);
using HasBuffFn = bool (*)(APrimalCharacter*, TSubclassOf<APrimalBuff>*, bool);
using DeactivateBuffsFn = void (*)(APrimalCharacter*, TSubclassOf<APrimalBuff>*, UPrimalItem*, bool);

StringReferenceFn g_string_reference = nullptr;
CryoDataFn g_cryo_data = nullptr;
AllActorsFn g_all_actors = nullptr;
AddNewItemFn g_add_new_item = nullptr;
FindFunctionFn g_find_function = nullptr;
HasBuffFn g_has_buff = nullptr;
DeactivateBuffsFn g_deactivate_buffs = nullptr;
DinoNameFn g_dino_name = nullptr;
CharacterNameFn g_character_name = nullptr;
MapNameFn g_map_name = nullptr;
DescriptiveNameFn g_descriptive_name = nullptr;
OverlapFn g_overlap = nullptr;

bool SameText(const char* a, const char* b) {
  while (*a != 0 && *a == *b) ++a, ++b;
  return *a == *b;
}

// The chain's head (a detour, or the game's own function) as a member
// function pointer of the hooked class.
template <typename Member>
Member AsMember(void* head) {
  static_assert(sizeof(Member) == sizeof(void*), "a single-inheritance member function pointer");
  Member member;
  __builtin_memcpy(&member, &head, sizeof(head));
  return member;
}

void EnterShowTransfer(void* head, AShooterPlayerController* self) {
  (self->*AsMember<decltype(&AShooterPlayerController::ShowTransferCharacterConfirmationDialog)>(head))();
}
void EnterConfirmation(void* head, AShooterPlayerController* self, bool accepted) {
  (self->*AsMember<decltype(&AShooterPlayerController::ServerTransferredPlayerConfirmationResult_Implementation)>(
              head))(accepted);
}
void EnterUpload(void* head, AShooterPlayerController* self, UPrimalInventoryComponent* inventory, int flags) {
  (self->*AsMember<decltype(&AShooterPlayerController::ServerUploadCurrentCharacterAndItems_Implementation)>(head))(
      inventory, flags);
}
void EnterForceUpload(void* head, AShooterPlayerController* self) {
  (self->*AsMember<decltype(&AShooterPlayerController::TryToForceUploadCharacter_Implementation)>(head))();
}
void EnterDropNotReady(void* head, AShooterPlayerController* self) {
  (self->*AsMember<decltype(&AShooterPlayerController::ServerDropAllNotReadyForUploadItems_Implementation)>(head))();
}
void EnterUseItem(void* head, AShooterPlayerController* self, UPrimalInventoryComponent* inventory, FItemNetID id,
                  int option) {
  (self->*AsMember<decltype(&AShooterPlayerController::ServerRequestInventoryUseItem_Implementation)>(head))(
      inventory, id, option);
}
void EnterUseItemWithActor(void* head, AShooterPlayerController* self, AActor* actor,
                           UPrimalInventoryComponent* inventory, FItemNetID id, int option) {
  (self->*AsMember<decltype(&AShooterPlayerController::ServerRequestInventoryUseItemWithActor_Implementation)>(
              head))(actor, inventory, id, option);
}
void EnterDialogResult(void* head, AShooterGameMode* self, bool accepted, AShooterPlayerController* controller) {
  (self->*AsMember<decltype(&AShooterGameMode::HandleTransferCharacterDialogResult)>(head))(accepted, controller);
}
// The parameters travel by value: the caller copies them and passes the copy's address.
void EnterNetExec(void* head, APrimalPlayerController* self, AActor* actor, FName command,
                  const FBPNetExecParams* params) {
  (self->*AsMember<decltype(&APrimalPlayerController::ServerProcessNetExecCommand_Implementation)>(head))(
      actor, command, *params);
}
void EnterClearCarrying(void* head, AShooterCharacter* self, bool first, bool second) {
  (self->*AsMember<decltype(&AShooterCharacter::ClearCarryingDino)>(head))(first, second);
}
void EnterClearMounted(void* head, APrimalCharacter* self, bool first, bool second) {
  (self->*AsMember<void (APrimalCharacter::*)(bool, bool)>(head))(first, second);
}
void EnterClearMountedOneFlag(void* head, APrimalCharacter* self, bool from_mounted_dino) {
  (self->*AsMember<void (APrimalCharacter::*)(bool)>(head))(from_mounted_dino);
}
void EnterMulticast(void* head, FMulticastScriptDelegate* self, void* parameters) {
  (self->*AsMember<decltype(&FMulticastScriptDelegate::ProcessMulticastDelegate)>(head))(parameters);
}

struct HookEntry {
  const char* key;
  void* enter;
};

const HookEntry kHookEntries[] = {
    {"AShooterPlayerController.ShowTransferCharacterConfirmationDialog()", reinterpret_cast<void*>(&EnterShowTransfer)},
    {"AShooterGameMode.HandleTransferCharacterDialogResult(bool,AShooterPlayerController*)",
     reinterpret_cast<void*>(&EnterDialogResult)},
    {"AShooterPlayerController.ServerTransferredPlayerConfirmationResult_Implementation(bool)",
     reinterpret_cast<void*>(&EnterConfirmation)},
    {"AShooterPlayerController.ServerUploadCurrentCharacterAndItems_Implementation(UPrimalInventoryComponent*,int)",
     reinterpret_cast<void*>(&EnterUpload)},
    {"AShooterPlayerController.TryToForceUploadCharacter_Implementation()", reinterpret_cast<void*>(&EnterForceUpload)},
    {"AShooterPlayerController.ServerDropAllNotReadyForUploadItems_Implementation()",
     reinterpret_cast<void*>(&EnterDropNotReady)},
    {"APrimalPlayerController.ServerProcessNetExecCommand_Implementation(AActor*,FName,FBPNetExecParams)",
     reinterpret_cast<void*>(&EnterNetExec)},
    {"AShooterCharacter.ClearCarryingDino(bool,bool)", reinterpret_cast<void*>(&EnterClearCarrying)},
    {"APrimalCharacter.ClearMountedDino(bool,bool)", reinterpret_cast<void*>(&EnterClearMounted)},
    {"APrimalCharacter.ClearMountedDino(bool)", reinterpret_cast<void*>(&EnterClearMountedOneFlag)},
    {"AShooterPlayerController.ServerRequestInventoryUseItem_Implementation(UPrimalInventoryComponent*,FItemNetID,int)",
     reinterpret_cast<void*>(&EnterUseItem)},
    {"AShooterPlayerController.ServerRequestInventoryUseItemWithActor_Implementation(AActor*,"
     "UPrimalInventoryComponent*,FItemNetID,int)",
     reinterpret_cast<void*>(&EnterUseItemWithActor)},
    {"TMulticastScriptDelegate<FNotThreadSafeDelegateMode>.ProcessMulticastDelegate<UObject>(void*)",
     reinterpret_cast<void*>(&EnterMulticast)},
};

}  // namespace

extern "C" void* CkHookEntry(const char* key) {
  for (const HookEntry& entry : kHookEntries) {
    if (SameText(key, entry.key)) return entry.enter;
  }
  return nullptr;
}

// The callee constructs its result in memory the caller provides: it starts empty here.
FString APrimalDinoCharacter::GetCurrentDinoName(APlayerController* for_player_controller) {
  FString result;
  result.Data = TArray<WIDECHAR>{nullptr, 0, 0};
  g_dino_name(this, &result, for_player_controller);
  return result;
}

FString AShooterPlayerController::GetPlayerCharacterName() {
  FString result;
  result.Data = TArray<WIDECHAR>{nullptr, 0, 0};
  g_character_name(this, &result);
  return result;
}

FString UWorld::GetMapName() {
  FString result;
  result.Data = TArray<WIDECHAR>{nullptr, 0, 0};
  g_map_name(this, &result);
  return result;
}

FString APrimalDinoCharacter::GetDinoDescriptiveName(bool ignore_artificial_levels, bool include_details) {
  FString result;
  result.Data = TArray<WIDECHAR>{nullptr, 0, 0};
  g_descriptive_name(this, &result, ignore_artificial_levels, include_details);
  return result;
}

TArray<AActor*> UVictoryCore::ServerOctreeOverlapActors(UObject* world_context, FVector at_location, float radius,
                                                        int octree_type, bool force_actor_location_distance_check) {
  TArray<AActor*> result{nullptr, 0, 0};
  g_overlap(&result, world_context, &at_location, radius, octree_type, force_actor_location_distance_check);
  return result;
}

TSubclassOf<UObject> UVictoryCore::StringReferenceToClass(FString& reference) {
  TSubclassOf<UObject> result;
  g_string_reference(&result, &reference);
  return result;
}

// The game always hands back its record; one it could not fill is empty.
FCustomItemData UVictoryCore::GetCryoDinoData(UObject* world_context, APrimalDinoCharacter* dino) {
  FCustomItemData result{};
  g_cryo_data(&result, world_context, dino);
  return result;
}

void UGameplayStatics::GetAllActorsOfClass(const UObject* world_context, TSubclassOf<AActor> actor_class,
                                           TArray<AActor*>& out_actors) {
  g_all_actors(world_context, &actor_class, &out_actors);
}

UPrimalItem* UPrimalItem::AddNewItem(TSubclassOf<UPrimalItem> item_archetype,
                                     UPrimalInventoryComponent* give_to_inventory, bool equip_item, bool dont_stack,
                                     float item_quality, bool force_no_blueprint, int quantity_override,
                                     bool force_blueprint, float max_item_difficulty_clamp, bool create_on_client,
                                     TSubclassOf<UPrimalItem> apply_item_skin, float min_random_quality,
                                     bool clamp_stats, bool bypass_weight_check, bool silent_bp_clamp,
                                     bool skip_add_to_inventory, bool dont_wrap_blueprint, bool refresh_inventory,
                                     UWorld* world) {
  return g_add_new_item(&item_archetype, give_to_inventory, equip_item, dont_stack, item_quality, force_no_blueprint,
                        quantity_override, force_blueprint, max_item_difficulty_clamp, create_on_client,
                        &apply_item_skin, min_random_quality, clamp_stats, bypass_weight_check, silent_bp_clamp,
                        skip_add_to_inventory, dont_wrap_blueprint, refresh_inventory, world);
}

UFunction* UClassFunctions::FindFunctionByName(FName name, int include_super) {
  return g_find_function(this, name, include_super);
}

bool APrimalCharacter::HasBuff(TSubclassOf<APrimalBuff>& buff_class, bool use_actor_location) {
  return g_has_buff(this, &buff_class, use_actor_location);
}

void APrimalCharacter::DeactivateBuffs(TSubclassOf<APrimalBuff>& buff_class, UPrimalItem* matching_item,
                                       bool only_deactivate_once) {
  g_deactivate_buffs(this, &buff_class, matching_item, only_deactivate_once);
}

namespace {

template <typename Member>
void* MemberAddress(Member member) {
  return *reinterpret_cast<void**>(&member);
}

template <typename Fn>
void* Remember(Fn& slot, void* original, void* thunk) {
  slot = reinterpret_cast<Fn>(original);
  return thunk;
}

// The thunks for functions that take or return a class handle or a record.
void* ClassThunk(const char* key, void* original) {
  if (SameText(key, "UVictoryCore.StringReferenceToClass(FString&)")) {
    return Remember(g_string_reference, original, reinterpret_cast<void*>(&UVictoryCore::StringReferenceToClass));
  }
  if (SameText(key, "UVictoryCore.GetCryoDinoData(UObject*,APrimalDinoCharacter*)")) {
    return Remember(g_cryo_data, original, reinterpret_cast<void*>(&UVictoryCore::GetCryoDinoData));
  }
  if (SameText(key,
               "UGameplayStatics.GetAllActorsOfClass(UObject*,TSubclassOf<AActor>,TArray<AActor*,"
               "TSizedDefaultAllocator<32>>&)")) {
    return Remember(g_all_actors, original, reinterpret_cast<void*>(&UGameplayStatics::GetAllActorsOfClass));
  }
  if (SameText(key,
               "UPrimalItem.AddNewItem(TSubclassOf<UPrimalItem>,UPrimalInventoryComponent*,bool,bool,float,bool,int,"
               "bool,float,bool,TSubclassOf<UPrimalItem>,float,bool,bool,bool,bool,bool,bool,UWorld*)")) {
    return Remember(g_add_new_item, original, reinterpret_cast<void*>(&UPrimalItem::AddNewItem));
  }
  if (SameText(key, "UClass.FindFunctionByName(FName,EIncludeSuperFlag::Type)")) {
    return Remember(g_find_function, original, MemberAddress(&UClassFunctions::FindFunctionByName));
  }
  if (SameText(key, "APrimalCharacter.HasBuff(TSubclassOf<APrimalBuff>,bool)")) {
    return Remember(g_has_buff, original, MemberAddress(&APrimalCharacter::HasBuff));
  }
  if (SameText(key, "APrimalCharacter.DeactivateBuffs(TSubclassOf<APrimalBuff>,UPrimalItem*,bool)")) {
    return Remember(g_deactivate_buffs, original, MemberAddress(&APrimalCharacter::DeactivateBuffs));
  }
  return nullptr;
}

}  // namespace

// The thunk that serves `key`, remembering `original` (the simulated game's
// function) for it; null when the key needs none.
extern "C" void* CkGameThunk(const char* key, void* original) {
  if (void* thunk = ClassThunk(key, original)) return thunk;
  if (SameText(key, "APrimalDinoCharacter.GetCurrentDinoName(APlayerController*)")) {
    g_dino_name = reinterpret_cast<DinoNameFn>(original);
    auto member = &APrimalDinoCharacter::GetCurrentDinoName;
    return *reinterpret_cast<void**>(&member);
  }
  if (SameText(key, "AShooterPlayerController.GetPlayerCharacterName()")) {
    g_character_name = reinterpret_cast<CharacterNameFn>(original);
    auto member = &AShooterPlayerController::GetPlayerCharacterName;
    return *reinterpret_cast<void**>(&member);
  }
  if (SameText(key, "UWorld.GetMapName()")) {
    g_map_name = reinterpret_cast<MapNameFn>(original);
    auto member = &UWorld::GetMapName;
    return *reinterpret_cast<void**>(&member);
  }
  if (SameText(key, "APrimalDinoCharacter.GetDinoDescriptiveName(bool,bool)")) {
    g_descriptive_name = reinterpret_cast<DescriptiveNameFn>(original);
    auto member = &APrimalDinoCharacter::GetDinoDescriptiveName;
    return *reinterpret_cast<void**>(&member);
  }
  if (SameText(key,
               "UVictoryCore.ServerOctreeOverlapActors(UObject*,UE::Math::TVector<double>,float,"
               "EServerOctreeGroup::Type,bool)")) {
    g_overlap = reinterpret_cast<OverlapFn>(original);
    return reinterpret_cast<void*>(&UVictoryCore::ServerOctreeOverlapActors);
  }
  return nullptr;
}
