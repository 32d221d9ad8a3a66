// Calendar time for the journal: seconds since 1970-01-01T00:00:00Z written
// as ISO 8601 in UTC, to the second ("2026-12-10T14:03:59Z"). Standard
// library only; no time zone database, no locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ck::core {

// The text of `seconds` since the epoch; times before 1970 and after 9999
// are written as their nearest end of that range.
std::string UtcText(std::int64_t seconds);

// Whether `text` has exactly the form UtcText writes (digits and separators
// in place; the values are not checked against a calendar).
bool LooksLikeUtcText(std::string_view text);

}  // namespace ck::core
