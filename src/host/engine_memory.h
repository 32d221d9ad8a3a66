// The engine allocator, reached by its keys. Every engine buffer the plugin
// creates or frees goes through these.
// Game thread only: the engine allocator and the game's objects are not thread-safe.
#pragma once

#include "asa/engine_types.h"

namespace ck::host {

void* EngineRealloc(void* original, uint64 count, uint32 alignment);
// Frees engine storage; null is ignored.
void EngineFree(void* block);

}  // namespace ck::host
