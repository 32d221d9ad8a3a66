#include "plugin/logger.h"

#include <spdlog/spdlog.h>

#include "asa/logging.h"
#include "plugin/log.h"

namespace ck::plugin {

std::shared_ptr<spdlog::logger>& GetPluginLogger() {
  static std::shared_ptr<spdlog::logger> logger;
  return logger;
}

void CreatePluginLogger() {
  auto& sinks = AsaApi::GetLogSinks();
  auto logger = std::make_shared<spdlog::logger>("Cradlekeep", sinks.begin(), sinks.end());
  GetPluginLogger() = logger;
  logger->set_pattern("%D %R [%n][%l] %v", spdlog::pattern_time_type::local);
  logger->flush_on(spdlog::level::info);
}

}  // namespace ck::plugin

namespace ck::log {

void Write(Level level, std::string_view text) {
  const auto& logger = plugin::GetPluginLogger();
  if (!logger) return;
  const spdlog::level::level_enum spd = level == Level::kError  ? spdlog::level::err
                                        : level == Level::kWarn ? spdlog::level::warn
                                                                : spdlog::level::info;
  logger->log(spd, spdlog::string_view_t(text.data(), text.size()));
}

}  // namespace ck::log
