#include "host/game/cache_check/offsets_cache.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;
using ck::host::FindActiveCacheFolder;
using ck::host::kCachedBitFieldSize;
using ck::host::kCachedOffsetSize;
using ck::host::kCacheMaxKeyLength;
using ck::host::KeyScanResult;
using ck::host::ScanCacheKeys;

constexpr std::size_t kMiB = 1024 * 1024;
// The scan's first read ends exactly here, so a record laid across this
// offset straddles two reads.
constexpr std::size_t kFirstReadEnd = ck::host::kCacheReadSize;

// The bytes of a cache file, record by record.
class CacheBytes {
 public:
  explicit CacheBytes(std::size_t value_size) : value_size_(value_size) {}

  CacheBytes& Length(std::uint64_t length) {
    for (int i = 0; i < 8; ++i) bytes_.push_back(static_cast<char>((length >> (8 * i)) & 0xFF));
    return *this;
  }
  CacheBytes& Raw(std::string_view bytes) {
    bytes_.append(bytes);
    return *this;
  }
  // A whole record: its value is the record's number, so no two look alike.
  CacheBytes& Record(std::string_view key) {
    Length(key.size()).Raw(key);
    for (std::size_t i = 0; i < value_size_; ++i) bytes_.push_back(static_cast<char>(count_ + i));
    ++count_;
    return *this;
  }

  const std::string& bytes() const { return bytes_; }
  std::size_t size() const { return bytes_.size(); }
  std::size_t value_size() const { return value_size_; }

 private:
  std::size_t value_size_;
  std::string bytes_;
  std::size_t count_ = 0;
};

// A scratch folder of the test's own, removed afterwards.
class OffsetsCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100 && root_.empty(); ++attempt) {
      const fs::path candidate = fs::temp_directory_path() /
                                 ("cradlekeep-offsets-cache-" + std::to_string(stamp) + "-" + std::to_string(random()));
      std::error_code error;
      if (fs::create_directory(candidate, error)) root_ = candidate;
    }
    ASSERT_FALSE(root_.empty()) << "no scratch folder";
  }
  void TearDown() override {
    std::error_code error;
    fs::remove_all(root_, error);
  }

  fs::path Write(const fs::path& relative, std::string_view bytes) {
    const fs::path path = root_ / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  fs::path WriteOffsets(const CacheBytes& file) { return Write("cached_offsets.cache", file.bytes()); }

  // Scans the file with `wanted`; present is checked to match the wanted list's size.
  KeyScanResult Scan(const fs::path& path, std::size_t value_size, const std::vector<std::string_view>& wanted) {
    present_ = {true, false, true};  // stale from an earlier scan: reset by the scan
    KeyScanResult result = ScanCacheKeys(path, value_size, wanted, present_);
    EXPECT_EQ(present_.size(), wanted.size());
    return result;
  }

  // Refused with that reason, and nothing marked present.
  void ExpectRefused(const KeyScanResult& result, std::string_view why) {
    EXPECT_FALSE(result.readable);
    EXPECT_EQ(result.why, why);
    for (std::size_t i = 0; i < present_.size(); ++i) {
      EXPECT_FALSE(present_[i]) << "entry " << i << " of a refused file";
    }
  }

  fs::path root_;
  std::vector<bool> present_;
};

const std::vector<std::string_view> kWanted = {
    "UPrimalInventoryComponent.AddItemObjectEx(UPrimalItem*,bool,bool,bool,bool,bool,bool,bool)",
    "APrimalDinoCharacter.bIsCarnivore",  // absent from the files below
    "AShooterCharacter.MyInventoryComponent",
    "UPrimalItem.ItemQuantity",
};

// --- files the framework accepts

TEST_F(OffsetsCacheTest, MarksTheWantedKeysAGoodFileHoldsForBothValueSizes) {
  for (const std::size_t value_size : {kCachedOffsetSize, kCachedBitFieldSize}) {
    SCOPED_TRACE(value_size);
    CacheBytes file(value_size);
    file.Record("AShooterCharacter.MyInventoryComponent")
        .Record("UPrimalItem.ItemQuantity")
        .Record("UPrimalItem.ItemQuantit")    // one byte shorter than a wanted key
        .Record("UPrimalItem.ItemQuantityX")  // one byte longer
        .Record("UPrimalItem.ItemQuantitz")   // the same length, the last byte differs
        .Record("UPrimalInventoryComponent.AddItemObjectEx(UPrimalItem*,bool,bool,bool,bool,bool,bool,bool)")
        .Record("x");
    const KeyScanResult result = Scan(WriteOffsets(file), value_size, kWanted);
    EXPECT_TRUE(result.readable) << result.why;
    EXPECT_EQ(result.why, "");
    EXPECT_EQ(result.records, 7u);
    EXPECT_EQ(present_, (std::vector<bool>{true, false, true, true}));
  }
}

TEST_F(OffsetsCacheTest, NoWantedKeysOrOnlyUnusableOnesStillReadTheWholeFile) {
  CacheBytes file(kCachedOffsetSize);
  file.Record("a").Record("b").Record("c");
  const fs::path path = WriteOffsets(file);
  KeyScanResult result = Scan(path, kCachedOffsetSize, {});
  EXPECT_TRUE(result.readable);
  EXPECT_EQ(result.records, 3u);
  // An empty key can never be in an accepted file, nor one over the length limit.
  const std::string too_long(kCacheMaxKeyLength + 1, 'k');
  result = Scan(path, kCachedOffsetSize, {"", too_long});
  EXPECT_TRUE(result.readable);
  EXPECT_EQ(present_, (std::vector<bool>{false, false}));
}

TEST_F(OffsetsCacheTest, TheSameTextTwiceInTheWantedListIsMarkedAtEachEntry) {
  CacheBytes file(kCachedOffsetSize);
  file.Record("UPrimalItem.ItemQuantity").Record("other");
  const KeyScanResult result =
      Scan(WriteOffsets(file), kCachedOffsetSize,
           {"UPrimalItem.ItemQuantity", "missing", "UPrimalItem.ItemQuantity", "UPrimalItem.ItemQuantity"});
  EXPECT_TRUE(result.readable) << result.why;
  EXPECT_EQ(present_, (std::vector<bool>{true, false, true, true}));
}

TEST_F(OffsetsCacheTest, KeysAreComparedByteForByte) {
  // Keys sharing length, first, middle and last eight bytes differ only
  // inside: the cheap filters pass them and the full comparison decides.
  const std::string wanted = "AClass.0123456789abcdefXYZ0123456789abcdef";
  std::string twin = wanted;
  twin[10] = '#';
  // Keys shorter than a word: "id" is found, "ie" and "i" are not it.
  CacheBytes file(kCachedOffsetSize);
  file.Record(twin).Record(std::string("with\0nul", 8)).Record("ie").Record("i").Record("id");
  const KeyScanResult result =
      Scan(WriteOffsets(file), kCachedOffsetSize, {wanted, std::string_view("with\0nul", 8), "with", "id", "d"});
  EXPECT_TRUE(result.readable) << result.why;
  EXPECT_EQ(present_, (std::vector<bool>{false, true, false, true, false}));
}

TEST_F(OffsetsCacheTest, ARepeatedKeyTheScanDoesNotWantIsNotDetected) {
  // Memory stays bounded by the wanted list: only wanted keys are remembered.
  CacheBytes file(kCachedOffsetSize);
  file.Record("AClass.Other").Record("UPrimalItem.ItemQuantity").Record("AClass.Other");
  const KeyScanResult result = Scan(WriteOffsets(file), kCachedOffsetSize, kWanted);
  EXPECT_TRUE(result.readable) << result.why;
  EXPECT_EQ(result.records, 3u);
}

// --- files the framework refuses

TEST_F(OffsetsCacheTest, RefusesAMissingPathAFolderAndAnEmptyFile) {
  ExpectRefused(Scan(root_ / "cached_offsets.cache", kCachedOffsetSize, kWanted),
                "cached_offsets.cache: missing or not a regular file");
  fs::create_directories(root_ / "folder" / "cached_bitfields.cache");
  ExpectRefused(Scan(root_ / "folder" / "cached_bitfields.cache", kCachedBitFieldSize, kWanted),
                "cached_bitfields.cache: missing or not a regular file");
  ExpectRefused(Scan(Write("cached_offsets.cache", ""), kCachedOffsetSize, kWanted),
                "cached_offsets.cache: the file is empty");
}

TEST_F(OffsetsCacheTest, RefusesAKeyLengthOfZeroOrOverOneMebibyte) {
  CacheBytes zero(kCachedOffsetSize);
  zero.Record("UPrimalItem.ItemQuantity").Length(0).Raw(std::string(kCachedOffsetSize, '\0'));
  ExpectRefused(Scan(WriteOffsets(zero), kCachedOffsetSize, kWanted), "cached_offsets.cache: a key of length 0");

  // Refused on the length alone, before any of the key is read.
  for (const std::uint64_t length : {kCacheMaxKeyLength + 1, std::uint64_t{1} << 63, ~std::uint64_t{0}}) {
    SCOPED_TRACE(length);
    CacheBytes huge(kCachedOffsetSize);
    huge.Record("UPrimalItem.ItemQuantity").Length(length).Raw("short");
    ExpectRefused(Scan(WriteOffsets(huge), kCachedOffsetSize, kWanted),
                  "cached_offsets.cache: a key longer than 1 MiB");
  }
}

TEST_F(OffsetsCacheTest, RefusesARecordCutShortAnywhere) {
  CacheBytes whole(kCachedBitFieldSize);
  whole.Record("AShooterCharacter.MyInventoryComponent").Record("UPrimalItem.ItemQuantity");
  const std::string& bytes = whole.bytes();
  const std::size_t last = bytes.size() - (8 + 24 + kCachedBitFieldSize);  // where the second record starts
  // Every cut inside the last record: its length, its key (a wanted one, so
  // it is compared) and its value.
  for (std::size_t end = last + 1; end < bytes.size(); ++end) {
    SCOPED_TRACE(end);
    const fs::path path = Write("cached_bitfields.cache", std::string_view(bytes).substr(0, end));
    ExpectRefused(Scan(path, kCachedBitFieldSize, kWanted),
                  "cached_bitfields.cache: a record runs past the end of the file");
  }
  // A key that is not wanted, only passed over, cut short; and a lone length.
  CacheBytes unwanted(kCachedOffsetSize);
  unwanted.Record("UPrimalItem.ItemQuantity").Length(300).Raw("AClass.");
  ExpectRefused(Scan(WriteOffsets(unwanted), kCachedOffsetSize, kWanted),
                "cached_offsets.cache: a record runs past the end of the file");
  CacheBytes lone(kCachedOffsetSize);
  lone.Length(5);
  ExpectRefused(Scan(WriteOffsets(lone), kCachedOffsetSize, kWanted),
                "cached_offsets.cache: a record runs past the end of the file");
}

TEST_F(OffsetsCacheTest, RefusesAWantedKeyThatOccursTwice) {
  CacheBytes file(kCachedOffsetSize);
  file.Record("UPrimalItem.ItemQuantity").Record("AClass.Other").Record("UPrimalItem.ItemQuantity");
  ExpectRefused(Scan(WriteOffsets(file), kCachedOffsetSize, kWanted),
                "cached_offsets.cache: the key \"UPrimalItem.ItemQuantity\" occurs twice");
}

// --- records laid across the end of the scan's first read

// Files whose record number 2, or just its length, key or value, lies
// across the first read's end, at every split: a filler record that ends
// inside the first read, then the straddling record, then a wanted key that
// must still be found at the right place.
TEST_F(OffsetsCacheTest, ARecordAcrossTheEndOfARead) {
  const std::string_view straddler = "AShooterCharacter.MyInventoryComponent";
  const std::string unwanted(straddler.size() + 3, 'u');  // a length no wanted key has
  for (const bool wanted : {true, false}) {
    const std::string_view key = wanted ? straddler : std::string_view(unwanted);
    const std::size_t record = 8 + key.size() + kCachedOffsetSize;
    for (std::size_t split = 1; split < record; ++split) {
      SCOPED_TRACE(std::string(wanted ? "wanted" : "unwanted") + " straddler, bytes before the end: " +
                   std::to_string(split));
      // The filler, whole in the first read, ends where the straddler must start.
      const std::size_t filler = kFirstReadEnd - split - 8 - kCachedOffsetSize;
      CacheBytes file(kCachedOffsetSize);
      file.Record(std::string(filler, 'f')).Record(key).Record("UPrimalItem.ItemQuantity");
      ASSERT_GT(file.size(), kFirstReadEnd);
      const KeyScanResult result = Scan(WriteOffsets(file), kCachedOffsetSize, kWanted);
      ASSERT_TRUE(result.readable) << result.why;
      EXPECT_EQ(result.records, 3u);
      EXPECT_EQ(present_, (std::vector<bool>{false, false, wanted, true}));
    }
  }
}

TEST_F(OffsetsCacheTest, AKeyOfTheLongestLengthIsFoundOrPassedOverAcrossReads) {
  std::string longest(kCacheMaxKeyLength, 'L');
  longest.front() = 'A';
  longest.back() = 'Z';
  std::string other = longest;
  other[kCacheMaxKeyLength / 3] = 'o';  // the same length, the same ends: compared in full
  const std::vector<std::string_view> wanted = {longest, "UPrimalItem.ItemQuantity"};

  // Starting a few bytes in, the key fills more than one read whichever way.
  CacheBytes found(kCachedBitFieldSize);
  found.Record("short").Record(longest).Record("UPrimalItem.ItemQuantity");
  KeyScanResult result = Scan(Write("cached_bitfields.cache", found.bytes()), kCachedBitFieldSize, wanted);
  ASSERT_TRUE(result.readable) << result.why;
  EXPECT_EQ(result.records, 3u);
  EXPECT_EQ(present_, (std::vector<bool>{true, true}));

  CacheBytes passed(kCachedBitFieldSize);
  passed.Record("short")
      .Record(other)
      .Record(std::string(kCacheMaxKeyLength - 7, 'p'))
      .Record("UPrimalItem.ItemQuantity");
  result = Scan(Write("cached_bitfields.cache", passed.bytes()), kCachedBitFieldSize, wanted);
  ASSERT_TRUE(result.readable) << result.why;
  EXPECT_EQ(result.records, 4u);
  EXPECT_EQ(present_, (std::vector<bool>{false, true}));

  CacheBytes cut(kCachedBitFieldSize);
  cut.Record("short").Length(kCacheMaxKeyLength).Raw(std::string_view(longest).substr(0, kCacheMaxKeyLength - 1));
  ExpectRefused(Scan(Write("cached_bitfields.cache", cut.bytes()), kCachedBitFieldSize, wanted),
                "cached_bitfields.cache: a record runs past the end of the file");
}

// Small files read a few bytes at a time: every record, and every part of
// one, falls across reads somewhere, and the result is the one a single
// read gives.
TEST_F(OffsetsCacheTest, EveryReadSizeGivesTheSameResult) {
  CacheBytes good(kCachedBitFieldSize);
  good.Record("id")
      .Record("UPrimalItem.ItemQuantity")
      .Record(std::string(200, 'k'))
      .Record("x")
      .Record("AShooterCharacter.MyInventoryComponent");
  CacheBytes repeated(kCachedOffsetSize);
  repeated.Record("UPrimalItem.ItemQuantity").Record("other").Record("UPrimalItem.ItemQuantity");
  CacheBytes cut(kCachedOffsetSize);
  cut.Record("AShooterCharacter.MyInventoryComponent").Record("UPrimalItem.ItemQuantity");
  const std::string cut_bytes = cut.bytes().substr(0, cut.size() - 3);
  const std::vector<std::string_view> wanted = {"UPrimalItem.ItemQuantity", "id",
                                                "AShooterCharacter.MyInventoryComponent", "missing", "x"};

  struct Case {
    const char* name;
    std::string bytes;
    std::size_t value_size;
  };
  for (const Case& c : {Case{"good", good.bytes(), kCachedBitFieldSize},
                        Case{"repeated", repeated.bytes(), kCachedOffsetSize},
                        Case{"cut", cut_bytes, kCachedOffsetSize}}) {
    const fs::path path = Write("cached_offsets.cache", c.bytes);
    std::vector<bool> once;
    const KeyScanResult whole = ScanCacheKeys(path, c.value_size, wanted, once);
    for (std::size_t read_size = 0; read_size <= 80; ++read_size) {
      SCOPED_TRACE(std::string(c.name) + ", reads of " + std::to_string(read_size));
      std::vector<bool> present;
      const KeyScanResult result = ck::host::ScanCacheKeysInReadsOf(read_size, path, c.value_size, wanted, present);
      EXPECT_EQ(result.readable, whole.readable);
      EXPECT_EQ(result.why, whole.why);
      EXPECT_EQ(result.records, whole.records);
      EXPECT_EQ(present, once);
    }
  }
  // What the single read gave, for each file in turn.
  std::vector<bool> present;
  KeyScanResult result =
      ScanCacheKeys(Write("cached_offsets.cache", good.bytes()), kCachedBitFieldSize, wanted, present);
  EXPECT_TRUE(result.readable) << result.why;
  EXPECT_EQ(present, (std::vector<bool>{true, true, true, false, true}));
  result = ScanCacheKeys(Write("cached_offsets.cache", repeated.bytes()), kCachedOffsetSize, wanted, present);
  EXPECT_EQ(result.why, "cached_offsets.cache: the key \"UPrimalItem.ItemQuantity\" occurs twice");
  result = ScanCacheKeys(Write("cached_offsets.cache", cut_bytes), kCachedOffsetSize, wanted, present);
  EXPECT_EQ(result.why, "cached_offsets.cache: a record runs past the end of the file");
}

// Several mebibytes of keys of every length up to a few hundred bytes, the
// wanted ones spread through them: whatever falls across a read's end, the
// scan finds exactly the wanted keys the file holds.
TEST_F(OffsetsCacheTest, ManyRecordsOverManyReadsAgreeWithTheKeysWritten) {
  std::mt19937_64 random(20261207);
  std::vector<std::string> wanted_text;
  for (int i = 0; i < 40; ++i) {
    const char letter = static_cast<char>('a' + i % 26);
    wanted_text.push_back("UWanted" + std::to_string(i) + "." + std::string(random() % 200, letter));
  }
  std::vector<std::string_view> wanted(wanted_text.begin(), wanted_text.end());
  std::vector<bool> expected(wanted.size(), false);
  CacheBytes file(kCachedBitFieldSize);
  std::uint64_t records = 0;
  for (int i = 0; file.size() < 5 * kMiB; ++i) {
    const std::size_t pick = random() % 400;
    if (pick < wanted.size() && !expected[pick]) {
      file.Record(wanted[pick]);
      expected[pick] = true;
    } else {
      // Never a wanted key: "UWanted" is not a prefix of these.
      file.Record("AClass" + std::to_string(i) + "." + std::string(random() % 300, 'k'));
    }
    ++records;
  }
  const KeyScanResult result = Scan(Write("cached_bitfields.cache", file.bytes()), kCachedBitFieldSize, wanted);
  ASSERT_TRUE(result.readable) << result.why;
  EXPECT_EQ(result.records, records);
  EXPECT_EQ(present_, expected);
}

// 5,000,000 records of 3-byte keys (about 95 MB) are taken, one more is
// refused. Writing the file is most of the test's second.
TEST_F(OffsetsCacheTest, RefusesMoreThanFiveMillionRecords) {
  const fs::path path = root_ / "cached_offsets.cache";
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::string block;
    constexpr std::size_t kRecord = 8 + 3 + 8;
    block.reserve(kRecord * 100'000);
    for (std::uint32_t n = 0; n < ck::host::kCacheMaxRecords; ++n) {
      // Key n, three bytes: every key distinct, as in a real file.
      const char record[kRecord] = {3, 0, 0, 0, 0, 0, 0, 0, static_cast<char>(n), static_cast<char>(n >> 8),
                                    static_cast<char>(n >> 16)};
      block.append(record, kRecord);
      if (block.size() == block.capacity()) {
        out.write(block.data(), static_cast<std::streamsize>(block.size()));
        block.clear();
      }
    }
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
  }
  const std::string last_key = {static_cast<char>(0x3F), static_cast<char>(0x4B), static_cast<char>(0x4C)};  // 4999999
  KeyScanResult result = Scan(path, kCachedOffsetSize, {last_key, "abcd"});
  ASSERT_TRUE(result.readable) << result.why;
  EXPECT_EQ(result.records, ck::host::kCacheMaxRecords);
  EXPECT_EQ(present_, (std::vector<bool>{true, false}));

  CacheBytes one_more(kCachedOffsetSize);
  one_more.Record("abcd");
  std::ofstream(path, std::ios::binary | std::ios::app).write(one_more.bytes().data(), 20);
  result = Scan(path, kCachedOffsetSize, {last_key, "abcd"});
  ExpectRefused(result, "cached_offsets.cache: more than 5000000 records");
  EXPECT_EQ(result.records, ck::host::kCacheMaxRecords);
}

// --- the active folder, from cached_key.cache

constexpr std::string_view kHash = "0123456789abcdef0123456789ABCDEF0123456789abcdef0123456789abcdef";

std::string KeyJson(std::string_view directory, std::string_view version = "1", std::string_view hash = kHash) {
  return "{\"version\": " + std::string(version) + ", \"executable_hash\": \"" + std::string(hash) +
         "\", \"last_modified\": \"2026-12-07 10:00:00\", \"cache_directory\": \"" + std::string(directory) + "\"}";
}

class OffsetsCacheFolderTest : public OffsetsCacheTest {
 protected:
  std::optional<fs::path> Find(std::string_view key_file) {
    Write("cached_key.cache", key_file);
    why_.clear();
    return FindActiveCacheFolder(root_, why_);
  }
  void ExpectUnknown(std::string_view key_file, std::string_view why) {
    SCOPED_TRACE(key_file);
    EXPECT_EQ(Find(key_file), std::nullopt);
    EXPECT_EQ(why_, why);
  }
  std::string why_;
};

TEST_F(OffsetsCacheFolderTest, AnEmptyCacheDirectoryOrABareHashMeansTheCacheRootItself) {
  EXPECT_EQ(Find(KeyJson("")), root_);
  EXPECT_EQ(why_, "");
  EXPECT_EQ(Find(std::string(kHash)), root_);
  EXPECT_EQ(Find("  \t" + std::string(kHash) + "\r\n"), root_);
}

TEST_F(OffsetsCacheFolderTest, AGenerationsFolderIsTheActiveOneWhenItExists) {
  const std::string name = std::string(kHash) + "-123456789-0-42";
  fs::create_directories(root_ / "generations" / name);
  EXPECT_EQ(Find(KeyJson("generations/" + name)), root_ / "generations" / name);
  EXPECT_EQ(Find(KeyJson("generations\\\\" + name)), root_ / "generations" / name) << "the Windows separator";

  const std::string missing = std::string(kHash) + "-1-2-3";
  ExpectUnknown(KeyJson("generations/" + missing),
                "cached_key.cache: the folder \"generations/" + missing + "\" does not exist");
}

TEST_F(OffsetsCacheFolderTest, NoKeyFileIsNamedWithItsFolder) {
  std::string why;
  EXPECT_EQ(FindActiveCacheFolder(root_, why), std::nullopt);
  const std::u8string folder = root_.u8string();
  EXPECT_EQ(why, "no cached_key.cache in " + std::string(folder.begin(), folder.end()));
  fs::create_directories(root_ / "cached_key.cache");
  EXPECT_EQ(FindActiveCacheFolder(root_, why), std::nullopt) << "a folder of that name";
}

TEST_F(OffsetsCacheFolderTest, AnotherVersionOrHashIsAnUnknownLayout) {
  ExpectUnknown(KeyJson("", "2"), "cached_key.cache: unknown version 2");
  ExpectUnknown(KeyJson("", "0"), "cached_key.cache: unknown version 0");
  ExpectUnknown(KeyJson("", "\"1\""), "cached_key.cache: unknown version \"1\"");
  ExpectUnknown(KeyJson("", "1.5"), "cached_key.cache: unknown version 1.5");
  ExpectUnknown(R"({"executable_hash": ")" + std::string(kHash) + R"(", "cache_directory": ""})",
                "cached_key.cache: no version");
  const std::string bad_hash = "cached_key.cache: the executable hash is not 64 hex digits";
  ExpectUnknown(KeyJson("", "1", kHash.substr(1)), bad_hash);
  ExpectUnknown(KeyJson("", "1", std::string(kHash) + "0"), bad_hash);
  ExpectUnknown(KeyJson("", "1", std::string(63, 'a') + "g"), bad_hash);
  ExpectUnknown(R"({"version": 1, "executable_hash": 12, "cache_directory": ""})", bad_hash);
  ExpectUnknown(R"({"version": 1, "executable_hash": ")" + std::string(kHash) + R"("})",
                "cached_key.cache: no cache_directory text");
}

TEST_F(OffsetsCacheFolderTest, AFolderOfAnyOtherShapeIsRefusedEvenWhenItExists) {
  const std::string name = std::string(kHash) + "-1-2-3";
  fs::create_directories(root_ / "x");
  fs::create_directories(root_ / "generations" / "x");
  fs::create_directories(root_ / "generations" / name);
  for (const std::string& directory : {
           std::string("x"),
           std::string("../x"),
           std::string("/x"),
           std::string("C:\\\\x"),
           std::string("generations/x"),
           std::string("generations/"),
           "generations/" + name + "/",
           "generations/" + name + "/..",
           "generations/../generations/" + name,
           "generations//" + name,
           "./generations/" + name,
           name,
           "Generations/" + name,
           "generations/" + std::string(kHash) + "-1-2",
           "generations/" + std::string(kHash) + "-1-2-3-4",
           "generations/" + std::string(kHash) + "--2-3",
           "generations/" + std::string(kHash) + "-+1-2-3",
           "generations/" + std::string(kHash) + "-1-2-3a",
           "generations/" + std::string(kHash) + "-1-2-123456789012345678901",
           "generations/" + std::string(kHash.substr(1)) + "-1-2-3",
       }) {
    SCOPED_TRACE(directory);
    EXPECT_EQ(Find(KeyJson(directory)), std::nullopt);
    EXPECT_EQ(why_.rfind("cached_key.cache: unknown cache_directory ", 0), 0u) << why_;
  }
  ExpectUnknown(R"({"version": 1, "executable_hash": ")" + std::string(kHash) + R"(", "cache_directory": 5})",
                "cached_key.cache: no cache_directory text");
}

TEST_F(OffsetsCacheFolderTest, TextThatIsNeitherAJsonObjectNorABareHashIsRefused) {
  const std::string why = "cached_key.cache: neither a JSON object nor a bare hash";
  for (const std::string& text : {std::string(""), std::string("   "), KeyJson("").substr(0, 30), std::string("[1, 2]"),
                                  std::string("\"") + std::string(kHash) + "\"", std::string(kHash.substr(2)),
                                  std::string(kHash) + " " + std::string(kHash), std::string("{\"version\": 1} x")}) {
    ExpectUnknown(text, why);
  }
}

}  // namespace
