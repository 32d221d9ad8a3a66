// The engine allocator (declared in host/framework/engine_allocator.h),
// answered by the catalogue's FMemory functions.
#include "host/framework/engine_allocator.h"

#include "host/game/catalogue.h"

namespace ck::host {

void* EngineRealloc(void* original, uint64 count, uint32 alignment) {
  return game::kMemoryRealloc(original, count, alignment);
}

void EngineFree(void* block) {
  if (block == nullptr) return;
  game::kMemoryFree(block);
}

}  // namespace ck::host
