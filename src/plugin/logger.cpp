#include "plugin/logger.h"

#include "host/framework.h"
#include "plugin/log.h"

namespace ck::plugin {

void CreatePluginLogger() { host::OpenLog("Cradlekeep"); }

bool PluginLoggerReady() { return host::LogIsOpen(); }

}  // namespace ck::plugin

namespace ck::log {

void Write(Level level, std::string_view text) {
  const host::LogLevel host_level = level == Level::kError  ? host::LogLevel::kError
                                    : level == Level::kWarn ? host::LogLevel::kWarn
                                                            : host::LogLevel::kInfo;
  host::WriteLog(host_level, text);
}

}  // namespace ck::log
