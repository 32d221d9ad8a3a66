// The framework's offsets cache (ArkApi/Cache): which folder holds the
// running build's cache files. The cache root holds cached_key.cache, naming
// the active folder.
//
// Plain file reading, no framework or game object: any thread. Nothing here
// throws for a bad file or folder; only running out of memory throws.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace ck::host {

// The folder holding the two cache files, named by <cache_root>/cached_key.cache.
// On failure returns std::nullopt and sets `why` (e.g. "no cached_key.cache in <folder>", "cached_key.cache: unknown version 2").
//
// cached_key.cache is either JSON, {"version": 1, "executable_hash": <64
// hex digits>, "cache_directory": <folder>, ...}, or, in the older layout,
// the bare 64-hex-digit hash with blanks around it (the files are then in
// the cache root). The folder is "" (the cache root itself) or
// "generations/<64 hex>-<digits>-<digits>-<digits>" below the root; any
// other version, hash or folder is a layout the plugin does not know, and a
// named generations folder that does not exist is a failure too.
std::optional<std::filesystem::path> FindActiveCacheFolder(const std::filesystem::path& cache_root, std::string& why);

// A path as UTF-8 text, for messages.
std::string PathText(const std::filesystem::path& path);

}  // namespace ck::host
