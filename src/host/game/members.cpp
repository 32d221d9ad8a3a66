// Resolving game members by key through the framework door, and the bit
// flag and missing-key rules they share.
#include "host/game/members.h"

#include <algorithm>

#include <cstdint>
#include <cstring>
#include <string>

#include "host/framework/framework.h"

namespace ck::host {

namespace {

uint32 MaskOf(const BitField& field) {
  const uint64 bits = field.num_bits == 0 ? 1 : field.num_bits;
  const uint64 ones = bits >= 32 ? 0xFFFFFFFFull : ((1ull << bits) - 1);
  return static_cast<uint32>(ones << field.bit_position);
}

}  // namespace

std::ptrdiff_t ResolveFieldOffset(const void* object, const char* key) {
  const auto address = reinterpret_cast<std::uintptr_t>(FieldAddress(object, key));
  return static_cast<std::ptrdiff_t>(address - reinterpret_cast<std::uintptr_t>(object));
}

MissingGameKey::MissingGameKey(const char* key)
    : std::runtime_error(std::string("game key not in this game build: ") + key) {}

void* ResolveFunctionAddress(const char* key) { return FunctionAddress(key); }

bool GameKey::BoundFormIs(std::span<const AbiClass> form) const {
  if (missing_) return false;
  const std::span<const AbiClass> bound = NameForm(bound_name_);
  return std::equal(bound.begin(), bound.end(), form.begin(), form.end());
}

void GameKey::ThrowBoundToOtherForm() const {
  throw std::logic_error(std::string("game key ") + bound_key_ + " is called in another form than it has");
}

void GameKey::ResolveFunction(std::span<const AbiClass> form) const {
  RequirePresent();
  if (!BoundFormIs(form)) ThrowBoundToOtherForm();
  void* address = ResolveFunctionAddress(bound_key_);
  if (address == nullptr) {
    missing_ = true;
    throw MissingGameKey(bound_key_);
  }
  answer_ = reinterpret_cast<std::uintptr_t>(address);
  resolved_ = true;
}

bool BitFlag::Read(const void* object) const {
  if (object == nullptr) return false;
  RequirePresent();
  const BitField field = BitFieldOf(object, bound_key_);
  uint32 word = 0;
  std::memcpy(&word, reinterpret_cast<const void*>(field.offset), sizeof(word));
  return (word & MaskOf(field)) != 0;
}

void BitFlag::Write(const void* object, bool value) const {
  if (object == nullptr) return;
  RequirePresent();
  const BitField field = BitFieldOf(object, bound_key_);
  void* address = reinterpret_cast<void*>(field.offset);
  uint32 word = 0;
  std::memcpy(&word, address, sizeof(word));
  const uint32 mask = MaskOf(field);
  word = value ? (word | mask) : (word & ~mask);
  std::memcpy(address, &word, sizeof(word));
}

}  // namespace ck::host
