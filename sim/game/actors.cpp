#include "sim/game/actors.h"

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

}  // namespace sim
