#include "config/plugin_config.h"

#include "core/text.h"

namespace ck::config {

bool IsVanillaCaptureMode(const PluginConfig& settings) {
  const std::string mode = core::ToLowerCopy(settings.CaptureMode);
  return mode == "cryo" || mode == "vanilla" || mode == "vanillacryo" || mode == "vanilla cryo";
}

}  // namespace ck::config
