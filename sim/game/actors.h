// The game's actors and the other objects the plugin touches.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "asa/engine_types.h"
#include "sim/game/objects.h"
#include "sim/game/records.h"

namespace sim {

class Inventory;

class SceneComponent : public Object {
 public:
  rec::FTransform ComponentToWorld{};  // the game's record (records.h)
};

class Actor : public Object {
 public:
  SceneComponent* RootComponent = nullptr;
  int32 TargetingTeam = 0;

  FWeakObjectPtr attach_parent{0, 0};  // the actor this one rides on, if any

  FVector Location() const;
  void SetLocation(const FVector& at);
};

class World : public Object {
 public:
  ~World() override;
  TArray<FWeakObjectPtr> PlayerControllerList{nullptr, 0, 0};
  std::string map_name;  // what UWorld.GetMapName() answers
};

// A multicast script delegate: its invocation list.
struct MulticastDelegate {
  TArray<void*> InvocationList{nullptr, 0, 0};
};

class GameMode : public Actor {
 public:
  MulticastDelegate OnTryUnCryoDino;
  MulticastDelegate OnPostUnCryoDino;
};

class PawnActor : public Actor {};

class Controller : public Actor {
 public:
  PawnActor* Pawn = nullptr;
};

class ShooterCheatManager : public Object {};

class PlayerController : public Controller {
 public:
  ShooterCheatManager* CheatManager = nullptr;
};

class ShooterPlayerController : public PlayerController {
 public:
  uint8 bIsTransferringCharacter = 0;
  int64 LinkedPlayerID = 0;  // the game's numeric id of the player
  bool viewing_upload_terminal = false;
  std::string player_id;

  // Controllers' memory. While reuse is on, the block of a freed controller
  // is kept and the next controller made takes it (the block freed last
  // first), as an engine allocator hands a freed block to the next object of
  // its size: a new controller then has the address of one destroyed before.
  static void* operator new(std::size_t size);
  static void operator delete(void* block, std::size_t size) noexcept;
  // Turns reuse on or off; turning it off frees the kept blocks.
  static void ReuseFreedMemory(bool on);
};

class Character : public PawnActor {
 public:
  ~Character() override;
  FWeakObjectPtr MountedDino{0, 0};
  FWeakObjectPtr CarryingDino{0, 0};
  FWeakObjectPtr PreviousMountedDino{0, 0};
  FWeakObjectPtr PreviousSecondaryMountedDino{0, 0};
  Inventory* MyInventoryComponent = nullptr;
  TArray<Object*> Buffs{nullptr, 0, 0};
  Controller* owner_controller = nullptr;
};

class ShooterCharacter : public Character {
 public:
  ~ShooterCharacter() override;
  FWeakObjectPtr RidingDino{0, 0};
  FWeakObjectPtr SecondaryMountedActor{0, 0};
  // The character's name: engine text the game owns (freed with the character).
  rec::FString PlayerName{{nullptr, 0, 0}};
};

// A pawn that is no character: a spectator's. Its own members lie where a
// character keeps its slots, inventory and buffs; read at a character's
// offsets they hold nothing a character holds (no address, no object).
class SpectatorPawn : public PawnActor {
 public:
  static constexpr uint8 kOwnMemberByte = 0xA5;
  SpectatorPawn();
  // Reaches past every offset of a player character's members.
  uint8 own_members[sizeof(ShooterCharacter)];
};

class DinoCharacter : public Character {
 public:
  int32 TamingTeamID = 0;
  uint32 DinoID1 = 0;  // the game's two-part creature id
  uint32 DinoID2 = 0;
  std::string creature_id;
  std::string current_name;
  std::string descriptive_name;
};

}  // namespace sim
