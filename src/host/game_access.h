// Typed access to game members by key string.
//
// Fields: the address of a field inside an object, read or written with the
// field's type. Functions: the game function's address cast to the exact
// signature of the key (object first, then the key's parameter types; a
// function returning an engine record by value takes a pointer to the result
// right after the object). Keys are resolved at every use. An unknown key is
// fatal inside the framework.
#pragma once

#include <string>

#include "host/framework.h"

namespace ck::host {

// Pointer to the field `key` of `object`; null for a null object.
template <typename T>
T* FieldPtr(const void* object, const std::string& key) {
  if (object == nullptr) return nullptr;
  return static_cast<T*>(FieldAddress(object, key));
}

// The field's value; a default value for a null object.
template <typename T>
T ReadField(const void* object, const std::string& key) {
  T* field = FieldPtr<T>(object, key);
  return field != nullptr ? *field : T{};
}

template <typename T>
void WriteField(const void* object, const std::string& key, const T& value) {
  if (T* field = FieldPtr<T>(object, key)) *field = value;
}

// The game function `key` as a pointer of signature `Sig`.
template <typename Sig>
Sig* GameFunction(const std::string& key) {
  return reinterpret_cast<Sig*>(FunctionAddress(key));
}

// A field key resolved on first use and kept for the life of the process:
// the offset is the field's address minus the object's (offsets never change
// while the process runs, and the framework computes a field's address from
// the object's without reading the object). For call sites on hot paths:
// declare one per site as a static.
class FieldKey {
 public:
  constexpr explicit FieldKey(const char* key) : key_(key) {}

  std::ptrdiff_t Offset() const {
    if (!resolved_) {
      static const char probe = 0;
      offset_ = static_cast<const char*>(FieldAddress(&probe, key_)) - &probe;
      resolved_ = true;
    }
    return offset_;
  }
  // The field inside `object`; null for a null object.
  template <typename T>
  T* In(const void* object) const {
    if (object == nullptr) return nullptr;
    return reinterpret_cast<T*>(const_cast<char*>(static_cast<const char*>(object)) + Offset());
  }
  template <typename T>
  T Read(const void* object) const {
    T* field = In<T>(object);
    return field != nullptr ? *field : T{};
  }

 private:
  const char* key_;
  mutable std::ptrdiff_t offset_ = 0;
  mutable bool resolved_ = false;
};

// A game function resolved on first use and kept for the life of the process.
template <typename Sig>
class FunctionKey {
 public:
  constexpr explicit FunctionKey(const char* key) : key_(key) {}
  Sig* Get() const {
    if (function_ == nullptr) function_ = reinterpret_cast<Sig*>(FunctionAddress(key_));
    return function_;
  }

 private:
  const char* key_;
  mutable Sig* function_ = nullptr;
};

// True when the bits of the bit field are not all zero. False for a null object.
bool ReadBitField(const void* object, const std::string& key);

// Stores `value` into the bit field's bits (all ones for true, zero for false);
// the other bits of the word keep their values.
void WriteBitField(const void* object, const std::string& key, bool value);

}  // namespace ck::host
