#include "capture/capture_orchestration.h"

#include <optional>

#include "capture/notify_player.h"
#include "capture/shoulder_slot.h"
#include "capture/scs_capture.h"
#include "capture/text_helpers.h"
#include "capture/vanilla_capture.h"
#include "core/boundary.h"
#include "core/text.h"
#include "config/plugin_config.h"
#include "state/plugin_state.h"
#include "host/framework/engine_text.h"
#include "host/game/catalogue.h"
#include "host/game/parts.h"
#include "host/engine/names.h"
#include "core/log.h"

namespace ck::capture {

namespace {

constexpr std::string_view kPlaceholder = "{creature}";

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

std::string FormatCapturedMessage(const std::string& name) {
  std::string result = config::Current().Messages.Captured;
  std::size_t position = 0;
  bool replaced = false;
  while (result.size() >= kPlaceholder.size() && position <= result.size() - kPlaceholder.size()) {
    const std::size_t at = result.find(kPlaceholder, position);
    if (at == std::string::npos) break;
    result.replace(at, kPlaceholder.size(), name);
    position = at + name.size();
    replaced = true;
  }
  if (!replaced && !name.empty()) result += " (" + name + ")";
  return result;
}

// The part this capture needs that the game build lacks, if any. A slot the
// build cannot clear is no such part: the companion is podded and its slot
// left as it is (see ClearShoulderSlot).
std::optional<host::Part> MissingCapturePart() {
  using host::Part;
  const bool vanilla = config::IsVanillaCaptureMode();
  for (const Part part : {vanilla ? Part::kVanillaCapture : Part::kScsCapture, Part::kInsertion}) {
    if (!state::PartOn(part)) return part;
  }
  return std::nullopt;
}

bool CaptureAttachedCompanions(AShooterCharacter* pawn, AShooterPlayerController* controller,
                               const CompanionList& companions) {
  if (companions.empty()) {
    NotifyPlayer(controller, config::Current().Messages.NoShoulderPet);
    return false;
  }
  // Nothing the capture makes the game do (a destroyed creature leaving its
  // slot, the mod taking one) may start another capture.
  const CaptureScope capturing;
  std::size_t captured = 0;
  for (const AttachedCompanion& companion : companions) {
    const std::string name = CompanionDisplayName(companion.creature, controller);
    if (log::TraceEnabled()) {
      log::Info("Cradlekeep found attached companion {} mounted={} carried={} secondary={}",
                DescribeActor(companion.creature), companion.mounted, companion.carried, companion.secondary);
    }
    if (const std::optional<host::Part> off = MissingCapturePart()) {
      // Nothing is touched: the companion stays where it is.
      log::Warn("Cradlekeep could not capture {}: {} is off on this game build", name, host::PartName(*off));
      NotifyPlayer(controller, config::Current().Messages.CaptureFailed);
      ++state::Current().counters.captures_failed;
      continue;
    }
    const bool ok = config::IsVanillaCaptureMode() ? CaptureWithVanillaCryopod(pawn, controller, companion)
                                                   : CaptureWithScsCryopod(pawn, controller, companion);
    if (ok) {
      ++captured;
      ++state::Current().counters.captures_done;
      NotifyPlayer(controller, FormatCapturedMessage(name));
    } else {
      ++state::Current().counters.captures_failed;
    }
  }
  return captured == companions.size();
}

}  // namespace ck::capture
