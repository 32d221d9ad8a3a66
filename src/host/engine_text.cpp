#include "host/engine_text.h"

#include "asa/text_conversion.h"

namespace ck::host {

std::string FStringToUtf8(const FString* text) {
  if (text == nullptr) return {};
  const int32 length = text->Len();
  if (length <= 0) return {};
  const int32 bytes = UE::Core::Private::GetConvertedLength(**text, length);
  std::string out(static_cast<std::size_t>(bytes), '\0');
  char* end = UE::Core::Private::Convert(out.data(), bytes, **text, length);
  if (end == nullptr) return {};
  out.resize(static_cast<std::size_t>(end - out.data()));
  return out;
}

std::string FStringToUtf8(const FString& text) { return FStringToUtf8(&text); }

std::string FStringToAscii(const FString* text) {
  std::string out;
  if (text == nullptr) return out;
  const int32 length = text->Len();
  out.reserve(static_cast<std::size_t>(length));
  for (int32 i = 0; i < length; ++i) {
    const char16_t unit = (**text)[i];
    out.push_back(unit > 127 ? '?' : static_cast<char>(unit));
  }
  return out;
}

FString MakeFString(std::u16string_view text) {
  return FString(text.data(), static_cast<int32>(text.size()));
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t need = 0;
    char32_t cp = 0xFFFD;
    char32_t smallest = 0;
    if (lead < 0x80) {
      cp = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      cp = lead & 0x1Fu, need = 1, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      cp = lead & 0x0Fu, need = 2, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      cp = lead & 0x07u, need = 3, smallest = 0x10000;
    }
    std::size_t used = 1;
    if (need > 0) {
      std::size_t k = 1;
      while (k <= need && i + k < text.size() &&
             (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80) {
        cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
        ++k;
      }
      if (k <= need) {
        cp = 0xFFFD;
        used = k;
      } else {
        used = need + 1;
        if (cp < smallest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
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

}  // namespace ck::host
