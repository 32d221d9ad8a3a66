#include "sim/game/actors.h"

#include <cstring>

#include "sim/framework/framework.h"

namespace sim {

FVector Actor::Location() const {
  if (RootComponent == nullptr) return FVector{0, 0, 0};
  const double* t = RootComponent->ComponentToWorld.Translation.V;
  return FVector{t[0], t[1], t[2]};
}

void Actor::SetLocation(const FVector& at) {
  if (RootComponent == nullptr) return;
  RootComponent->ComponentToWorld.Translation = rec::FVectorRegister4Double{{at.X, at.Y, at.Z, 0.0}};
}

World::~World() { FMemory::Free(PlayerControllerList.Data); }

Character::~Character() { FMemory::Free(Buffs.Data); }

SpectatorPawn::SpectatorPawn() { std::memset(own_members, kOwnMemberByte, sizeof own_members); }

}  // namespace sim
