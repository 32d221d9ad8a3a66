// Loading a class once from a blueprint path setting.
#pragma once

#include <string>

#include "asa/engine_types.h"

namespace ck::capture {

// The cached class, or, when the cache is empty, the class the game resolves
// for the path (the path widened byte by byte), stored in the cache — null
// included, so that the next use tries again. Logs nothing.
UClass* LoadCachedClass(UClass*& cache, const std::string& blueprint_path);

}  // namespace ck::capture
