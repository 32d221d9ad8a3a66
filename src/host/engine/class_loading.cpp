// Classes loaded from blueprint paths, instance tests and a controller's
// pawn, through the catalogue's class functions.
#include "host/engine/class_loading.h"

#include "host/framework/engine_text.h"
#include "host/game/catalogue.h"
#include "host/engine/names.h"
#include "host/engine/weak_pointer.h"

namespace ck::host {

UClass* LoadCachedClass(FWeakObjectPtr& cache, const std::string& blueprint_path) {
  if (UObject* held = ResolveWeak(&cache)) return reinterpret_cast<UClass*>(held);
  host::EngineString path = host::MakeFString(WidenText(blueprint_path));
  TSubclassOf<UObject> loaded{nullptr};
  game::kStringReferenceToClass(&loaded, path.get());
  cache = MakeWeak(loaded.uClass);
  return loaded.uClass;
}

bool IsInstanceOf(const void* object, const Function<UClass*()>& static_class) {
  if (object == nullptr) return false;
  UClass* cls = ClassOf(static_cast<const UObject*>(object));
  if (cls == nullptr) return false;
  UClass* base = static_class();
  return game::kStructIsChildOf(cls, base);
}

AShooterCharacter* PlayerCharacterOf(const void* controller) {
  APawn* pawn = game::kControllerPawn.Read(controller);
  if (!IsInstanceOf(pawn, game::kShooterCharacterStaticClass)) return nullptr;
  return reinterpret_cast<AShooterCharacter*>(pawn);
}

AShooterCharacter* PlayerCharacterOf(const void* controller, UClass* player_character_class) {
  APawn* pawn = game::kControllerPawn.Read(controller);
  if (pawn == nullptr) return nullptr;
  UClass* cls = ClassOf(reinterpret_cast<const UObject*>(pawn));
  if (cls == nullptr || !game::kStructIsChildOf(cls, player_character_class)) return nullptr;
  return reinterpret_cast<AShooterCharacter*>(pawn);
}

}  // namespace ck::host
