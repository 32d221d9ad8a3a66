// Fuzz target: the framework's offsets cache files.
//
// Each input is written, byte for byte, as a cache file and scanned for a
// few wanted keys, as an offsets file (8-byte values) and as a bit-fields
// file (32-byte values), each time in one read and in reads of 1 to 64
// bytes (the count taken from the input's first byte), so that records
// straddle reads. Each scan must agree with a reference reader in this
// file, which holds the whole input in memory and walks it record by
// record: the same verdict, the same reason when refused, the same record
// count, and, when accepted, exactly the wanted keys the input holds. A
// refused scan marks nothing.
//
// The same input is then written as cached_key.cache in a scratch cache
// root, which holds one generation folder: the active folder found must be
// the root itself or an existing folder inside it, and a failure must say
// why.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "host/game/cache_check/offsets_cache.h"

namespace {

namespace fs = std::filesystem;
using ckfuzz::Check;
using ckfuzz::Fail;

// Short keys, keys sharing a length or a prefix, the same text twice, and
// an empty key (never in an accepted file).
constexpr std::string_view kWantedKeys[] = {
    "UPrimalItem.ItemQuantity", "AClass.F", "AClass.G", "id", "x", "id", "", "AShooterCharacter.MyInventoryComponent",
};
constexpr std::string_view kGeneration =
    "generations/0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef-1-2-3";

fs::path g_scratch;
fs::path g_cache_file;

void RemoveScratch() {
  std::error_code ignored;
  fs::remove_all(g_scratch, ignored);
}

// A new file each time: cutting an existing one down to nothing makes some
// file systems (ext4) write it out to disk at close, a hundred times slower.
void WriteFile(const fs::path& path, const uint8_t* data, size_t size) {
  std::error_code ignored;
  fs::remove(path, ignored);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out) Fail("cannot write the scratch file");
}

// What the reference reader makes of the input.
struct Expected {
  std::string why;  // "" when accepted
  std::uint64_t records = 0;
  std::vector<bool> present;
};

Expected Reference(std::string_view bytes, std::size_t value_size) {
  Expected e;
  e.present.assign(std::size(kWantedKeys), false);
  const auto refuse = [&](const char* why) {
    e.why = why;
    e.present.assign(std::size(kWantedKeys), false);
    return e;
  };
  if (bytes.empty()) return refuse("the file is empty");
  std::size_t at = 0;
  while (at < bytes.size()) {
    if (bytes.size() - at < 8) return refuse("a record runs past the end of the file");
    if (e.records == ck::host::kCacheMaxRecords) return refuse("more than 5000000 records");
    std::uint64_t length = 0;
    for (int i = 7; i >= 0; --i) length = (length << 8) | static_cast<unsigned char>(bytes[at + i]);
    at += 8;
    if (length == 0) return refuse("a key of length 0");
    if (length > ck::host::kCacheMaxKeyLength) return refuse("a key longer than 1 MiB");
    if (length > bytes.size() - at) return refuse("a record runs past the end of the file");
    const std::string_view key = bytes.substr(at, length);
    at += length;
    if (value_size > bytes.size() - at) return refuse("a record runs past the end of the file");
    at += value_size;
    ++e.records;
    for (std::size_t i = 0; i < std::size(kWantedKeys); ++i) {
      if (kWantedKeys[i] != key) continue;
      if (e.present[i]) return refuse("repeated");  // the reason names the key: checked by its start
      e.present[i] = true;
    }
  }
  if (e.records == 0) return refuse("no records");
  return e;
}

void CheckScan(std::string_view bytes, std::size_t value_size, std::size_t read_size) {
  const Expected expected = Reference(bytes, value_size);
  const std::vector<std::string_view> wanted(std::begin(kWantedKeys), std::end(kWantedKeys));
  std::vector<bool> present(3, true);
  const ck::host::KeyScanResult result =
      ck::host::ScanCacheKeysInReadsOf(read_size, g_cache_file, value_size, wanted, present);
  Check(present.size() == wanted.size(), "present does not have one entry per wanted key");
  Check(result.readable == expected.why.empty(),
        result.readable ? "the scan took a file the framework refuses (" + expected.why + ")"
                        : "the scan refused a file the framework takes: " + result.why);
  if (!result.readable) {
    const std::string prefix = "cached_offsets.cache: ";
    Check(ckfuzz::StartsWith(result.why, prefix), "a refusal does not name the file");
    const std::string_view reason = std::string_view(result.why).substr(prefix.size());
    if (expected.why == "repeated") {
      Check(ckfuzz::StartsWith(reason, "the key \""), "a repeated key is refused for another reason: " + result.why);
    } else {
      Check(reason == expected.why, "refused for \"" + std::string(reason) + "\", not \"" + expected.why + "\"");
    }
  } else {
    Check(result.why.empty(), "an accepted file comes with a reason");
  }
  Check(result.records == expected.records, "the scan counted another number of records");
  Check(present == expected.present, "the scan marked other wanted keys than the file holds");
}

void CheckKeyFile(const uint8_t* data, size_t size) {
  const fs::path root = g_scratch / "Cache";
  WriteFile(root / "cached_key.cache", data, size);
  std::string why;
  const std::optional<fs::path> folder = ck::host::FindActiveCacheFolder(root, why);
  if (!folder) {
    Check(!why.empty(), "no active folder and no reason");
    return;
  }
  Check(*folder == root || *folder == root / kGeneration, "the active folder is neither the root nor its generation");
  std::error_code error;
  Check(fs::is_directory(*folder, error), "the active folder does not exist");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  g_scratch = fs::temp_directory_path() / ("cradlekeep-fuzz-offsets-cache-" + std::to_string(::getpid()));
  fs::create_directories(g_scratch / "Cache" / kGeneration);
  g_cache_file = g_scratch / "cached_offsets.cache";
  std::atexit(RemoveScratch);
  ckfuzz::g_before_failure = RemoveScratch;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WriteFile(g_cache_file, data, size);
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::size_t small_reads = size == 0 ? 1 : 1 + data[0] % 64;
  for (const std::size_t value_size : {ck::host::kCachedOffsetSize, ck::host::kCachedBitFieldSize}) {
    CheckScan(bytes, value_size, ck::host::kCacheReadSize);
    CheckScan(bytes, value_size, small_reads);
  }
  CheckKeyFile(data, size);
  return 0;
}
