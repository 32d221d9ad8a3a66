#include "sim/game/pawn_functions.h"

#include "sim/framework/engine_text.h"
#include "sim/framework/game_functions.h"
#include "sim/game/game.h"

namespace sim {

namespace {

using simfw::GameFunction;

DinoCharacter* GetRidingDino(ShooterCharacter* pawn) {
  if (pawn == nullptr) return nullptr;
  return dynamic_cast<DinoCharacter*>(Objects().Resolve(pawn->RidingDino, false));
}

Actor* GetSecondaryMountedActor(ShooterCharacter* pawn) {
  if (pawn == nullptr) return nullptr;
  return dynamic_cast<Actor*>(Objects().Resolve(pawn->SecondaryMountedActor, false));
}

Class* DinoStaticClass() { return Game::Current()->ClassNamed("PrimalDinoCharacter"); }
Class* ShooterStaticClass() { return Game::Current()->ClassNamed("ShooterCharacter"); }

Controller* GetOwnerController(Character* pawn) {
  if (pawn == nullptr || pawn->owner_controller == nullptr || !Objects().IsLive(pawn->owner_controller)) return nullptr;
  return pawn->owner_controller;
}

bool ViewingAnUploadTerminal(ShooterPlayerController* pc) { return pc != nullptr && pc->viewing_upload_terminal; }

// The character's name of the controller's player (the game keeps it with
// the player's profile, so it answers without a pawn too).
FString* GetPlayerCharacterName(ShooterPlayerController* pc, FString* result) {
  if (result == nullptr) return nullptr;
  const Player* player = pc != nullptr ? Game::Current()->PlayerOf(pc) : nullptr;
  *result = simfw::FromUtf8(player != nullptr ? player->name : std::string());
  return result;
}

// The map the world was made for ("TheIsland_WP"), as engine text the
// caller frees.
FString* GetMapName(World* world, FString* result) {
  if (result == nullptr) return nullptr;
  *result = simfw::FromUtf8(world != nullptr ? world->map_name : std::string());
  return result;
}

// The game's octree query: a static function returning an array by value,
// so the caller passes the result first; the location travels by address.
TArray<AActor*>* ServerOctreeOverlapActors(TArray<AActor*>* result, Object* /*world_context*/, FVector* at,
                                           float radius, int32 group, bool /*force_distance_check*/) {
  *result = Game::Current()->ActorsInRange(*at, radius, static_cast<EServerOctreeGroup>(group));
  return result;
}

Actor* GetAttachParentActor(Actor* actor) {
  if (actor == nullptr) return nullptr;
  return dynamic_cast<Actor*>(Objects().Resolve(actor->attach_parent, false));
}

}  // namespace

void RegisterPawnFunctions() {
  GameFunction<"AShooterCharacter.GetRidingDino()", &GetRidingDino>::Register();
  GameFunction<"AShooterCharacter.GetSecondaryMountedActor()", &GetSecondaryMountedActor>::Register();
  GameFunction<"APrimalDinoCharacter.GetPrivateStaticClass()", &DinoStaticClass>::Register();
  GameFunction<"AShooterCharacter.GetPrivateStaticClass()", &ShooterStaticClass>::Register();
  // The name builds of the framework's 2.03 era give the same function.
  GameFunction<"AShooterCharacter.StaticClass()", &ShooterStaticClass>::Register();
  GameFunction<"APrimalPawn.GetOwnerController()", &GetOwnerController>::Register();
  GameFunction<"AShooterPlayerController.ViewingAnUploadTerminal()", &ViewingAnUploadTerminal>::Register();
  GameFunction<"AShooterPlayerController.GetPlayerCharacterName()", &GetPlayerCharacterName>::Register();
  GameFunction<"UWorld.GetMapName()", &GetMapName>::Register();
  GameFunction<"AActor.GetAttachParentActor()", &GetAttachParentActor>::Register();
  GameFunction<"UVictoryCore.ServerOctreeOverlapActors(UObject*,UE::Math::TVector<double>,float,"
               "EServerOctreeGroup::Type,bool)",
               &ServerOctreeOverlapActors>::Register();
}

}  // namespace sim
