#include "core/utc_time.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace ck::core {

namespace {

constexpr std::string_view kShape = "dddd-dd-ddTdd:dd:ddZ";
// 9999-12-31T23:59:59Z
constexpr std::int64_t kLatest = 253402300799;

}  // namespace

std::string UtcText(std::int64_t seconds) {
  using namespace std::chrono;
  const sys_seconds at{std::chrono::seconds{std::clamp<std::int64_t>(seconds, 0, kLatest)}};
  const sys_days day = floor<days>(at);
  const year_month_day date{day};
  const hh_mm_ss<std::chrono::seconds> clock{at - day};
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                static_cast<int>(clock.seconds().count()));
  return text;
}

bool LooksLikeUtcText(std::string_view text) {
  if (text.size() != kShape.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (kShape[i] == 'd' ? !digit : text[i] != kShape[i]) return false;
  }
  return true;
}

}  // namespace ck::core
