// The plugin's light logging facade. Lines are formatted with fmt ("{}"
// placeholders, booleans as true/false) and written through the plugin
// logger at info, warn or error level. Trace lines are info lines written
// only while DebugLogging is on; otherwise their arguments are not even
// formatted. Every text begins with "Cradlekeep ". Game thread only.
#pragma once

#include <fmt/core.h>

#include <string_view>
#include <utility>

namespace ck::log {

enum class Level { kInfo, kWarn, kError };

// Writes one line through the plugin logger (nothing before it exists).
// The logger lives with the framework door (host/framework/plugin_logger.cpp).
void Write(Level level, std::string_view text);

// True while trace lines are written: the DebugLogging setting, which the
// settings own (config/plugin_config.cpp).
[[nodiscard]] bool TraceEnabled();

template <typename... Args>
void Info(fmt::format_string<Args...> format, Args&&... args) {
  Write(Level::kInfo, fmt::format(format, std::forward<Args>(args)...));
}

template <typename... Args>
void Warn(fmt::format_string<Args...> format, Args&&... args) {
  Write(Level::kWarn, fmt::format(format, std::forward<Args>(args)...));
}

template <typename... Args>
void Error(fmt::format_string<Args...> format, Args&&... args) {
  Write(Level::kError, fmt::format(format, std::forward<Args>(args)...));
}

template <typename... Args>
void Trace(fmt::format_string<Args...> format, Args&&... args) {
  if (!TraceEnabled()) return;
  Write(Level::kInfo, fmt::format(format, std::forward<Args>(args)...));
}

}  // namespace ck::log
