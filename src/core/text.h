// Byte-wise text rules the plugin's case-insensitive tests share: the C
// locale's lower-casing (ASCII letters only, every other byte unchanged).
#pragma once

#include <string>
#include <string_view>

namespace ck::core {

// The text with A-Z lower-cased, every other byte as it is.
[[nodiscard]] std::string ToLowerCopy(std::string_view text);

// True when `part` is empty or occurs in `text`, both lower-cased as above.
[[nodiscard]] bool ContainsIgnoreCase(std::string_view text, std::string_view part);

}  // namespace ck::core
