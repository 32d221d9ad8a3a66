#include "host/engine_memory.h"

#include "host/game.h"

namespace ck::host {

void* EngineRealloc(void* original, uint64 count, uint32 alignment) {
  return game::kMemoryRealloc(original, count, alignment);
}

void EngineFree(void* block) {
  if (block == nullptr) return;
  game::kMemoryFree(block);
}

}  // namespace ck::host
