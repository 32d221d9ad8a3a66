// The game's side of the binary interface, as the MSVC-built game has it,
// built by clang in MSVC mode so that the plugin is checked against clang's
// reading of MSVC's rules, not ours:
//
// - game functions returning a class by value, served as MSVC member and
//   static functions (the result's address after `this`, or first), each
//   forwarding to the simulated game's function for its key with the
//   plugin's explicit signature;
// - the entry into every hooked function: the game calls the head of the
//   hook chain as an MSVC member function call, so detours are entered
//   exactly as the game enters them (a class passed by value arrives as the
//   address of a copy the caller made).
#define CK_DOUBLE_BUILDING
#include "bridge.h"
#include "framework_decls.h"

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
  void ClearMountedDino(bool for_death, bool secondary);
};
struct FMulticastScriptDelegate {
  void ProcessMulticastDelegate(void* parameters);
};

struct UVictoryCore {
  static TArray<AActor*> ServerOctreeOverlapActors(UObject* world_context, FVector at_location, float radius,
                                                   int octree_type, bool force_actor_location_distance_check);
};

namespace {

using DinoNameFn = FString* (*)(APrimalDinoCharacter*, FString*, APlayerController*);
using DescriptiveNameFn = FString* (*)(APrimalDinoCharacter*, FString*, bool, bool);
using OverlapFn = TArray<AActor*>* (*)(TArray<AActor*>*, UObject*, FVector*, float, int, bool);

DinoNameFn g_dino_name = nullptr;
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
  (self->*AsMember<decltype(&APrimalCharacter::ClearMountedDino)>(head))(first, second);
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

// The thunk that serves `key`, remembering `original` (the simulated game's
// function) for it; null when the key needs none.
extern "C" void* CkGameThunk(const char* key, void* original) {
  if (SameText(key, "APrimalDinoCharacter.GetCurrentDinoName(APlayerController*)")) {
    g_dino_name = reinterpret_cast<DinoNameFn>(original);
    auto member = &APrimalDinoCharacter::GetCurrentDinoName;
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
