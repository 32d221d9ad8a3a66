#include "config/plugin_config.h"

#include "core/log.h"
#include "core/text.h"

namespace ck::config {

PluginConfig g_live_config;

bool IsVanillaCaptureMode() {
  const std::string mode = core::ToLowerCopy(Current().CaptureMode);
  return mode == "cryo" || mode == "vanilla" || mode == "vanillacryo" || mode == "vanilla cryo";
}

}  // namespace ck::config

namespace ck::log {

bool TraceEnabled() { return config::Current().DebugLogging; }

}  // namespace ck::log
