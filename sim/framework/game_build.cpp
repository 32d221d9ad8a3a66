#include "sim/framework/game_build.h"

#include <spdlog/logger.h>

#include <cstdint>
#include <fstream>
#include <string_view>

#include "sim/framework/framework.h"
#include "sim/framework/key_registry.h"

namespace simfw {

namespace {

// The hash the simulated server executable has; any 64 hex digits serve.
constexpr std::string_view kExecutableHash = "5eed5eed5eed5eed5eed5eed5eed5eed5eed5eed5eed5eed5eed5eed5eed5eed";

void PutU64(std::string& out, std::uint64_t value) {
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void PutKey(std::string& out, const std::string& key) {
  PutU64(out, key.size());
  out += key;
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

// The framework's own lines go to the shared sinks under its own name.
void GameBuild::Log(bool critical, const std::string& text) {
  auto& sinks = Fw().logs.Shared();
  spdlog::logger logger("AsaApi", sinks.begin(), sinks.end());
  logger.log(critical ? spdlog::level::critical : spdlog::level::err, text);
  logger.flush();
}

void GameBuild::Request(const std::string& key, const char* what) {
  requests_.push_back(key);
  Log(true, "Failed to get the " + std::string(what) + " of '" + key + "'.\nRequested by: plugin " + plugin_);
}

void GameBuild::RefuseHook(const std::string& key) { Log(false, "[" + plugin_ + "] " + key + " does not exist"); }

void GameBuild::RefuseData(const std::string& key, bool bit_field) {
  Request(key, bit_field ? "bitfield address" : "offset");
  stalled_ += kStallNanoseconds;
  Fw().clock.Advance(kStallNanoseconds);
  throw BareRethrow{};
}

void GameBuild::RefuseFunction(const std::string& key) {
  Request(key, "offset");
  if (hooks_do_not_throw_) return;
  stalled_ += kStallNanoseconds;
  Fw().clock.Advance(kStallNanoseconds);
  throw BareRethrow{};
}

void GameBuild::WriteCache(const std::filesystem::path& root, const KeyRegistry& registry,
                           OffsetsCacheState state) const {
  const std::filesystem::path cache = root / "ArkApi" / "Cache";
  if (state == OffsetsCacheState::kAbsent) {
    std::error_code ignored;
    std::filesystem::remove_all(cache, ignored);
    written_root_.clear();
    return;
  }
  // The files sit in the cache root itself (an empty cache_directory), one
  // of the framework's layouts: the fewest folders for a run to make.
  std::string offsets;
  std::string bit_fields;
  for (const DumpedKey& dumped : registry.Dump()) {
    if (Lacks(dumped.key)) continue;
    if (dumped.bit_field) {
      PutKey(bit_fields, dumped.key);
      // BitField: offset, bit position (and padding), number of bits, length.
      PutU64(bit_fields, static_cast<std::uint64_t>(dumped.offset));
      PutU64(bit_fields, dumped.bit_position);
      PutU64(bit_fields, dumped.bit_count);
      PutU64(bit_fields, 4);
    } else {
      PutKey(offsets, dumped.key);
      PutU64(offsets, static_cast<std::uint64_t>(dumped.offset));
    }
  }
  // Cut inside the last record: its value is not all there.
  if (state == OffsetsCacheState::kCorrupt && offsets.size() > 3) offsets.resize(offsets.size() - 3);
  std::string contents = offsets;
  contents += '\0';
  contents += bit_fields;
  if (root == written_root_ && contents == written_ && std::filesystem::exists(cache / "cached_key.cache")) return;
  std::filesystem::create_directories(cache);
  WriteFile(cache / "cached_key.cache", "{\"cache_directory\":\"\",\"executable_hash\":\"" +
                                            std::string(kExecutableHash) + "\",\"last_modified\":\"1\",\"version\":1}");
  WriteFile(cache / "cached_offsets.cache", offsets);
  WriteFile(cache / "cached_bitfields.cache", bit_fields);
  written_root_ = root;
  written_ = std::move(contents);
}

void GameBuild::Reset() {
  missing_.clear();
  hooks_do_not_throw_ = false;
  plugin_ = "Cradlekeep";
  requests_.clear();
  asked_.clear();
  stalled_ = 0;
}

}  // namespace simfw
