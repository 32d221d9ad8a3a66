// What became of one companion in a capture: podded into an item, or left
// where it was, and why. The capture paths give it; the orchestration tells
// the player, counts it and writes the journal line from it, once.
#pragma once

#include <exception>
#include <optional>
#include <string>
#include <utility>

#include "asa/engine_types.h"

namespace ck::capture {

struct CaptureOutcome {
  bool podded = false;
  std::optional<FItemNetID> item;  // the pod's id, when podded and it could be read
  std::string reason;              // why the companion was left, when not
  // A failure after the companion's fate was decided (its slot not cleared,
  // say): it goes on to the trigger once the outcome is told.
  std::exception_ptr failure_after;

  static CaptureOutcome Podded(std::optional<FItemNetID> item) { return CaptureOutcome{true, item, {}, {}}; }
  static CaptureOutcome Left(std::string reason) { return CaptureOutcome{false, {}, std::move(reason), {}}; }
};

// The placed pod's id for the journal, read once the capture is done; none
// when the read fails (the capture stands all the same). Never throws.
std::optional<FItemNetID> PodId(UPrimalItem* pod) noexcept;

}  // namespace ck::capture
