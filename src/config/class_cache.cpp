#include "config/class_cache.h"

#include <algorithm>

#include "host/engine/class_loading.h"

namespace ck::config {

UClass* ClassCache::Load(FWeakObjectPtr& field, const std::string& path) {
  UClass* loaded = host::LoadCachedClass(field, path);
  const auto known = std::find(failed_paths.begin(), failed_paths.end(), path);
  if (loaded == nullptr && known == failed_paths.end()) failed_paths.push_back(path);
  if (loaded != nullptr && known != failed_paths.end()) failed_paths.erase(known);
  return loaded;
}

}  // namespace ck::config
