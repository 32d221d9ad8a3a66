// The catch-all every entry point and registration step wraps its own work
// in: a standard exception is reported with its message, anything else as
// "unknown exception", and nothing leaves.
#pragma once

#include <exception>

namespace ck::plugin {

// Runs `work`; on a throw calls `report` with the exception's message, or
// with "unknown exception" for a throw that is no standard exception.
template <typename Work, typename Report>
void CatchAll(Work&& work, Report&& report) {
  try {
    work();
  } catch (const std::exception& e) {
    report(e.what());
  } catch (...) {
    report("unknown exception");
  }
}

}  // namespace ck::plugin
