#include "config/setting_names.h"

#include <algorithm>
#include <vector>

#include "core/text.h"

namespace ck::config {

namespace {

// Edits (a letter left out, added, changed, or two neighbours swapped) that
// turn `a` into `b`.
std::size_t EditDistance(const std::string& a, const std::string& b) {
  const std::size_t n = a.size();
  const std::size_t m = b.size();
  std::vector<std::vector<std::size_t>> d(n + 1, std::vector<std::size_t>(m + 1));
  for (std::size_t i = 0; i <= n; ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= m; ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= n; ++i) {
    for (std::size_t j = 1; j <= m; ++j) {
      const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  }
  return d[n][m];
}

}  // namespace

std::string NearestSettingName(std::string_view key, std::span<const char* const> known) {
  const std::string wanted = core::ToLowerCopy(key);
  std::string nearest;
  std::size_t best = 0;
  for (const char* name : known) {
    const std::string candidate = core::ToLowerCopy(name);
    const std::size_t distance = EditDistance(wanted, candidate);
    const std::size_t allowed = std::max<std::size_t>(1, candidate.size() / 4);
    if (distance <= allowed && (nearest.empty() || distance < best)) {
      nearest = name;
      best = distance;
    }
  }
  return nearest;
}

}  // namespace ck::config
