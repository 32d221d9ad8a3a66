// FString's members (the framework's exported constructor and friends) and
// the engine's UTF-16 to UTF-8 conversion.
#include "sim/framework/engine_text.h"

#include <cstring>
#include <utility>


namespace {

// Calls `emit(code_point)` for each code point of the UTF-16 text.
template <typename Emit>
void DecodeUtf16(const char16_t* source, int32 length, Emit emit) {
  for (int32 i = 0; i < length; ++i) {
    const char32_t unit = source[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < length && source[i + 1] >= 0xDC00 &&
        source[i + 1] <= 0xDFFF) {
      const char32_t low = source[i + 1];
      emit(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      emit(0xFFFD);
    } else {
      emit(unit);
    }
  }
}

int32 Utf8Length(char32_t cp) {
  if (cp < 0x80) return 1;
  if (cp < 0x800) return 2;
  if (cp < 0x10000) return 3;
  return 4;
}

char* PutUtf8(char* out, char32_t cp) {
  if (cp < 0x80) {
    *out++ = static_cast<char>(cp);
  } else if (cp < 0x800) {
    *out++ = static_cast<char>(0xC0 | (cp >> 6));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    *out++ = static_cast<char>(0xE0 | (cp >> 12));
    *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | (cp >> 18));
    *out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

void Assign(TArray<char16_t>& data, const char16_t* text, int32 length) {
  if (text == nullptr || length <= 0) {
    data = TArray<char16_t>{nullptr, 0, 0};
    return;
  }
  const int32 count = length + 1;
  data.Data = static_cast<char16_t*>(FMemory::Malloc(sizeof(char16_t) * static_cast<uint64>(count), 2));
  std::memcpy(data.Data, text, sizeof(char16_t) * static_cast<std::size_t>(length));
  data.Data[length] = u'\0';
  data.ArrayNum = count;
  data.ArrayMax = count;
}

int32 Length(const char16_t* text) {
  int32 n = 0;
  if (text != nullptr) {
    while (text[n] != u'\0') ++n;
  }
  return n;
}

}  // namespace

FString::FString(const WIDECHAR* Str) : Data{nullptr, 0, 0} {
  const auto* text = reinterpret_cast<const char16_t*>(Str);
  Assign(Data, text, Length(text));
}

FString::FString(int32 Len, const WIDECHAR* Str) : Data{nullptr, 0, 0} {
  Assign(Data, reinterpret_cast<const char16_t*>(Str), Len);
}

FString::FString(const FString& other) : Data{nullptr, 0, 0} {
  Assign(Data, other.Data.Data, other.Len());
}

FString::FString(FString&& other) noexcept : Data(other.Data) {
  other.Data = TArray<char16_t>{nullptr, 0, 0};
}

FString& FString::operator=(const FString& other) {
  if (this != &other) {
    FString copy(other);
    std::swap(Data, copy.Data);
  }
  return *this;
}

FString& FString::operator=(FString&& other) noexcept {
  if (this != &other) {
    std::swap(Data, other.Data);
  }
  return *this;
}

FString::~FString() { FMemory::Free(Data.Data); }

namespace simfw {

namespace {

int32 GetConvertedLength(const char16_t* source, int32 sourceLength) {
  int32 total = 0;
  if (source == nullptr) return 0;
  DecodeUtf16(source, sourceLength, [&](char32_t cp) { total += Utf8Length(cp); });
  return total;
}

char* Convert(char* dest, int32 destLength, const char16_t* source, int32 sourceLength) {
  if (source == nullptr) return dest;
  if (GetConvertedLength(source, sourceLength) > destLength) return nullptr;
  char* out = dest;
  DecodeUtf16(source, sourceLength, [&](char32_t cp) { out = PutUtf8(out, cp); });
  return out;
}

}  // namespace

std::u16string Utf16FromUtf8(std::string_view text) {
  std::u16string out;
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char lead = byte(i);
    std::size_t need = 0;
    char32_t cp = 0xFFFD;
    char32_t min = 0;
    if (lead < 0x80) {
      cp = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      cp = lead & 0x1F, need = 1, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      cp = lead & 0x0F, need = 2, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      cp = lead & 0x07, need = 3, min = 0x10000;
    }
    std::size_t used = 1;
    if (need > 0) {
      std::size_t k = 1;
      for (; k <= need; ++k) {
        if (i + k >= text.size() || (byte(i + k) & 0xC0) != 0x80) break;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
      }
      if (k <= need) {
        cp = 0xFFFD;  // truncated sequence: replace what was read
        used = k;
      } else {
        used = need + 1;
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
      }
    }
    i += used;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

FString FromUtf8(std::string_view text) {
  const std::u16string wide = Utf16FromUtf8(text);
  return FString(static_cast<int32>(wide.size()), reinterpret_cast<const WIDECHAR*>(wide.c_str()));
}

std::string ToUtf8(const char16_t* text, int32 length) {
  std::string out;
  if (text == nullptr || length <= 0) return out;
  out.resize(static_cast<std::size_t>(GetConvertedLength(text, length)));
  Convert(out.data(), static_cast<int32>(out.size()), text, length);
  return out;
}

std::string ToUtf8(const FString& text) { return ToUtf8(*text, text.Len()); }

}  // namespace simfw
