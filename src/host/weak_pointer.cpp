#include "host/weak_pointer.h"

#include "host/game.h"

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

}  // namespace ck::host
