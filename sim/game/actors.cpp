#include "sim/game/actors.h"

#include <cstring>

#include "sim/framework/framework.h"

namespace sim {

FVector Actor::Location() const {
  return RootComponent != nullptr ? RootComponent->ComponentToWorld.Translation : FVector{0, 0, 0};
}

void Actor::SetLocation(const FVector& at) {
  if (RootComponent != nullptr) RootComponent->ComponentToWorld.Translation = at;
}

World::~World() { FMemory::Free(PlayerControllerList.Data); }

Character::~Character() { FMemory::Free(Buffs.Data); }

SpectatorPawn::SpectatorPawn() { std::memset(own_members, kOwnMemberByte, sizeof own_members); }

}  // namespace sim
