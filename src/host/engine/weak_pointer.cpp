// Weak object pointers resolved and made through the engine's functions.
#include "host/engine/weak_pointer.h"

#include "host/game/catalogue.h"

namespace ck::host {

UObject* ResolveWeak(const FWeakObjectPtr* pointer) {
  if (pointer == nullptr) return nullptr;
  return game::kWeakGet(pointer, false);
}

FWeakObjectPtr MakeWeak(const void* object) {
  FWeakObjectPtr weak{0, 0};
  if (object == nullptr) return weak;
  game::kWeakAssign(&weak, static_cast<const UObject*>(object));
  return weak;
}

ObjectIdentity IdentityOf(const void* object) {
  const FWeakObjectPtr weak = MakeWeak(object);
  return (static_cast<ObjectIdentity>(static_cast<uint32>(weak.ObjectIndex)) << 32) |
         static_cast<uint32>(weak.ObjectSerialNumber);
}

}  // namespace ck::host
