// Engine weak object pointers.
#pragma once

#include "asa/engine_types.h"

namespace ck::host {

// The object the weak pointer refers to, or null when it is empty or the
// object is gone (FWeakObjectPtr.Get() with its flag false). Null in, null out.
UObject* ResolveWeak(const FWeakObjectPtr* pointer);

// A weak pointer to the object (FWeakObjectPtr.operator=); empty for null.
FWeakObjectPtr MakeWeak(const void* object);

// The weak pointer stored in `object`'s field `key`, resolved.
template <typename T>
T* ResolveWeakField(const void* object, const char* key);

}  // namespace ck::host

#include "host/game_access.h"

namespace ck::host {

template <typename T>
T* ResolveWeakField(const void* object, const char* key) {
  return reinterpret_cast<T*>(ResolveWeak(FieldPtr<FWeakObjectPtr>(object, key)));
}

}  // namespace ck::host
