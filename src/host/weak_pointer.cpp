#include "host/weak_pointer.h"

#include "host/keys.h"

namespace ck::host {

UObject* ResolveWeak(const FWeakObjectPtr* pointer) {
  static constinit FunctionKey<UObject*(const FWeakObjectPtr*, bool)> kGet(keys::kWeakGet);
  if (pointer == nullptr) return nullptr;
  return kGet.Get()(pointer, false);
}

FWeakObjectPtr MakeWeak(const void* object) {
  FWeakObjectPtr weak{0, 0};
  if (object == nullptr) return weak;
  GameFunction<void(FWeakObjectPtr*, const void*)>("FWeakObjectPtr.operator=(UObject*)")(&weak, object);
  return weak;
}

}  // namespace ck::host
