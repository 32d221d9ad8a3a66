// Actors near a location, from the game's own octree query.
// Game thread only: the engine allocator and the game's objects are not thread-safe.
#pragma once

#include "asa/engine_types.h"

namespace ck::host {

// Actors of `group` within `radius` of `location` in the current world
// (UVictoryCore.ServerOctreeOverlapActors, distance checked on the actors'
// locations). The caller owns the array and frees its storage with FreeArray.
TArray<AActor*> ActorsInRange(const FVector& location, float radius, EServerOctreeGroup group);

}  // namespace ck::host
