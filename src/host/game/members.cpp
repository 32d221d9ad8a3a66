// Resolving game members by key through the framework door, and the bit
// flag and missing-key rules they share.
#include "host/game/members.h"

#include <algorithm>

#include <cstdint>
#include <cstring>
#include <exception>
#include <string>

#include "core/boundary.h"
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

std::ptrdiff_t AskFieldOffset(const GameKey& member, const void* object) {
  return ResolveFieldOffset(object, member.BoundKey());
}

MissingGameKey::MissingGameKey(const char* key)
    : std::runtime_error(std::string("game key not in this game build: ") + key) {}

void* ResolveFunctionAddress(const char* key) { return FunctionAddress(key); }

bool GameKey::BoundFormIs(std::span<const AbiClass> form) const {
  if (unchecked_) SettleFunction();
  if (missing_) return false;
  const std::span<const AbiClass> bound = NameForm(bound_name_);
  return std::equal(bound.begin(), bound.end(), form.begin(), form.end());
}

void GameKey::ThrowBoundToOtherForm() const {
  throw std::logic_error(std::string("game key ") + bound_key_ + " is called in another form than it has");
}

void GameKey::Refuse() const {
  const char* refused = bound_key_;
  if (unchecked_ && bound_name_ + 1 < NameCount()) {
    ++bound_name_;
    bound_key_ = NameKey(bound_name_);
  } else {
    missing_ = true;
  }
  resolved_ = false;
  answered_ = false;
  answer_ = 0;
  GameKeyRefused(*this, refused);
}

void GameKey::SettleFunction() const {
  while (!missing_ && !answered_) {
    void* address = nullptr;
    std::exception_ptr refusal;
    core::Attempt([&] { address = ResolveFunctionAddress(bound_key_); }, refusal);
    if (address == nullptr) {
      Refuse();
      continue;
    }
    answer_ = reinterpret_cast<std::uintptr_t>(address);
    answered_ = true;
    // A call in the catalogue's form goes straight through only when the
    // bound name has that form.
    const std::span<const AbiClass> bound = NameForm(bound_name_);
    resolved_ = std::equal(bound.begin(), bound.end(), form_.begin(), form_.end());
  }
}

void GameKey::ResolveFunction(std::span<const AbiClass> form) const {
  // On a checked build the form is known before anything is asked.
  if (unchecked_) SettleFunction();
  RequirePresent();
  if (!BoundFormIs(form)) ThrowBoundToOtherForm();
  SettleFunction();
  RequirePresent();
}

void GameKey::ResolveField(const void* object) const {
  for (;;) {
    RequirePresent();
    std::ptrdiff_t offset = 0;
    std::exception_ptr refusal;
    if (core::Attempt([&] { offset = ResolveFieldOffset(object, bound_key_); }, refusal)) {
      answer_ = static_cast<std::uintptr_t>(offset);
      answered_ = true;
      resolved_ = true;
      return;
    }
    Refuse();
  }
}

BitField GameKey::ResolveBitField(const void* object) const {
  for (;;) {
    RequirePresent();
    BitField field{};
    std::exception_ptr refusal;
    if (core::Attempt([&] { field = BitFieldOf(object, bound_key_); }, refusal)) return field;
    Refuse();
  }
}

bool BitFlag::Read(const void* object) const {
  if (object == nullptr) return false;
  const BitField field = ResolveBitField(object);
  uint32 word = 0;
  std::memcpy(&word, reinterpret_cast<const void*>(field.offset), sizeof(word));
  return (word & MaskOf(field)) != 0;
}

void BitFlag::Write(const void* object, bool value) const {
  if (object == nullptr) return;
  const BitField field = ResolveBitField(object);
  void* address = reinterpret_cast<void*>(field.offset);
  uint32 word = 0;
  std::memcpy(&word, address, sizeof(word));
  const uint32 mask = MaskOf(field);
  word = value ? (word | mask) : (word & ~mask);
  std::memcpy(address, &word, sizeof(word));
}

}  // namespace ck::host
