// The calling form of a game function: how its result and each of its
// parameters travel in the game's calling convention (Windows x64, MSVC),
// reduced to a few classes, worked out from a binary signature at compile
// time.
//
// Signatures are written as the catalogue writes them (host/game/catalogue.h): the
// object first for a member function, a result returned by value as a class
// already spelled as a pointer to the caller's result, a large class passed
// by value already spelled as a pointer to the caller's copy. So a class by
// value is accepted only where it travels in a register (a trivially
// copyable class of 1, 2, 4 or 8 bytes, as a parameter); any other class by
// value, a class result by value and an integer of another size than 4 or 8
// bytes do not compile: their travel would need a class of their own.
//
// The forms let a tool compare the catalogue with another description of
// the same functions (the framework's headers) without calling anything.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <type_traits>

#include "asa/engine_types.h"

namespace ck::host {

enum class AbiClass : std::uint8_t {
  kVoid,    // no result
  kPtr,     // a pointer or reference, or a class passed by address
  kI32,     // a 4-byte integer or enumeration
  kI64,     // an 8-byte integer or enumeration
  kBool,
  kF32,
  kF64,
  kS8,      // a trivially copyable class of 1, 2, 4 or 8 bytes, in a register
  kHidden,  // a class result by value, which travels by a hidden result pointer
  kHandle,  // the address of a class handle (TSubclassOf<T>), never the class itself
};

constexpr std::string_view AbiClassName(AbiClass abi_class) {
  switch (abi_class) {
    case AbiClass::kVoid: return "void";
    case AbiClass::kPtr: return "ptr";
    case AbiClass::kI32: return "i32";
    case AbiClass::kI64: return "i64";
    case AbiClass::kBool: return "bool";
    case AbiClass::kF32: return "f32";
    case AbiClass::kF64: return "f64";
    case AbiClass::kS8: return "s8";
    case AbiClass::kHidden: return "hidden";
    case AbiClass::kHandle: return "handle*";
  }
  return "?";
}

namespace calling_form_detail {

template <typename>
inline constexpr bool kNoClass = false;

template <typename T>
constexpr AbiClass IntegerClass() {
  if constexpr (sizeof(T) == 4) {
    return AbiClass::kI32;
  } else if constexpr (sizeof(T) == 8) {
    return AbiClass::kI64;
  } else {
    static_assert(kNoClass<T>, "an integer or enumeration of 4 or 8 bytes is expected");
    return AbiClass::kVoid;
  }
}

template <typename T>
inline constexpr bool kIsClassHandle = false;
template <typename T>
inline constexpr bool kIsClassHandle<TSubclassOf<T>> = true;

template <typename T>
constexpr AbiClass ValueClass() {
  using V = std::remove_cv_t<T>;
  if constexpr (kIsClassHandle<std::remove_cv_t<std::remove_pointer_t<std::remove_reference_t<V>>>> &&
                (std::is_pointer_v<V> || std::is_reference_v<V>)) {
    return AbiClass::kHandle;
  } else if constexpr (std::is_pointer_v<V> || std::is_reference_v<V>) {
    return AbiClass::kPtr;
  } else if constexpr (std::is_same_v<V, bool>) {
    return AbiClass::kBool;
  } else if constexpr (std::is_same_v<V, float>) {
    return AbiClass::kF32;
  } else if constexpr (std::is_same_v<V, double>) {
    return AbiClass::kF64;
  } else if constexpr (std::is_integral_v<V> || std::is_enum_v<V>) {
    return IntegerClass<V>();
  } else if constexpr (std::is_class_v<V> && std::is_trivially_copyable_v<V> &&
                       (sizeof(V) == 1 || sizeof(V) == 2 || sizeof(V) == 4 || sizeof(V) == 8)) {
    return AbiClass::kS8;
  } else {
    static_assert(kNoClass<T>,
                  "a class by value travels in a register only when trivially copyable and of 1, 2, 4 or 8 bytes; "
                  "spell any other as a pointer to the caller's copy");
    return AbiClass::kVoid;
  }
}

template <typename R>
constexpr AbiClass ResultClass() {
  if constexpr (std::is_void_v<R>) {
    return AbiClass::kVoid;
  } else if constexpr (std::is_class_v<std::remove_cv_t<R>>) {
    static_assert(kNoClass<R>, "spell a class result by value as a pointer to the caller's result");
    return AbiClass::kHidden;
  } else {
    return ValueClass<R>();
  }
}

}  // namespace calling_form_detail

// The form of the signature R(A...): the result's class, then each
// parameter's, in order.
template <typename R, typename... A>
inline constexpr std::array<AbiClass, 1 + sizeof...(A)> kCallingForm = {
    calling_form_detail::ResultClass<R>(), calling_form_detail::ValueClass<A>()...};

}  // namespace ck::host
