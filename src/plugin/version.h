#pragma once

namespace ck::plugin {

inline constexpr const char* kVersion = "0.7.3";

}  // namespace ck::plugin
