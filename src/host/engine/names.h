// Engine names (FName), made and read through the engine's own functions.
// Game thread only: the engine allocator and the game's objects are not thread-safe.
#pragma once

#include <string>

#include "asa/engine_types.h"

namespace ck::host {

// The name for `text`: with FNAME_Find an existing name or the none name,
// with FNAME_Add a new entry when there is none.
FName MakeName(const char* text, EFindName mode);

// The name's text as UTF-8.
std::string NameToUtf8(const FName& name);

// The object's own name and its class's name, as UTF-8; "" for null.
std::string ObjectName(const UObject* object);
UClass* ClassOf(const UObject* object);

}  // namespace ck::host
