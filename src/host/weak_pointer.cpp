#include "host/weak_pointer.h"

#include "host/keys.h"

namespace ck::host {

UObject* ResolveWeak(const FWeakObjectPtr* pointer) {
  if (pointer == nullptr) return nullptr;
  return GameFunction<UObject*(const FWeakObjectPtr*, bool)>(keys::kWeakGet)(pointer, false);
}

}  // namespace ck::host
