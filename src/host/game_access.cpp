#include "host/game_access.h"

#include <cstring>

namespace ck::host {

namespace {

uint32 MaskOf(const BitField& field) {
  const uint64 bits = field.num_bits == 0 ? 1 : field.num_bits;
  const uint64 ones = bits >= 32 ? 0xFFFFFFFFull : ((1ull << bits) - 1);
  return static_cast<uint32>(ones << field.bit_position);
}

}  // namespace

bool ReadBitField(const void* object, const std::string& key) {
  if (object == nullptr) return false;
  const BitField field = BitFieldOf(object, key);
  uint32 word = 0;
  std::memcpy(&word, reinterpret_cast<const void*>(field.offset), sizeof(word));
  return (word & MaskOf(field)) != 0;
}

void WriteBitField(const void* object, const std::string& key, bool value) {
  if (object == nullptr) return;
  const BitField field = BitFieldOf(object, key);
  void* address = reinterpret_cast<void*>(field.offset);
  uint32 word = 0;
  std::memcpy(&word, address, sizeof(word));
  const uint32 mask = MaskOf(field);
  word = value ? (word | mask) : (word & ~mask);
  std::memcpy(address, &word, sizeof(word));
}

}  // namespace ck::host
