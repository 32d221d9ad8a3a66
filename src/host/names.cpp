#include "host/names.h"

#include "host/engine_text.h"
#include "host/game_access.h"
#include "host/keys.h"

namespace ck::host {

FName MakeName(const char* text, EFindName mode) {
  FName name{0, 0};
  GameFunction<void(FName*, const char*, EFindName)>(keys::kNameConstruct)(&name, text, mode);
  return name;
}

std::string NameToUtf8(const FName& name) {
  static constinit FunctionKey<FString*(const FName*, FString*)> kToString(keys::kNameToString);
  EngineString text;
  kToString.Get()(&name, text.get());
  return FStringToUtf8(*text);
}

UClass* ClassOf(const UObject* object) { return ReadField<UClass*>(object, "UObjectBase.ClassPrivate"); }

std::string ObjectName(const UObject* object) {
  if (object == nullptr) return {};
  return NameToUtf8(ReadField<FName>(object, "UObjectBase.NamePrivate"));
}

}  // namespace ck::host
