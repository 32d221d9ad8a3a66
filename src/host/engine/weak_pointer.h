// Engine weak object pointers.
// Game thread only: the engine allocator and the game's objects are not thread-safe.
#pragma once

#include "asa/engine_types.h"

namespace ck::host {

// The object the weak pointer refers to, or null when it is empty or the
// object is gone (FWeakObjectPtr.Get() with its flag false). Null in, null out.
UObject* ResolveWeak(const FWeakObjectPtr* pointer);

// The same for a weak pointer known to refer to a T (asa/engine_types.h),
// which the engine lays out as an FWeakObjectPtr.
template <typename T>
T* ResolveWeak(const TWeakObjectPtr<T>* pointer) {
  static_assert(sizeof(TWeakObjectPtr<T>) == sizeof(FWeakObjectPtr));
  return reinterpret_cast<T*>(ResolveWeak(reinterpret_cast<const FWeakObjectPtr*>(pointer)));
}

// A weak pointer to the object (FWeakObjectPtr.operator=); empty for null.
FWeakObjectPtr MakeWeak(const void* object);

// An object's identity as weak pointers compare it, its index and serial
// number in one number: an object the engine makes later at the address of
// a destroyed one has another. For tables keyed by object that must never
// hand one object's entry to another. 0 for null.
using ObjectIdentity = uint64;
[[nodiscard]] ObjectIdentity IdentityOf(const void* object);

}  // namespace ck::host
