// A step of the plugin's work that serves one part alone, run so that the
// part going off on the way ends only that step.
//
// On a game build that could not be checked at start-up, the framework may
// refuse a key the first time the plugin asks for it; the member then goes
// missing and the parts it served go off, with the warn line that says so
// (host::GameKeyRefused). The step that asked finds nothing rather than
// failing the work around it: a capture goes on without the slot whose
// reading met the missing key. Game thread only.
#pragma once

#include <exception>
#include <type_traits>

#include "core/boundary.h"
#include "host/game/parts.h"
#include "state/plugin_state.h"

namespace ck::state {

// Runs `step`, which serves `part`, and returns what it returns. When it
// throws and `part` is off afterwards, the result is a value-initialised
// one (nothing found; nothing for a void step); any other failure is thrown
// on to the caller.
template <typename Step>
auto UnlessPartGoesOff(host::Part part, Step&& step) -> std::invoke_result_t<Step&> {
  using Result = std::invoke_result_t<Step&>;
  std::exception_ptr failure;
  if constexpr (std::is_void_v<Result>) {
    if (core::Attempt(step, failure) || !PartOn(part)) return;
    std::rethrow_exception(failure);
  } else {
    Result result{};
    if (core::Attempt([&] { result = step(); }, failure) || !PartOn(part)) return result;
    std::rethrow_exception(failure);
  }
}

}  // namespace ck::state
