// The plugin's one logger: "Cradlekeep", on the framework's shared sinks,
// pattern "%D %R [%n][%l] %v", flushed at every info line or above.
#pragma once

#include <memory>

namespace spdlog {
class logger;
}

namespace ck::plugin {

// The logger handle; empty until CreatePluginLogger. Released only when the
// library's static objects are destroyed.
std::shared_ptr<spdlog::logger>& GetPluginLogger();

// Builds the logger on the framework's sinks (the same sink objects) and
// stores it, replacing any earlier one.
void CreatePluginLogger();

}  // namespace ck::plugin
