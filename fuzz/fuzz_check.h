// Shared by the fuzz targets: stopping the run on a broken property, and
// looking at the plugin's log records.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "sim/framework/framework.h"

namespace ckfuzz {

// Called before a property failure stops the process, e.g. to go back to the
// working directory the fuzzer was started in (where it writes the input).
inline void (*g_before_failure)() = nullptr;

// Reports a broken property and stops the process, so that the fuzzer keeps
// the input as a crash.
[[noreturn]] inline void Fail(std::string_view what) {
  std::fprintf(stderr, "\n==== Cradlekeep fuzz property broken: %.*s\n", static_cast<int>(what.size()),
               what.data());
  // The last few log records, oldest first.
  const auto& records = simfw::Fw().logs.Records();
  const std::size_t shown = records.size() < 12 ? records.size() : 12;
  std::fprintf(stderr, "==== the last %zu of %zu log record(s):\n", shown, records.size());
  for (std::size_t i = records.size() - shown; i < records.size(); ++i) {
    const auto& r = records[i];
    std::fprintf(stderr, "====   [%s][%s] %s\n", r.logger.c_str(), r.level.c_str(), r.text.c_str());
  }
  std::fflush(stderr);
  if (g_before_failure != nullptr) g_before_failure();
  __builtin_trap();
}

inline void Check(bool holds, std::string_view what) {
  if (!holds) Fail(what);
}

inline bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

// The plugin's log records so far.
inline std::vector<simfw::LogRecord> PluginRecords() { return simfw::Fw().logs.RecordsOf("Cradlekeep"); }

}  // namespace ckfuzz
