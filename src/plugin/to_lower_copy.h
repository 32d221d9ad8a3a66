// Byte-wise lower-casing with the C locale's rules: ASCII letters only,
// every other byte unchanged. The plugin's case-insensitive tests share it.
#pragma once

#include <string>
#include <string_view>

namespace ck::plugin {

std::string ToLowerCopy(std::string_view text);

}  // namespace ck::plugin
