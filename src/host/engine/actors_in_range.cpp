// Actors near a location, through the game's server octree query.
#include "host/engine/actors_in_range.h"

#include "host/framework/framework.h"
#include "host/game/catalogue.h"

namespace ck::host {

TArray<AActor*> ActorsInRange(const FVector& location, float radius, EServerOctreeGroup group) {
  TArray<AActor*> found{nullptr, 0, 0};
  FVector at = location;
  game::kServerOctreeOverlapActors(&found, reinterpret_cast<UObject*>(CurrentWorld()), &at, radius,
                                   static_cast<int32>(group), true);
  return found;
}

}  // namespace ck::host
