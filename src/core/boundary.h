// The plugin's one exception boundary. Every entry point (a hook's own work,
// a tick or console callback, start-up and unload, the exported capture) and
// every registration step runs its work through it: nothing the plugin does
// may throw into the game. A standard exception is told by its message,
// anything else as "unknown exception". The rest of the plugin writes no
// catch of its own.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace ck::core {

namespace detail {

// Hands `report` the failure's text; a report that throws is ignored, so
// that the boundary itself never throws.
template <typename Report>
void ReportFailure(Report& report, const char* what) noexcept {
  try {
    report(what);
  } catch (...) {
  }
}

}  // namespace detail

// Runs `work`. True when it completed; false when it threw, after `report`
// got the failure's text. Never throws.
template <typename Work, typename Report>
bool Contain(Work&& work, Report&& report) noexcept {
  try {
    std::forward<Work>(work)();
    return true;
  } catch (const std::exception& e) {
    detail::ReportFailure(report, e.what());
  } catch (...) {
    detail::ReportFailure(report, "unknown exception");
  }
  return false;
}

// Runs one of several attempts at something, for a caller that goes on to
// the next attempt when one throws and deals with the failure at the end.
// True when the attempt completed; otherwise the failure is kept in
// `first_failure` unless an earlier one is already there. Never throws.
template <typename Work>
bool Attempt(Work&& work, std::exception_ptr& first_failure) noexcept {
  try {
    std::forward<Work>(work)();
    return true;
  } catch (...) {
    if (!first_failure) first_failure = std::current_exception();
  }
  return false;
}

// The text of a kept failure: a standard exception's message, otherwise
// "unknown exception"; "" for none.
[[nodiscard]] std::string FailureText(const std::exception_ptr& failure) noexcept;

}  // namespace ck::core
