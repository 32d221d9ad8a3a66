// Typed access to game members by key.
//
// Each game member the plugin uses is one constant object of these types,
// declared once in the catalogue (host/game/catalogue.h) with its type and key:
//
//   Field<T>       a field of type T inside a game object. Its offset is asked
//                  of the framework on the first use with an object (the
//                  address it gives for that object, less the object's
//                  address) and kept for the life of the process: offsets do
//                  not change while the process runs. A null object is never
//                  looked up: In gives null, Read a default value, Write does
//                  nothing. AnyOf walks the field through the records of an
//                  engine array.
//   BitFlag        a bit field inside a game object, read as true when any of
//                  its bits is set and written as all ones or all zeros; the
//                  other bits of its word keep their values. It is looked up
//                  at every use (the framework gives its absolute address).
//                  Null objects read false and ignore writes.
//   Function<Sig>  a game function called through its address, which is asked
//                  of the framework on first use and kept. Sig is the
//                  function's binary signature in the game's (Windows x64)
//                  calling convention: the object first for a member function,
//                  then the parameters; a result returned by value as a class
//                  or struct becomes a pointer to the caller's result right
//                  after the object, and the function returns that pointer; a
//                  class passed by value travels as a pointer to the caller's
//                  copy unless it is trivially copyable and of 1, 2, 4 or 8
//                  bytes. Hooked functions are Function<Sig> too: their key
//                  and signature are what the hook sites install. Sig's
//                  calling form (host/game/calling_form.h) is worked out at compile
//                  time and kept with the key, for tools that compare it with
//                  other descriptions of the game; it costs nothing at a call.
//   Param<T>       a value at a fixed place in a parameter block the game hands
//                  to a broadcast, read by copy (the block need not be
//                  aligned for T).
//
// Once resolved, a Field or Function costs no key lookup, so they are fit for
// the per-tick and per-broadcast paths. An unknown key is fatal inside the
// framework, and a key the running game build lacks stalls the game thread
// there before it raises: start-up checks every key against the build and
// binds each member (GameKey::Bind); a member whose key the build lacks
// throws MissingGameKey at its first use instead of asking. The objects are
// meant to be constant-initialised globals (constinit), so they exist before
// any code of the plugin runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <stdexcept>

#include "asa/engine_types.h"
#include "host/game/calling_form.h"

namespace ck::host {

// The framework's offset of the field `key`, asked with an object holding it.
std::ptrdiff_t ResolveFieldOffset(const void* object, const char* key);

class GameKey;

// The offset the framework gives for `member`'s bound name inside `object`,
// asked afresh (for a check of a layout, not for use): the member keeps no
// answer. Throws what the framework throws.
std::ptrdiff_t AskFieldOffset(const GameKey& member, const void* object);

// The framework's address of the game function `key`; null when the
// framework has none (it answers so for a key the build lacks when its
// HooksDoNotThrow setting is on).
void* ResolveFunctionAddress(const char* key);

// Thrown instead of asking the framework for a key the running game build
// lacks: the framework would stall the game thread and then raise.
class MissingGameKey : public std::runtime_error {
 public:
  explicit MissingGameKey(const char* key);
};

class GameKey;

// Told when the framework refused `refused_key`, a name of `member`, after
// the member moved on to its next name or went missing (Present() false).
// Declared here and written by the plugin's start-up code, which keeps what
// the build lacks (plugin/game_build.cpp): it turns off the parts a member
// gone missing served. Never throws.
void GameKeyRefused(const GameKey& member, const char* refused_key) noexcept;

// A name other than the catalogue's under which a game build has a member:
// the key, the builds known to have it and where that is written. A
// function's name carries its calling form, which may differ from the
// catalogue's signature (another parameter list).
struct OtherName {
  const char* key;
  const char* builds;  // e.g. "API 2.03 era"
  const char* source;  // e.g. "AsaApi tag 2.03, Actor.h"
  std::span<const AbiClass> form;  // empty for a field
};

// An other name of a function, of the signature `Sig`.
template <typename Sig>
struct FunctionName;
template <typename R, typename... A>
struct FunctionName<R(A...)> {
  static constexpr OtherName Of(const char* key, const char* builds, const char* source) {
    return OtherName{key, builds, source, kCallingForm<R, A...>};
  }
};

// An other name of a field or bit field.
constexpr OtherName FieldName(const char* key, const char* builds, const char* source) {
  return OtherName{key, builds, source, {}};
}

// What every game member of the catalogue has: its names (the catalogue's
// first, then the others in the order they are tried), which one the running
// game build has, and what the framework answered for it (an offset or an
// address), kept for the life of the binding.
class GameKey {
 public:
  static constexpr std::size_t kNoName = static_cast<std::size_t>(-1);

  constexpr explicit GameKey(const char* key, std::span<const OtherName> others = {})
      : key_(key), bound_key_(key), others_(others) {}
  GameKey(const GameKey&) = delete;
  GameKey& operator=(const GameKey&) = delete;

  // The catalogue's name of the member: the one the plugin has always used,
  // and the one its log lines and tables name.
  const char* Key() const { return key_; }

  // The calling form of a function under the catalogue's name: its result's
  // class, then its parameters' (the object first for a member function).
  // Empty for a field or a bit field. Never looked at on the plugin's own
  // paths.
  constexpr std::span<const AbiClass> Form() const { return form_; }

  // Every name of the member: 0 is the catalogue's, then the others.
  std::size_t NameCount() const { return 1 + others_.size(); }
  const char* NameKey(std::size_t name) const { return name == 0 ? key_ : others_[name - 1].key; }
  std::span<const AbiClass> NameForm(std::size_t name) const {
    return name == 0 ? form_ : others_[name - 1].form;
  }
  std::span<const OtherName> OtherNames() const { return others_; }

  // False when the running game build is known to lack every name of the
  // member: the plugin then never asks the framework for it.
  bool Present() const { return !missing_; }
  // The name the running build has (an index as for NameKey), or kNoName.
  std::size_t BoundName() const { return missing_ ? kNoName : bound_name_; }
  // The key the plugin asks the framework for: the bound name's.
  const char* BoundKey() const { return bound_key_; }
  // True when the member is bound to a name whose calling form is `form`.
  // On a build that could not be checked, a function is asked for first
  // (under each of its names in turn, until the framework has one), so that
  // the answer holds for a name the framework has.
  bool BoundFormIs(std::span<const AbiClass> form) const;

  // Binds the member to a (new) game build: forgets what the framework
  // answered before and records which of its names the build has (kNoName
  // for none). Start-up binds every member before it asks for any. With
  // `unchecked` the build could not be checked: `name` is only the first
  // name to ask for, and each later one is next in turn when the framework
  // refuses it (Refuse).
  void Bind(std::size_t name, bool unchecked = false) const {
    missing_ = name == kNoName || name >= NameCount();
    bound_name_ = missing_ ? 0 : name;
    bound_key_ = NameKey(bound_name_);
    unchecked_ = unchecked;
    resolved_ = false;
    answered_ = false;
    answer_ = 0;
  }

  // The framework refused the bound name (it threw, or had no address): the
  // name is never asked for again. When the build could not be checked and
  // a later name is left, the member moves on to it; otherwise it goes
  // missing. Either way GameKeyRefused tells the plugin, once per name.
  void Refuse() const;

 protected:
  constexpr GameKey(const char* key, std::span<const AbiClass> form, std::span<const OtherName> others)
      : key_(key), bound_key_(key), others_(others), form_(form) {}

  // Throws MissingGameKey when the build lacks the key.
  void RequirePresent() const {
    if (missing_) [[unlikely]] throw MissingGameKey(bound_key_);
  }
  // Asks the framework for the function's address once, under the bound
  // name; `form` is the form the caller calls it in, which must be the bound
  // name's. A refusal (a throw or a null answer) moves the member on
  // (Refuse) and its next name is asked at once; once none is left the call
  // throws MissingGameKey, and a name of another form throws as a call in
  // the wrong form does.
  void ResolveFunction(std::span<const AbiClass> form) const;
  // Asks the framework for the function under its bound name until it has
  // an address or the member is missing. Never throws.
  void SettleFunction() const;
  // Asks the framework for a field's offset in `object` the same way.
  void ResolveField(const void* object) const;
  // The bit field under the bound name in `object`, asked at every use; a
  // refusal moves the member on as for a function.
  BitField ResolveBitField(const void* object) const;
  // What a call in another form than the bound name's throws.
  [[noreturn]] void ThrowBoundToOtherForm() const;

  const char* key_;
  mutable const char* bound_key_;
  mutable std::size_t bound_name_ = 0;
  mutable bool missing_ = false;
  mutable bool unchecked_ = false;
  // The framework answered for the bound name (answer_ holds it).
  mutable bool answered_ = false;
  // Answered, and a use in the member's own form may take the answer as it
  // is: a field, or a function whose bound name has the catalogue's form.
  mutable bool resolved_ = false;
  mutable std::uintptr_t answer_ = 0;
  std::span<const OtherName> others_;
  std::span<const AbiClass> form_;
};

template <typename T>
class Field : public GameKey {
 public:
  constexpr explicit Field(const char* key, std::span<const OtherName> others = {}) : GameKey(key, others) {}

  // The field inside `object`; null for a null object.
  T* In(const void* object) const { return object != nullptr ? InObject(object) : nullptr; }

  // The field's value; a default value for a null object.
  T Read(const void* object) const {
    T* field = In(object);
    return field != nullptr ? *field : T{};
  }

  void Write(const void* object, const T& value) const {
    if (T* field = In(object)) *field = value;
  }

  // The field's offset once a use has resolved it; -1 before. For long walks
  // that look at the field in many objects with the offset held once.
  std::intptr_t OffsetIfResolved() const { return resolved_ ? static_cast<std::intptr_t>(answer_) : -1; }

  // True when `test` holds for the field of one of the records of `records`,
  // tried in order. For long walks: the field is looked at once per array,
  // then found in each record at the record size.
  template <typename Record, typename Test>
  bool AnyOf(const TArray<Record>& records, Test test) const {
    return records.Num() > 0 && AnyFrom(records, reinterpret_cast<std::uintptr_t>(InObject(records.Data)), test);
  }
  // The same with the offset held by the caller (OffsetIfResolved, not -1).
  template <typename Record, typename Test>
  static bool AnyOfAt(std::intptr_t offset, const TArray<Record>& records, Test test) {
    const std::uintptr_t first = reinterpret_cast<std::uintptr_t>(records.Data) + static_cast<std::uintptr_t>(offset);
    return AnyFrom(records, first, test);
  }

 private:
  // The walk itself: the field of the first record at `field`, the next one
  // a record's size further.
  template <typename Record, typename Test>
  static bool AnyFrom(const TArray<Record>& records, std::uintptr_t field, Test test) {
    for (int32 i = 0; i < records.Num(); ++i, field += sizeof(Record)) {
      if (test(*reinterpret_cast<const T*>(field))) return true;
    }
    return false;
  }
  // The field inside a non-null object, resolving the offset on first use.
  // The address is computed as an integer: a field the framework places at
  // address zero must stay null for the caller's checks.
  T* InObject(const void* object) const {
    if (resolved_) [[likely]] return reinterpret_cast<T*>(reinterpret_cast<std::uintptr_t>(object) + answer_);
    ResolveField(object);
    return reinterpret_cast<T*>(reinterpret_cast<std::uintptr_t>(object) + answer_);
  }
};

class BitFlag : public GameKey {
 public:
  constexpr explicit BitFlag(const char* key, std::span<const OtherName> others = {}) : GameKey(key, others) {}

  // True when the bits of the bit field are not all zero; false for a null object.
  bool Read(const void* object) const;

  // Stores `value` into the bit field's bits (all ones for true, zero for
  // false); the other bits of the word keep their values.
  void Write(const void* object, bool value) const;
};

template <typename Sig>
class Function;

template <typename R, typename... A>
class Function<R(A...)> : public GameKey {
 public:
  using Signature = R(A...);

  constexpr explicit Function(const char* key, std::span<const OtherName> others = {})
      : GameKey(key, kCallingForm<R, A...>, others) {}

  Signature* Get() const {
    if (!resolved_) ResolveFunction(kCallingForm<R, A...>);
    return reinterpret_cast<Signature*>(answer_);
  }

  R operator()(A... args) const { return Get()(args...); }

  // True when the running build has the function under a name of the form
  // of the signature `Other` (the function's own or another).
  template <typename Other>
  bool BoundAs() const {
    return BoundFormIs(FormOfSignature<Other>());
  }

  // The function under a bound name whose form is another signature's;
  // throws (never calls) when the bound name has another form.
  template <typename Other>
  Other* GetAs() const {
    if (!BoundFormIs(FormOfSignature<Other>())) [[unlikely]] ThrowBoundToOtherForm();
    if (!answered_) ResolveFunction(FormOfSignature<Other>());
    return reinterpret_cast<Other*>(answer_);
  }

 private:
  template <typename Other>
  static constexpr std::span<const AbiClass> FormOfSignature() {
    return FunctionName<Other>::Of("", "", "").form;
  }
};

template <typename T>
class Param {
 public:
  constexpr explicit Param(std::size_t offset) : offset_(offset) {}

  T Read(const void* params) const {
    T value;
    std::memcpy(&value, static_cast<const char*>(params) + offset_, sizeof(T));
    return value;
  }

 private:
  std::size_t offset_;
};

}  // namespace ck::host
