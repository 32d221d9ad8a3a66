// The start-up check of every catalogue key against the running game
// build's offsets cache, and the binding of each member to its result.
#include "host/game/cache_check/build_check.h"

#include "host/framework/module_path.h"
#include "host/game/parts.h"
#include "host/game/cache_check/offsets_cache.h"

namespace ck::host {

std::filesystem::path FrameworkCacheRoot(std::u16string_view module_path) {
  const std::filesystem::path installed = InstalledPluginFolder(module_path);
  if (!installed.empty()) return installed.parent_path().parent_path() / "Cache";
  return std::filesystem::path("ArkApi") / "Cache";
}

GameBuildCheck CheckGameBuild(const std::filesystem::path& cache_root) {
  GameBuildCheck result;
  const std::optional<std::filesystem::path> folder = FindActiveCacheFolder(cache_root, result.why);
  if (!folder) return result;

  // The names each file is asked for, and whose answer each one is.
  struct Asked {
    std::size_t member;
    std::size_t name;
  };
  const std::span<const KeyNeed> table = GameKeyTable();
  std::vector<std::string_view> wanted[2];
  std::vector<Asked> asked[2];
  for (std::size_t i = 0; i < table.size(); ++i) {
    const std::size_t file = table[i].kind == KeyKind::kBitField ? 1 : 0;
    for (std::size_t name = 0; name < table[i].member->NameCount(); ++name) {
      wanted[file].emplace_back(table[i].member->NameKey(name));
      asked[file].push_back(Asked{i, name});
    }
  }
  constexpr std::size_t kValueSize[2] = {kCachedOffsetSize, kCachedBitFieldSize};
  const char* const kFile[2] = {"cached_offsets.cache", "cached_bitfields.cache"};

  std::vector<std::size_t> names(table.size(), GameKey::kNoName);
  for (std::size_t file = 0; file < 2; ++file) {
    std::vector<bool> found;
    const KeyScanResult scan = ScanCacheKeys(*folder / kFile[file], kValueSize[file], wanted[file], found);
    if (!scan.readable) {
      result.why = scan.why;
      return result;
    }
    // A member is bound to the first of its names the build has.
    for (std::size_t k = 0; k < found.size(); ++k) {
      std::size_t& bound = names[asked[file][k].member];
      if (found[k] && (bound == GameKey::kNoName || asked[file][k].name < bound)) bound = asked[file][k].name;
    }
  }
  result.checked = true;
  result.present.assign(table.size(), false);
  for (std::size_t i = 0; i < table.size(); ++i) result.present[i] = names[i] != GameKey::kNoName;
  result.names = std::move(names);
  return result;
}

}  // namespace ck::host
