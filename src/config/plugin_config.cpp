#include "config/plugin_config.h"

namespace ck::config {

PluginConfig& Current() {
  static PluginConfig config;
  return config;
}

}  // namespace ck::config
