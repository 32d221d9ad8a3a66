// The plugin's logger on the framework's sinks, and the writer behind
// core's log facade.
#include "host/framework/plugin_logger.h"

#include "host/framework/framework.h"
#include "core/log.h"

namespace ck::host {

void CreatePluginLogger() { OpenLog("Cradlekeep"); }

bool PluginLoggerReady() { return LogIsOpen(); }

}  // namespace ck::host

namespace ck::log {

void Write(Level level, std::string_view text) {
  const host::LogLevel host_level = level == Level::kError  ? host::LogLevel::kError
                                    : level == Level::kWarn ? host::LogLevel::kWarn
                                                            : host::LogLevel::kInfo;
  host::WriteLog(host_level, text);
}

}  // namespace ck::log
