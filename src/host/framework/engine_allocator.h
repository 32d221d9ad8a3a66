// The engine allocator. Every engine buffer the plugin creates or frees goes
// through these two.
//
// They are declared with the framework door because the door's own engine
// strings (engine_text.h) free their buffers here; they are written in the
// game room (host/game/engine_allocator.cpp), since the allocator is two
// game functions reached by their keys in the catalogue. Declared low and
// written higher, the way core's log facade is written by the logger.
// Game thread only: the engine allocator and the game's objects are not thread-safe.
#pragma once

#include "asa/engine_types.h"

namespace ck::host {

void* EngineRealloc(void* original, uint64 count, uint32 alignment);
// Frees engine storage; null is ignored.
void EngineFree(void* block);

}  // namespace ck::host
