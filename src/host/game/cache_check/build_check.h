// Checks every key the plugin can ask for against the running game build,
// before the plugin asks the framework for any.
//
// The framework loads the build's keys at start from its cache folder,
// ArkApi/Cache beside the server executable: cached_key.cache names the
// active folder, which holds cached_offsets.cache (functions and fields) and
// cached_bitfields.cache (bit fields). The check reads the key sets of both
// files as the framework reads them and marks which of the catalogue's keys
// the build has.
// Game thread only (start-up).
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ck::host {

struct GameBuildCheck {
  // False when the check could not be made (no cache, a file the framework
  // would refuse, a layout this plugin does not know); `why` says why.
  bool checked = false;
  std::string why;
  // Parallel to GameKeyTable(): true for each member the build has under
  // one of its names. Empty when the check could not be made.
  std::vector<bool> present;
  // Parallel to GameKeyTable(): the first of each member's names the build
  // has (an index as for GameKey::NameKey), GameKey::kNoName for none.
  std::vector<std::size_t> names;
};

// The framework's cache folder for a plugin module at `module_path`: two
// folders above the module's folder when it is installed as the framework
// installs plugins (ArkApi/Plugins/<name>/<name>.dll), otherwise ArkApi/Cache
// below the working directory, where the framework's folder is when the
// server runs from its executable's folder.
std::filesystem::path FrameworkCacheRoot(std::u16string_view module_path);

// Checks every name of every member of GameKeyTable() against the cache
// under `cache_root`.
// Never throws for a missing or malformed cache: the result says why.
GameBuildCheck CheckGameBuild(const std::filesystem::path& cache_root);

}  // namespace ck::host
