// The offsets cache key check beside its floor: reading the same file once.
//
// The file is made once per run in a scratch folder: 500,000 keys shaped
// like the framework's ("UPrimalInventoryComponent.AddItemObjectEx(UPrimalItem*,bool,...)"
// for functions, "AClass.Field" for fields), 15 to 180 bytes long, with an
// 8-byte value each, and a 50,000-key file made the same way. The plugin
// asks for 100 keys: 50 of the large file, spread through it, and 50 of the
// same shapes that no file holds. The floor reads the file as the scan
// does, in reads of ck::host::kCacheReadSize bytes.
// The peak heap bytes of one scan are counted for both files: they must be
// the same, since memory follows the wanted list, never the file.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "alloc_counter.h"
#include "host/game/cache_check/offsets_cache.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kLargeKeys = 500'000;
constexpr std::size_t kSmallKeys = 50'000;
constexpr std::size_t kWantedInFile = 50;
constexpr std::size_t kWantedMissing = 50;

constexpr std::array kPrefixes = {'U', 'A', 'F'};
constexpr std::array<std::string_view, 16> kClassWords = {
    "Primal", "Inventory", "Component", "Shooter", "Character", "Dino", "Item", "Player",
    "Controller", "Game", "Mode", "Structure", "Buff", "Weapon", "Cryopod", "State"};
constexpr std::array<std::string_view, 12> kMemberWords = {
    "Add", "Remove", "Item", "Object", "Ex", "Get", "Owner", "Quantity", "Is", "Carnivore", "Tamed", "Server"};
constexpr std::array<std::string_view, 10> kParameterTypes = {
    "UPrimalItem*", "bool", "int", "float", "FString*", "FVector*", "AActor*",
    "TArray<UPrimalItem*>*", "FName", "APlayerController*"};

// One key of a realistic shape, 15 to 180 bytes long (evenly spread),
// unique by its number.
std::string MakeKey(std::mt19937_64& random, std::size_t number) {
  const std::size_t target = 15 + random() % 166;
  std::string key(1, kPrefixes[random() % kPrefixes.size()]);
  for (std::size_t words = 1 + random() % 3; words > 0; --words) key += kClassWords[random() % kClassWords.size()];
  key += '.';
  for (std::size_t words = 1 + random() % 2; words > 0; --words) key += kMemberWords[random() % kMemberWords.size()];
  key += std::to_string(number);
  if (random() % 2 == 0) {
    // A function: its parameter list, as long as the target length asks.
    key += '(';
    for (bool first = true; key.size() + 2 < target; first = false) {
      if (!first) key += ',';
      key += kParameterTypes[random() % kParameterTypes.size()];
    }
    key += ')';
  } else {
    // A field: a longer name.
    while (key.size() < target) key += kMemberWords[random() % kMemberWords.size()];
  }
  if (key.size() > 180) key.resize(180);
  while (key.size() < 15) key += 'x';
  return key;
}

void PutRecord(std::string& out, std::string_view key) {
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((key.size() >> (8 * i)) & 0xFF));
  out.append(key);
  out.append(8, '\x2A');  // the offset
}

// The two cache files and the wanted keys, made once, removed at exit.
class CacheFiles {
 public:
  CacheFiles() {
    std::random_device seed_source;
    folder_ = fs::temp_directory_path() / ("cradlekeep-bench-offsets-" + std::to_string(seed_source()));
    fs::create_directories(folder_);
    large_ = Write("large.cache", kLargeKeys, /*with_wanted=*/true);
    small_ = Write("small.cache", kSmallKeys, /*with_wanted=*/false);
  }
  ~CacheFiles() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  const fs::path& large() const { return large_; }
  const fs::path& small() const { return small_; }
  std::vector<std::string_view> wanted() const { return {wanted_.begin(), wanted_.end()}; }
  double mean_key_length() const { return mean_key_length_; }
  std::size_t wanted_in_small() const { return wanted_in_small_; }

 private:
  // A file of `count` keys. The large file fixes the wanted list: every
  // count/kWantedInFile-th key, and made-up keys in none of the files.
  fs::path Write(const char* name, std::size_t count, bool with_wanted) {
    std::mt19937_64 random(count);
    std::unordered_set<std::string> keys;
    std::string bytes;
    bytes.reserve(count * 120);
    double total_length = 0;
    for (std::size_t i = 0; i < count; ++i) {
      std::string key = MakeKey(random, i);
      while (!keys.insert(key).second) key = MakeKey(random, i);
      total_length += static_cast<double>(key.size());
      PutRecord(bytes, key);
      if (with_wanted && i % (count / kWantedInFile) == count / kWantedInFile / 2) wanted_.push_back(key);
    }
    if (with_wanted) {
      mean_key_length_ = total_length / static_cast<double>(count);
      // Missing ones: the same shapes, numbers no key of either file has.
      for (std::size_t i = 0; i < kWantedMissing; ++i) wanted_.push_back(MakeKey(random, 900'000'000 + i));
    } else {
      for (const std::string& key : wanted_) wanted_in_small_ += keys.count(key);
    }
    const fs::path path = folder_ / name;
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  fs::path folder_;
  fs::path large_;
  fs::path small_;
  std::vector<std::string> wanted_;
  double mean_key_length_ = 0;
  std::size_t wanted_in_small_ = 0;
};

const CacheFiles& Files() {
  static const CacheFiles files;
  return files;
}

// The floor: the same file read once as the scan reads it (a buffer of the
// longest key's size, filled ck::host::kCacheReadSize bytes at a time),
// touching one byte of every chunk so that the reading stays.
void BM_CacheReadOnce(benchmark::State& state) {
  const fs::path& file = Files().large();
  for (auto _ : state) {
    const auto buffer = std::make_unique_for_overwrite<char[]>(ck::host::kCacheMaxKeyLength);
    std::ifstream in;
    in.rdbuf()->pubsetbuf(nullptr, 0);
    in.open(file, std::ios::binary);
    std::uint64_t sum = 0;
    while (in.read(buffer.get(), ck::host::kCacheReadSize) || in.gcount() > 0) {
      sum += static_cast<unsigned char>(buffer[0]);
    }
    benchmark::DoNotOptimize(sum);
  }
  state.counters["bytes"] = static_cast<double>(fs::file_size(file));
}
BENCHMARK(BM_CacheReadOnce)->Unit(benchmark::kMillisecond);

// One scan of `file` for the wanted keys; the counters say what it found
// and the most heap it held at once.
void Scans(benchmark::State& state, const fs::path& file, std::size_t keys, std::size_t expected_present) {
  const std::vector<std::string_view> wanted = Files().wanted();
  std::vector<bool> present;
  ck::host::KeyScanResult result;
  for (auto _ : state) {
    result = ck::host::ScanCacheKeys(file, ck::host::kCachedOffsetSize, wanted, present);
    benchmark::DoNotOptimize(result.records);
  }
  std::size_t found = 0;
  for (const bool p : present) found += p;
  if (!result.readable || result.records != keys || found != expected_present) {
    state.SkipWithError(("the scan did not find what the file holds: " + result.why).c_str());
    return;
  }

  present.clear();
  present.shrink_to_fit();
  const std::uint64_t live = ckbench::HeapBytesLive();
  ckbench::ResetHeapPeak();
  benchmark::DoNotOptimize(ck::host::ScanCacheKeys(file, ck::host::kCachedOffsetSize, wanted, present));
  state.counters["peak_heap_bytes"] = static_cast<double>(ckbench::HeapBytesPeak() - live);
  state.counters["keys"] = static_cast<double>(keys);
  state.counters["wanted_found"] = static_cast<double>(found);
}

void BM_CacheScanKeys(benchmark::State& state) {
  Scans(state, Files().large(), kLargeKeys, kWantedInFile);
  state.counters["mean_key_length"] = Files().mean_key_length();
}
BENCHMARK(BM_CacheScanKeys)->Unit(benchmark::kMillisecond);

// A file a tenth the size: the same peak heap.
void BM_CacheScanKeysSmallFile(benchmark::State& state) {
  Scans(state, Files().small(), kSmallKeys, Files().wanted_in_small());
}
BENCHMARK(BM_CacheScanKeysSmallFile)->Unit(benchmark::kMillisecond);

}  // namespace
