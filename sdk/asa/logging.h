// The framework's log sinks, shared with every plugin that logs.
#pragma once

#include <memory>
#include <vector>

#include "asa/api.h"

namespace spdlog::sinks {
class sink;
}

namespace AsaApi {

ASAAPI_API std::vector<std::shared_ptr<spdlog::sinks::sink>>& GetLogSinks();

}  // namespace AsaApi
