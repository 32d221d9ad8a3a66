// Engine text (FString, 16-bit code units) and the plugin's 8-bit texts.
// Game thread only: the engine allocator and the game's objects are not thread-safe.
#pragma once

#include <string>
#include <string_view>

#include "asa/engine_types.h"

namespace ck::host {

// UTF-8 of the engine text, converted as the engine converts it: a surrogate
// pair becomes one four-byte sequence, a lone surrogate becomes U+FFFD. A
// null or empty text gives "".
std::string FStringToUtf8(const FString* text);
std::string FStringToUtf8(const FString& text);

// One byte per code unit: units up to 127 are kept, every unit above 127
// becomes '?'. A null text gives "".
std::string FStringToAscii(const FString* text);

// UTF-8 decoded to UTF-16; each invalid or truncated sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

// One 16-bit unit per byte, the byte sign-extended (0x80-0xFF become
// 0xFF80-0xFFFF); no UTF-8 decoding. Used for blueprint paths.
std::u16string WidenText(std::string_view text);

// An engine string the plugin owns. Built by the framework's exported
// constructor (its buffer comes from the engine allocator) and freed through
// the engine allocator when it goes. Empty when default-constructed, so that
// a game function can write a result into it. Move-only.
class EngineString {
 public:
  EngineString() noexcept = default;
  explicit EngineString(std::u16string_view text);
  ~EngineString();
  EngineString(EngineString&& other) noexcept;
  EngineString& operator=(EngineString&& other) noexcept;
  EngineString(const EngineString&) = delete;
  EngineString& operator=(const EngineString&) = delete;

  FString* get() { return reinterpret_cast<FString*>(&data_); }
  const FString* get() const { return reinterpret_cast<const FString*>(&data_); }
  const FString& operator*() const { return *get(); }
  const FString* operator->() const { return get(); }

 private:
  // FString's one member, held as a plain record so that the string's own
  // (inline, engine-side) destructor is never needed.
  TArray<char16_t> data_{nullptr, 0, 0};
};
static_assert(sizeof(EngineString) == sizeof(FString));

// An engine string holding exactly these code units.
EngineString MakeFString(std::u16string_view text);

}  // namespace ck::host
