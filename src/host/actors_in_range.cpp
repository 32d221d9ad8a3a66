#include "host/actors_in_range.h"

#include "host/framework.h"

namespace ck::host {

TArray<AActor*> ActorsInRange(const FVector& location, float radius, EServerOctreeGroup group) {
  // A static game function returning an array by value: the result's address
  // comes first; the location, a 24-byte record, travels by address.
  using Query = TArray<AActor*>* (*)(TArray<AActor*>* result, UObject* world_context, FVector* location,
                                     float radius, int32 group, bool force_distance_check);
  static constinit Query query = nullptr;
  if (query == nullptr) {
    query = reinterpret_cast<Query>(FunctionAddress(
        "UVictoryCore.ServerOctreeOverlapActors(UObject*,UE::Math::TVector<double>,float,"
        "EServerOctreeGroup::Type,bool)"));
  }
  TArray<AActor*> found{nullptr, 0, 0};
  FVector at = location;
  query(&found, reinterpret_cast<UObject*>(CurrentWorld()), &at, radius, static_cast<int32>(group), true);
  return found;
}

}  // namespace ck::host
