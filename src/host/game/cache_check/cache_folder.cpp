// Finding the folder of the running build's cache files from the framework's
// cached_key.cache.
#include "host/game/cache_check/cache_folder.h"

#include <cstdint>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string_view>
#include <system_error>

namespace ck::host {

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

constexpr const char* kKeyFileName = "cached_key.cache";
// cached_key.cache holds a few hundred bytes; anything far larger is not one.
constexpr std::uintmax_t kMaxKeyFileSize = 64 * 1024;
bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsHash(std::string_view text) {
  if (text.size() != 64) return false;
  for (const char c : text) {
    if (!IsHexDigit(c)) return false;
  }
  return true;
}

std::string_view TrimBlanks(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r\n\v\f";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// A decimal number of 1 to 20 digits at the front of `text`, taken off it.
bool TakeNumber(std::string_view& text) {
  std::size_t digits = 0;
  while (digits < text.size() && IsDigit(text[digits])) ++digits;
  if (digits == 0 || digits > 20) return false;
  text.remove_prefix(digits);
  return true;
}

// "<64 hex>-<digits>-<digits>-<digits>": the one name of a generation folder
// the framework writes. Its shape alone keeps the folder inside the cache
// root: no separator, no "..", no drive or root.
bool IsGenerationName(std::string_view name) {
  if (name.size() < 64 || !IsHash(name.substr(0, 64))) return false;
  name.remove_prefix(64);
  for (int i = 0; i < 3; ++i) {
    if (name.empty() || name.front() != '-') return false;
    name.remove_prefix(1);
    if (!TakeNumber(name)) return false;
  }
  return name.empty();
}

// A JSON value as text for a message; long enough for a generation folder's
// name, cut short after that.
std::string Shown(const json& value) {
  std::string text = value.dump(-1, ' ', false, json::error_handler_t::replace);
  if (text.size() > 120) text = text.substr(0, 117) + "...";
  return text;
}

// The whole of a small file; false when it cannot be read.
bool ReadSmallFile(const fs::path& file, std::string& text) {
  std::ifstream in(file, std::ios::binary);
  if (!in.is_open()) return false;
  char chunk[4096];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    text.append(chunk, static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxKeyFileSize) return false;
  }
  return !in.bad();
}

// The key file's text, or false with `why` set.
bool ReadKeyFile(const fs::path& cache_root, const std::string& prefix, std::string& text, std::string& why) {
  const fs::path key_file = cache_root / kKeyFileName;
  std::error_code error;
  if (!fs::is_regular_file(key_file, error)) {
    why = std::string("no ") + kKeyFileName + " in " + PathText(cache_root);
    return false;
  }
  const std::uintmax_t size = fs::file_size(key_file, error);
  if (error || size > kMaxKeyFileSize) {
    why = prefix + (error ? "could not be read" : "too large for a key file");
    return false;
  }
  if (!ReadSmallFile(key_file, text)) {
    why = prefix + "could not be read";
    return false;
  }
  return true;
}

// The cache_directory of a JSON key file of version 1 with a well-formed
// executable hash, or null with `why` set.
const json* NamedDirectory(const json& root, const std::string& prefix, std::string& why) {
  if (root.is_discarded() || !root.is_object()) {
    why = prefix + "neither a JSON object nor a bare hash";
    return nullptr;
  }
  const auto version = root.find("version");
  if (version == root.end()) {
    why = prefix + "no version";
    return nullptr;
  }
  if (!version->is_number_integer() || version->get<std::int64_t>() != 1) {
    why = prefix + "unknown version " + Shown(*version);
    return nullptr;
  }
  const auto hash = root.find("executable_hash");
  if (hash == root.end() || !hash->is_string() || !IsHash(hash->get_ref<const std::string&>())) {
    why = prefix + "the executable hash is not 64 hex digits";
    return nullptr;
  }
  const auto directory = root.find("cache_directory");
  if (directory == root.end() || !directory->is_string()) {
    why = prefix + "no cache_directory text";
    return nullptr;
  }
  return &*directory;
}

}  // namespace

std::string PathText(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::optional<fs::path> FindActiveCacheFolder(const fs::path& cache_root, std::string& why) {
  const std::string prefix = std::string(kKeyFileName) + ": ";
  std::string text;
  if (!ReadKeyFile(cache_root, prefix, text, why)) return std::nullopt;

  // The older layout: the bare hash, the files in the cache root.
  if (IsHash(TrimBlanks(text))) return cache_root;

  const json root = json::parse(text, /*cb=*/nullptr, /*allow_exceptions=*/false);
  const json* directory = NamedDirectory(root, prefix, why);
  if (directory == nullptr) return std::nullopt;
  const std::string_view folder = directory->get_ref<const std::string&>();
  if (folder.empty()) return cache_root;

  // "generations", one separator (the framework writes '/'; a '\' written on
  // Windows means the same), then the generation's name.
  constexpr std::string_view kParent = "generations";
  if (folder.size() <= kParent.size() + 1 || folder.substr(0, kParent.size()) != kParent ||
      (folder[kParent.size()] != '/' && folder[kParent.size()] != '\\') ||
      !IsGenerationName(folder.substr(kParent.size() + 1))) {
    why = prefix + "unknown cache_directory " + Shown(*directory);
    return std::nullopt;
  }
  fs::path active = cache_root / kParent / fs::path(std::string(folder.substr(kParent.size() + 1)));
  std::error_code error;
  if (!fs::is_directory(active, error)) {
    why = prefix + "the folder " + Shown(*directory) + " does not exist";
    return std::nullopt;
  }
  return active;
}

}  // namespace ck::host
