// The framework's log sinks, shared with every plugin that logs.
//
// The real framework's sinks are spdlog 0.16.2 objects built with MSVC; the
// simulated framework's are the spdlog of the build. A plugin writes each line
// to every sink, then flushes them.
#pragma once

#include <memory>
#include <vector>

#include "asa/api.h"

namespace spdlog {
namespace sinks {
class sink;
}
using sink_ptr = std::shared_ptr<sinks::sink>;
}  // namespace spdlog

ARK_API std::vector<spdlog::sink_ptr>& GetLogSinks();
