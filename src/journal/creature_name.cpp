#include "journal/creature_name.h"

#include "core/boundary.h"
#include "core/text.h"
#include "host/engine/names.h"
#include "host/framework/engine_text.h"
#include "host/game/catalogue.h"
#include "state/plugin_state.h"

namespace ck::journal {

namespace {

// Runs a name lookup; a lookup that throws counts as an empty name.
template <typename Lookup>
std::string NameOrEmpty(Lookup lookup) {
  std::string name;
  if (!core::Contain([&] { name = lookup(); }, [](const char*) {})) name.clear();
  return name;
}

}  // namespace

std::string CompanionDisplayName(APrimalDinoCharacter* creature, AShooterPlayerController* controller) {
  if (creature == nullptr) return "shoulder pet";
  std::string name;
  // Without the name lookups (the game build lacks them) the class name serves.
  if (state::PartOn(host::Part::kCompanionNames)) name = NameOrEmpty([&] {
    host::EngineString result;
    game::kDinoGetCurrentDinoName(creature, result.get(), reinterpret_cast<APlayerController*>(controller));
    return host::FStringToUtf8(*result);
  });
  if (!name.empty()) return name;
  if (state::PartOn(host::Part::kCompanionNames)) name = NameOrEmpty([&] {
    host::EngineString result;
    game::kDinoGetDinoDescriptiveName(creature, result.get(), true, false);
    return host::FStringToUtf8(*result);
  });
  if (!name.empty()) return name;

  UClass* cls = host::ClassOf(reinterpret_cast<const UObject*>(creature));
  const std::string class_text = cls != nullptr ? host::ObjectName(reinterpret_cast<const UObject*>(cls)) : "";
  if (core::ContainsIgnoreCase(class_text, "ShoulderDragon") && core::ContainsIgnoreCase(class_text, "Autumn")) {
    return "Autumn Drakeling";
  }
  if (core::ContainsIgnoreCase(class_text, "ShoulderDragon")) return "Drakeling";
  if (core::ContainsIgnoreCase(class_text, "Axolotl_Small")) return "Tidepup";
  if (!class_text.empty()) return class_text;
  return "shoulder pet";
}

}  // namespace ck::journal
