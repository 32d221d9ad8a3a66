#include "host/engine_memory.h"

#include "host/game_access.h"
#include "host/keys.h"

namespace ck::host {

void* EngineRealloc(void* original, uint64 count, uint32 alignment) {
  return GameFunction<void*(void*, uint64, uint32)>(keys::kRealloc)(original, count, alignment);
}

void EngineFree(void* block) {
  if (block == nullptr) return;
  GameFunction<void(void*)>(keys::kFree)(block);
}

}  // namespace ck::host
