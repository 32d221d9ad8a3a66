#include "sim/game/actors.h"

#include <cstring>
#include <new>
#include <vector>

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

ShooterCharacter::~ShooterCharacter() { FMemory::Free(PlayerName.Data.Data); }

namespace {

struct ControllerMemory {
  bool reuse = false;
  std::vector<void*> freed;
};

ControllerMemory& Memory() {
  static ControllerMemory memory;
  return memory;
}

}  // namespace

void* ShooterPlayerController::operator new(std::size_t size) {
  ControllerMemory& memory = Memory();
  if (memory.reuse && size == sizeof(ShooterPlayerController) && !memory.freed.empty()) {
    void* block = memory.freed.back();
    memory.freed.pop_back();
    return block;
  }
  return ::operator new(size);
}

void ShooterPlayerController::operator delete(void* block, std::size_t size) noexcept {
  ControllerMemory& memory = Memory();
  if (memory.reuse && size == sizeof(ShooterPlayerController) && block != nullptr) {
    memory.freed.push_back(block);
    return;
  }
  ::operator delete(block);
}

void ShooterPlayerController::ReuseFreedMemory(bool on) {
  ControllerMemory& memory = Memory();
  if (!on) {
    for (void* block : memory.freed) ::operator delete(block);
    memory.freed.clear();
  }
  memory.reuse = on;
}

SpectatorPawn::SpectatorPawn() { std::memset(own_members, kOwnMemberByte, sizeof own_members); }

}  // namespace sim
