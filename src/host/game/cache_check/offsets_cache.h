// The framework's offsets cache (ArkApi/Cache): which of the plugin's keys
// one of the running build's cache files holds, read the way the framework
// reads it. The folder holding those files is found by cache_folder.h.
//
// The active folder holds cached_offsets.cache (each key with an 8-byte offset) and
// cached_bitfields.cache (each key with a 32-byte bit field). A cache file
// is a run of records: the key's length as 8 bytes little-endian, the key's
// bytes, then the value. The framework refuses a whole file for one bad
// record, so a key the plugin finds in a file the framework would refuse is
// no key at all: the scan refuses exactly the files the framework refuses
// (except for repeats of keys the plugin does not ask about, see below).
//
// Plain file reading, no framework or game object: any thread. Nothing here
// throws for a bad file or folder; only running out of memory throws.
#pragma once

#include "host/game/cache_check/cache_folder.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ck::host {

// The framework's limits on a cache file.
inline constexpr std::uint64_t kCacheMaxKeyLength = 1024 * 1024;  // bytes; a key of 0 bytes is refused too
inline constexpr std::uint64_t kCacheMaxRecords = 5'000'000;
// How much of a cache file the scan reads at a time: the longest key.
// Fewer, larger reads cost less than the walk gains from smaller ones
// staying in the processor's cache.
inline constexpr std::size_t kCacheReadSize = static_cast<std::size_t>(kCacheMaxKeyLength);
// A value's size in each file.
inline constexpr std::size_t kCachedOffsetSize = 8;     // cached_offsets.cache: a signed 64-bit offset
inline constexpr std::size_t kCachedBitFieldSize = 32;  // cached_bitfields.cache: a BitField record

// What a scan of one cache file found.
struct KeyScanResult {
  bool readable = false;      // false: the file was refused or could not be read; `why` says why
  std::string why;            // one short English phrase, e.g. "cached_offsets.cache: a record runs past the end of the file"
  std::uint64_t records = 0;  // records read (for the log and tests)
};

// Reads the key set of one cache file the way the framework reads it (streaming, in fixed-size chunks, bounded) and
// marks which of `wanted` it holds: present[i] is set when wanted[i] is a key of the file. `value_size` is 8 for the
// offsets file and 32 for the bitfields file. `present` is resized to wanted.size() and reset first.
// Refuses the file as the framework does (see above); a key of `wanted` that occurs twice is a repeated key.
// A repeated key that is not one of `wanted` is NOT detected: memory stays bounded by `wanted`, never by the file.
// Never throws for a bad file, never reads past the end of the file or of its buffer.
//
// Refused: a path that is missing or no regular file, an empty file, a key
// length of 0 or over kCacheMaxKeyLength, a record cut short (its length,
// key or value), a wanted key that occurs twice, more than kCacheMaxRecords
// records. On a refusal every entry of `present` is false again. The same
// text may stand in `wanted` more than once; each of its entries is marked.
// Memory: one buffer of kCacheMaxKeyLength bytes (or the file's size when
// that is smaller), so that any key fits in it whole, and tables the size of
// `wanted`. The file is read from its start kCacheReadSize bytes at a time
// (the first read ends exactly there), less when a record that straddles two
// reads is kept in the buffer.
KeyScanResult ScanCacheKeys(const std::filesystem::path& file, std::size_t value_size,
                            std::span<const std::string_view> wanted, std::vector<bool>& present);

// ScanCacheKeys reading at most `read_size` bytes at a time instead of
// kCacheReadSize: the same result for every read size. Small reads make
// records straddle reads in small files, for the tests and the fuzzer.
KeyScanResult ScanCacheKeysInReadsOf(std::size_t read_size, const std::filesystem::path& file, std::size_t value_size,
                                     std::span<const std::string_view> wanted, std::vector<bool>& present);

}  // namespace ck::host
