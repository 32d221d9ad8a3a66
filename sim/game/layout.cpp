#include "sim/game/layout.h"

#include "sim/game/rcon.h"

#include <cstddef>

#include "sim/framework/game_functions.h"
#include "sim/game/actors.h"
#include "sim/game/game.h"
#include "sim/game/hooked_functions.h"
#include "sim/game/item_functions.h"
#include "sim/game/pawn_functions.h"
#include "sim/game/buffs.h"
#include "sim/game/names.h"

namespace sim {

namespace {

using simfw::GameFunction;

void RegisterFields() {
  auto& r = simfw::Fw().registry;
  r.AddField("UObjectBase.ClassPrivate", offsetof(Object, ClassPrivate));
  r.AddField("UObjectBase.NamePrivate", offsetof(Object, NamePrivate));
  r.AddField("UObjectBase.InternalIndex", offsetof(Object, InternalIndex));
  r.AddField("AActor.RootComponent", offsetof(Actor, RootComponent));
  r.AddField("UPrimalActor.TargetingTeam", offsetof(Actor, TargetingTeam));
  r.AddField("USceneComponent.ComponentToWorld", offsetof(SceneComponent, ComponentToWorld));
  r.AddField("UWorld.PlayerControllerList", offsetof(World, PlayerControllerList));
  r.AddField("AShooterGameMode.OnTryUnCryoDino", offsetof(GameMode, OnTryUnCryoDino));
  r.AddField("AShooterGameMode.OnPostUnCryoDino", offsetof(GameMode, OnPostUnCryoDino));
  r.AddField("AController.Pawn", offsetof(Controller, Pawn));
  r.AddField("APlayerController.CheatManager", offsetof(PlayerController, CheatManager));
  r.AddField("AShooterPlayerController.bIsTransferringCharacter",
             offsetof(ShooterPlayerController, bIsTransferringCharacter));
  r.AddField("APrimalCharacter.MountedDino", offsetof(Character, MountedDino));
  r.AddField("APrimalCharacter.CarryingDino", offsetof(Character, CarryingDino));
  r.AddField("APrimalCharacter.PreviousMountedDino", offsetof(Character, PreviousMountedDino));
  r.AddField("APrimalCharacter.PreviousSecondaryMountedDino", offsetof(Character, PreviousSecondaryMountedDino));
  r.AddField("APrimalCharacter.MyInventoryComponent", offsetof(Character, MyInventoryComponent));
  r.AddField("APrimalCharacter.Buffs", offsetof(Character, Buffs));
  r.AddField("AShooterCharacter.RidingDino", offsetof(ShooterCharacter, RidingDino));
  r.AddField("APrimalDinoCharacter.TamingTeamID", offsetof(DinoCharacter, TamingTeamID));
  // What a player and a creature are known by (API 2.03, API/ARK/Actor.h):
  // every known game build has these four under these names.
  r.AddField("AShooterPlayerController.LinkedPlayerID", offsetof(ShooterPlayerController, LinkedPlayerID));
  r.AddField("AShooterCharacter.PlayerName", offsetof(ShooterCharacter, PlayerName));
  r.AddField("APrimalDinoCharacter.DinoID1", offsetof(DinoCharacter, DinoID1));
  r.AddField("APrimalDinoCharacter.DinoID2", offsetof(DinoCharacter, DinoID2));
}

void RegisterEngineServices() {
  auto& r = simfw::Fw().registry;
  // The engine allocator is not fault-able: the real one never returns null
  // (it stops the process when memory runs out).
  r.AddFunction("FMemory.Malloc(unsigned__int64,unsignedint)",
                reinterpret_cast<void*>(static_cast<void* (*)(uint64, uint32)>(&FMemory::Malloc)));
  r.AddFunction("FMemory.Realloc(void*,unsigned__int64,unsignedint)",
                reinterpret_cast<void*>(static_cast<void* (*)(void*, uint64, uint32)>(&FMemory::Realloc)));
  r.AddFunction("FMemory.Free(void*)", reinterpret_cast<void*>(&FMemory::Free));
  GameFunction<"FName.FName(char*,EFindName)", &NameConstruct>::Register();
  GameFunction<"FName.ToString(FString&)", &NameToString>::Register();
  GameFunction<"FWeakObjectPtr.Get()", &WeakGet>::Register();
  GameFunction<"UStruct.IsChildOf(UStruct*)", &StructIsChildOf>::Register();
}

}  // namespace

void RegisterLayout() {
  RegisterFields();
  RegisterEngineServices();
  RegisterHookedFunctions();
  RegisterItemFunctions();
  RegisterPawnFunctions();
  RegisterBuffFunctions();
  RegisterRconFunctions();
}

}  // namespace sim
