// Engine names made and read through the engine's own FName functions.
#include "host/engine/names.h"

#include "host/framework/engine_text.h"
#include "host/game/catalogue.h"

namespace ck::host {

FName MakeName(const char* text, EFindName mode) {
  FName name{0, 0};
  game::kNameConstruct(&name, text, mode);
  return name;
}

std::string NameToUtf8(const FName& name) {
  EngineString text;
  game::kNameToString(&name, text.get());
  return FStringToUtf8(*text);
}

UClass* ClassOf(const UObject* object) { return game::kObjectClass.Read(object); }

std::string ObjectName(const UObject* object) {
  if (object == nullptr) return {};
  return NameToUtf8(game::kObjectName.Read(object));
}

}  // namespace ck::host
