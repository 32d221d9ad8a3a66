// Game functions whose binary interface differs between MSVC and the plugin's
// own compiler, served the way the MSVC-built game serves them: member
// functions returning a class by value (the result's address after `this`),
// static functions returning one (the result's address first), classes
// passed by value (by the address of a copy). Built by clang in MSVC mode, so
// the plugin's calls are checked against clang's reading of those rules, not
// ours. Each thunk forwards to the simulated game's function for its key with
// the plugin's explicit signature.
#define CK_DOUBLE_BUILDING
#include "bridge.h"
#include "framework_decls.h"

struct UObject;
struct FVector {
  double X;
  double Y;
  double Z;
};

struct APrimalDinoCharacter {
  FString GetCurrentDinoName(APlayerController* for_player_controller);
  FString GetDinoDescriptiveName(bool ignore_artificial_levels, bool include_details);
};

struct UVictoryCore {
  static TArray<AActor*> ServerOctreeOverlapActors(UObject* world_context, FVector at_location, float radius,
                                                   int octree_type, bool force_actor_location_distance_check);
};

namespace {

using DinoNameFn = FString* (*)(APrimalDinoCharacter*, FString*, APlayerController*);
using DescriptiveNameFn = FString* (*)(APrimalDinoCharacter*, FString*, bool, bool);
using OverlapFn = TArray<AActor*>* (*)(TArray<AActor*>*, UObject*, FVector*, float, int, bool);

DinoNameFn g_dino_name = nullptr;
DescriptiveNameFn g_descriptive_name = nullptr;
OverlapFn g_overlap = nullptr;

bool SameText(const char* a, const char* b) {
  while (*a != 0 && *a == *b) ++a, ++b;
  return *a == *b;
}

}  // namespace

// The callee constructs its result in memory the caller provides: it starts empty here.
FString APrimalDinoCharacter::GetCurrentDinoName(APlayerController* for_player_controller) {
  FString result;
  result.Data = TArray<WIDECHAR>{nullptr, 0, 0};
  g_dino_name(this, &result, for_player_controller);
  return result;
}

FString APrimalDinoCharacter::GetDinoDescriptiveName(bool ignore_artificial_levels, bool include_details) {
  FString result;
  result.Data = TArray<WIDECHAR>{nullptr, 0, 0};
  g_descriptive_name(this, &result, ignore_artificial_levels, include_details);
  return result;
}

TArray<AActor*> UVictoryCore::ServerOctreeOverlapActors(UObject* world_context, FVector at_location, float radius,
                                                        int octree_type, bool force_actor_location_distance_check) {
  TArray<AActor*> result{nullptr, 0, 0};
  g_overlap(&result, world_context, &at_location, radius, octree_type, force_actor_location_distance_check);
  return result;
}

// The thunk that serves `key`, remembering `original` (the simulated game's
// function) for it; null when the key needs none.
extern "C" void* CkGameThunk(const char* key, void* original) {
  if (SameText(key, "APrimalDinoCharacter.GetCurrentDinoName(APlayerController*)")) {
    g_dino_name = reinterpret_cast<DinoNameFn>(original);
    auto member = &APrimalDinoCharacter::GetCurrentDinoName;
    return *reinterpret_cast<void**>(&member);
  }
  if (SameText(key, "APrimalDinoCharacter.GetDinoDescriptiveName(bool,bool)")) {
    g_descriptive_name = reinterpret_cast<DescriptiveNameFn>(original);
    auto member = &APrimalDinoCharacter::GetDinoDescriptiveName;
    return *reinterpret_cast<void**>(&member);
  }
  if (SameText(key,
               "UVictoryCore.ServerOctreeOverlapActors(UObject*,UE::Math::TVector<double>,float,"
               "EServerOctreeGroup::Type,bool)")) {
    g_overlap = reinterpret_cast<OverlapFn>(original);
    return reinterpret_cast<void*>(&UVictoryCore::ServerOctreeOverlapActors);
  }
  return nullptr;
}
