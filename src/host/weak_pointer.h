// Engine weak object pointers.
// Game thread only: the engine allocator and the game's objects are not thread-safe.
#pragma once

#include "asa/engine_types.h"

namespace ck::host {

// A weak pointer known to refer to a T: the engine's TWeakObjectPtr<T>,
// laid out exactly as FWeakObjectPtr.
template <typename T>
struct TWeakObjectPtr {
  FWeakObjectPtr weak;
};

// The object the weak pointer refers to, or null when it is empty or the
// object is gone (FWeakObjectPtr.Get() with its flag false). Null in, null out.
UObject* ResolveWeak(const FWeakObjectPtr* pointer);

template <typename T>
T* ResolveWeak(const TWeakObjectPtr<T>* pointer) {
  return reinterpret_cast<T*>(ResolveWeak(pointer != nullptr ? &pointer->weak : nullptr));
}

// A weak pointer to the object (FWeakObjectPtr.operator=); empty for null.
FWeakObjectPtr MakeWeak(const void* object);

}  // namespace ck::host
