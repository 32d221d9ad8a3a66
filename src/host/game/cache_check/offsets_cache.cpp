// Reading the keys of one of the framework's offsets cache files, refusing
// exactly what the framework itself refuses.
#include "host/game/cache_check/offsets_cache.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <fstream>
#include <memory>
#include <system_error>

namespace ck::host {

namespace {

namespace fs = std::filesystem;

// The read buffer holds the longest key the framework accepts, or the whole
// file when that is smaller: a key is always whole in it, however the file
// is chunked.
constexpr std::size_t kLongestBuffer = static_cast<std::size_t>(kCacheMaxKeyLength);
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// --- reading a cache file

std::uint64_t Load64(const char* bytes) {
  std::uint64_t value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

std::uint64_t LoadLittleEndian64(const char* bytes) {
  if constexpr (std::endian::native == std::endian::little) {
    return Load64(bytes);
  } else {
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return value;
  }
}

// A key's fingerprint: its length and two 8-byte words, the first and the
// last eight bytes of the key (for a key shorter than eight bytes both are
// the key behind zero bytes). It costs the same whatever the key's length,
// and keys of one length that share a long prefix (one class's members)
// still differ in it.
std::uint64_t Fingerprint(std::uint64_t length, std::uint64_t first, std::uint64_t last) {
  std::uint64_t h = (first * 0x9E3779B97F4A7C15ull) ^ ((last + length) * 0xC2B2AE3D27D4EB4Full);
  h ^= h >> 29;
  return h * 0xBF58476D1CE4E5B9ull;
}

// The fingerprint of a key anywhere in memory: reads the key's bytes only.
std::uint64_t FingerprintOf(const char* key, std::size_t length) {
  if (length >= 8) return Fingerprint(length, Load64(key), Load64(key + length - 8));
  char padded[8] = {};
  std::memcpy(padded + 8 - length, key, length);
  const std::uint64_t word = Load64(padded);
  return Fingerprint(length, word, word);
}

// The fingerprint of a key that directly follows its 8-byte length field, as
// every key in the read buffer does until the buffer is compacted: for a
// key of fewer than eight bytes the eight bytes ending with the key are the
// zero high bytes of its length field, then the key (the field's low byte,
// the length itself, lies outside them), so no branch is needed and no
// byte outside the record is read. Equal to FingerprintOf(key, length).
std::uint64_t FingerprintAfterLength(const char* key, std::size_t length) {
  const std::uint64_t last = Load64(key + length - 8);
  const std::uint64_t first = Load64(key + std::min<std::size_t>(length, 8) - 8);
  return Fingerprint(length, first, last);
}

// The wanted keys, built once per scan: a bit filter of their fingerprints
// that nearly every key of the file fails at the cost of one bit test, and
// an open-addressing table, asked only when the bit is set, that finds the
// wanted key by fingerprint and compares it byte for byte.
class WantedKeys {
 public:
  explicit WantedKeys(std::span<const std::string_view> wanted) : wanted_(wanted), same_(wanted.size(), kNone) {
    std::size_t slots = 8;
    while (slots < 2 * wanted.size()) slots *= 2;
    slots_.assign(slots, Slot{});
    mask_ = slots - 1;
    for (std::size_t i = 0; i < wanted.size(); ++i) {
      const std::string_view key = wanted[i];
      // A key of no bytes or longer than the limit is never in an accepted file.
      if (key.empty() || key.size() > kCacheMaxKeyLength) continue;
      const std::uint64_t fingerprint = FingerprintOf(key.data(), key.size());
      const std::size_t first = Find(key.data(), key.size(), fingerprint);
      if (first != kNone) {
        // The same text again: chained to the first, marked with it.
        std::size_t tail = first;
        while (same_[tail] != kNone) tail = same_[tail];
        same_[tail] = i;
        continue;
      }
      const std::size_t bit = FilterBit(fingerprint);
      filter_[bit / 64] |= std::uint64_t{1} << (bit % 64);
      std::size_t at = fingerprint & mask_;
      while (slots_[at].index_plus_one != 0) at = (at + 1) & mask_;
      slots_[at] = Slot{fingerprint, i + 1};
    }
  }

  // False when no wanted key has this fingerprint.
  bool MayHold(std::uint64_t fingerprint) const {
    const std::size_t bit = FilterBit(fingerprint);
    return (filter_[bit / 64] >> (bit % 64)) & 1;
  }

  // The first index of `wanted` whose text is these bytes, or kNone.
  std::size_t Find(const char* key, std::size_t length, std::uint64_t fingerprint) const {
    for (std::size_t at = fingerprint & mask_; slots_[at].index_plus_one != 0; at = (at + 1) & mask_) {
      const Slot& slot = slots_[at];
      if (slot.fingerprint != fingerprint) continue;
      const std::string_view candidate = wanted_[slot.index_plus_one - 1];
      if (candidate.size() == length && std::memcmp(candidate.data(), key, length) == 0) {
        return slot.index_plus_one - 1;
      }
    }
    return kNone;
  }

  // The next index of `wanted` with the same text as `index`, or kNone.
  std::size_t NextSame(std::size_t index) const { return same_[index]; }

 private:
  static constexpr int kFilterBitsLog2 = 13;  // 8192 bits: about 1% of a file's keys pass for 100 wanted ones

  struct Slot {
    std::uint64_t fingerprint = 0;
    std::size_t index_plus_one = 0;  // 0: empty
  };

  static std::size_t FilterBit(std::uint64_t fingerprint) {
    return static_cast<std::size_t>(fingerprint >> (64 - kFilterBitsLog2));
  }

  std::span<const std::string_view> wanted_;
  std::vector<std::size_t> same_;
  std::uint64_t filter_[(std::size_t{1} << kFilterBitsLog2) / 64] = {};
  std::vector<Slot> slots_;  // a power of two, at most half full
  std::size_t mask_ = 0;
};

// A file read front to back through one buffer of `capacity` bytes, at
// most `read_size` bytes a read. The bytes not yet consumed are
// [pos_, end_); a request for more than that moves them to the front and
// reads behind them, so a record that straddles two reads is whole in the
// buffer without a copy of its own.
class ChunkReader {
 public:
  ChunkReader(const fs::path& file, std::size_t capacity, std::size_t read_size)
      : buffer_(std::make_unique_for_overwrite<char[]>(capacity)),
        capacity_(capacity),
        read_size_(std::clamp<std::size_t>(read_size, 1, capacity)) {
    // Unbuffered: each read goes straight into buffer_.
    in_.rdbuf()->pubsetbuf(nullptr, 0);
    in_.open(file, std::ios::binary);
  }

  bool Opened() const { return in_.is_open(); }
  bool ReadFailed() const { return in_.bad(); }
  std::size_t Available() const { return end_ - pos_; }
  const char* Data() const { return buffer_.get() + pos_; }
  void Advance(std::size_t n) { pos_ += n; }

  // Makes `n` bytes available at Data(); false when the file ends first, or
  // when they do not fit in the buffer (the file has grown since its size
  // was taken: the record is cut short as far as the buffer goes).
  bool Ensure(std::size_t n) { return Available() >= n || Refill(n); }

  // Passes over `n` bytes; false when the file ends first.
  bool Skip(std::uint64_t n) {
    if (n <= Available()) {
      pos_ += static_cast<std::size_t>(n);
      return true;
    }
    return SkipSlowly(n);
  }

 private:
  std::size_t Read(char* into, std::size_t n) {
    in_.read(into, static_cast<std::streamsize>(n));
    return static_cast<std::size_t>(in_.gcount());
  }

  bool Refill(std::size_t n) {
    const std::size_t kept = Available();
    std::memmove(buffer_.get(), buffer_.get() + pos_, kept);
    pos_ = 0;
    end_ = kept;
    while (end_ < n) {
      const std::size_t got = Read(buffer_.get() + end_, std::min(read_size_, capacity_ - end_));
      if (got == 0) return false;
      end_ += got;
    }
    return true;
  }

  bool SkipSlowly(std::uint64_t n) {
    n -= Available();
    pos_ = end_ = 0;
    while (n > 0) {
      const std::size_t got = Read(buffer_.get(), read_size_);
      if (got == 0) return false;
      if (got >= n) {
        pos_ = static_cast<std::size_t>(n);
        end_ = got;
        return true;
      }
      n -= got;
    }
    return true;
  }

  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_;
  std::size_t read_size_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  std::ifstream in_;
};

// A wanted key for a message, cut to a readable length.
std::string QuotedKey(std::string_view key) {
  if (key.size() > 100) return "\"" + std::string(key.substr(0, 97)) + "...\"";
  return "\"" + std::string(key) + "\"";
}

// One scan: the records of the file, each checked as the framework checks
// it, the wanted keys marked as they are found.
class Scan {
 public:
  Scan(const fs::path& file, std::size_t capacity, std::size_t read_size, std::size_t value_size,
       std::span<const std::string_view> wanted, std::vector<bool>& present)
      : reader_(file, capacity, read_size),
        value_size_(value_size),
        wanted_(wanted),
        keys_(wanted),
        present_(present) {}

  bool Opened() const { return reader_.Opened(); }

  // "" when the file is accepted, else why it is refused.
  std::string Run() {
    for (;;) {
      if (std::string why = WholeRecords(); !why.empty()) return why;
      // The next record is not whole in the buffer, or is to be refused.
      if (!reader_.Ensure(8)) {
        if (reader_.Available() == 0 && !reader_.ReadFailed()) break;  // the file ends between two records
        return CutShort();
      }
      if (records_ == kCacheMaxRecords) return "more than 5000000 records";
      const std::uint64_t length = LoadLittleEndian64(reader_.Data());
      reader_.Advance(8);
      if (length == 0) return "a key of length 0";
      if (length > kCacheMaxKeyLength) return "a key longer than 1 MiB";
      // The key may have been moved away from its length field: fingerprinted
      // from its own bytes only.
      if (!reader_.Ensure(static_cast<std::size_t>(length))) return CutShort();
      const std::size_t match = Match(reader_.Data(), static_cast<std::size_t>(length),
                                      FingerprintOf(reader_.Data(), static_cast<std::size_t>(length)));
      reader_.Advance(static_cast<std::size_t>(length));
      if (!reader_.Skip(value_size_)) return CutShort();
      if (std::string why = Count(match); !why.empty()) return why;
    }
    if (records_ == 0) return "no records";
    return {};
  }

  std::uint64_t records() const { return records_; }

 private:
  // Walks the records lying whole in the buffer, in place: the path nearly
  // every record takes. Stops at the first one that is not whole, would be
  // refused, or would go over the record limit, and leaves it to Run.
  std::string WholeRecords() {
    const char* const begin = reader_.Data();
    const char* p = begin;
    std::size_t left = reader_.Available();
    while (left >= 8) {
      const std::uint64_t length = LoadLittleEndian64(p);
      // length - 1 wraps for 0: one test for both ends of the range.
      if (length - 1 >= kCacheMaxKeyLength || length > left - 8 || value_size_ > left - 8 - length ||
          records_ == kCacheMaxRecords) {
        break;
      }
      const char* key = p + 8;
      const std::uint64_t fingerprint = FingerprintAfterLength(key, static_cast<std::size_t>(length));
      const std::size_t record = 8 + static_cast<std::size_t>(length) + value_size_;
      if (keys_.MayHold(fingerprint)) [[unlikely]] {
        const std::size_t match = keys_.Find(key, static_cast<std::size_t>(length), fingerprint);
        if (std::string why = Count(match); !why.empty()) return why;
      } else {
        ++records_;
      }
      p += record;
      left -= record;
    }
    reader_.Advance(static_cast<std::size_t>(p - begin));
    return {};
  }

  std::size_t Match(const char* key, std::size_t length, std::uint64_t fingerprint) const {
    return keys_.MayHold(fingerprint) ? keys_.Find(key, length, fingerprint) : kNone;
  }

  // Counts a record just read whole; a key counts once its whole record is
  // read, as the framework takes it.
  std::string Count(std::size_t match) {
    ++records_;
    if (match == kNone) return {};
    if (present_[match]) return "the key " + QuotedKey(wanted_[match]) + " occurs twice";
    for (std::size_t i = match; i != kNone; i = keys_.NextSame(i)) present_[i] = true;
    return {};
  }

  std::string CutShort() const {
    return reader_.ReadFailed() ? "could not be read" : "a record runs past the end of the file";
  }

  ChunkReader reader_;
  std::size_t value_size_;
  std::span<const std::string_view> wanted_;
  WantedKeys keys_;
  std::vector<bool>& present_;
  std::uint64_t records_ = 0;
};

}  // namespace

KeyScanResult ScanCacheKeys(const fs::path& file, std::size_t value_size, std::span<const std::string_view> wanted,
                            std::vector<bool>& present) {
  return ScanCacheKeysInReadsOf(kCacheReadSize, file, value_size, wanted, present);
}

KeyScanResult ScanCacheKeysInReadsOf(std::size_t read_size, const fs::path& file, std::size_t value_size,
                                     std::span<const std::string_view> wanted, std::vector<bool>& present) {
  present.assign(wanted.size(), false);
  KeyScanResult result;
  const auto refuse = [&](std::string_view what) {
    present.assign(wanted.size(), false);
    result.why = PathText(file.filename()) + ": " + std::string(what);
    return result;
  };

  std::error_code error;
  if (!fs::is_regular_file(file, error)) return refuse("missing or not a regular file");
  const std::uintmax_t size = fs::file_size(file, error);
  if (error) return refuse("could not be read");
  if (size == 0) return refuse("the file is empty");

  // No key is longer than the file; eight bytes hold a key's length.
  const std::size_t capacity = static_cast<std::size_t>(std::clamp<std::uintmax_t>(size, 8, kLongestBuffer));
  Scan scan(file, capacity, read_size, value_size, wanted, present);
  if (!scan.Opened()) return refuse("could not be opened");
  const std::string why = scan.Run();
  result.records = scan.records();
  if (!why.empty()) return refuse(why);
  result.readable = true;
  return result;
}

}  // namespace ck::host
