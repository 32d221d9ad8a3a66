#include "config/plugin_config.h"

namespace ck::config {

PluginConfig g_live_config;

}  // namespace ck::config
