#include "capture/capture_orchestration.h"

#include <exception>
#include <optional>
#include <string>
#include <string_view>

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
#include "journal/identities.h"
#include "journal/journal.h"

namespace ck::capture {

namespace {

constexpr std::string_view kPlaceholder = "{creature}";

}  // namespace

std::string FormatCapturedMessage(const std::string& name) {
  std::string result = config::Current().Messages.Captured;
  // An empty message is the admin's way to send none.
  if (result.empty()) return result;
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

namespace {

// The companion's capture down the configured path, as an outcome; a path
// that throws leaves the companion, and the failure is kept for the caller.
CaptureOutcome CaptureOne(AShooterCharacter* pawn, AShooterPlayerController* controller,
                          const AttachedCompanion& companion, const std::string& name, std::exception_ptr& failure) {
  if (const std::optional<host::Part> off = MissingCapturePart()) {
    // Nothing is touched: the companion stays where it is.
    const std::string why = std::string(host::PartName(*off)) + " is off " + state::WhyOff(*off);
    log::Warn("Cradlekeep could not capture {}: {}", name, why);
    return CaptureOutcome::Left(why);
  }
  CaptureOutcome outcome;
  const bool vanilla = config::IsVanillaCaptureMode();
  if (!core::Attempt(
          [&] {
            outcome = vanilla ? CaptureWithVanillaCryopod(pawn, controller, companion)
                              : CaptureWithScsCryopod(pawn, controller, companion);
          },
          failure)) {
    outcome = CaptureOutcome::Left("failure: " + core::FailureText(failure));
  }
  return outcome;
}

// The one place a companion's fate is told: the counters, the player's
// message and the journal line, written from what was read before the
// capture.
void Tell(AShooterPlayerController* controller, const journal::PlayerSnapshot& player,
          const journal::CreatureSnapshot& creature, const AttachedCompanion& companion, const std::string& name,
          std::string_view trigger, const CaptureOutcome& outcome) {
  state::Counters& counters = state::Current().counters;
  if (outcome.podded) {
    ++counters.captures_done;
    NotifyPlayer(controller, FormatCapturedMessage(name));
  } else {
    ++counters.captures_failed;
    NotifyPlayer(controller, config::Current().Messages.CaptureFailed);
  }
  journal::Line line("capture");
  journal::Add(line, player);
  journal::Add(line, creature);
  line.Word("slot", SlotWord(companion));
  if (!trigger.empty()) line.Word("trigger", trigger);
  line.Word("mode", config::IsVanillaCaptureMode() ? "vanilla" : "scs");
  if (outcome.podded) {
    line.Word("outcome", "podded");
    if (outcome.item) journal::AddItem(line, "item", *outcome.item);
  } else {
    line.Word("outcome", "left").Text("reason", outcome.reason);
  }
  journal::Record(line);
}

}  // namespace

bool CaptureAttachedCompanions(AShooterCharacter* pawn, AShooterPlayerController* controller,
                               const CompanionList& companions, std::string_view trigger) {
  if (companions.empty()) {
    NotifyPlayer(controller, config::Current().Messages.NoShoulderPet);
    return false;
  }
  // Nothing the capture makes the game do (a destroyed creature leaving its
  // slot, the mod taking one) may start another capture.
  const CaptureScope capturing;
  std::size_t captured = 0;
  std::exception_ptr first_failure;
  const journal::PlayerSnapshot player = journal::SnapPlayer(controller, pawn);
  for (const AttachedCompanion& companion : companions) {
    const std::string name = CompanionDisplayName(companion.creature, controller);
    // Read before the capture: the creature may be gone after it.
    const journal::CreatureSnapshot creature = journal::SnapCreature(companion.creature, controller, true, name);
    if (log::TraceEnabled()) {
      log::Info("Cradlekeep found attached companion {} mounted={} carried={} secondary={}",
                DescribeActor(companion.creature), companion.mounted, companion.carried, companion.secondary);
    }
    std::exception_ptr failure;
    const CaptureOutcome outcome = CaptureOne(pawn, controller, companion, name, failure);
    Tell(controller, player, creature, companion, name, trigger, outcome);
    // Each companion is tried on its own; the first failure still goes on to
    // the trigger, once, after the last companion, and each later one is
    // named here.
    for (const std::exception_ptr& each : {failure, outcome.failure_after}) {
      if (!each) continue;
      if (!first_failure) {
        first_failure = each;
      } else {
        log::Warn("Cradlekeep could not capture {}: {}", name, core::FailureText(each));
      }
    }
    if (outcome.podded) ++captured;
  }
  if (first_failure) std::rethrow_exception(first_failure);
  return captured == companions.size();
}

}  // namespace ck::capture
