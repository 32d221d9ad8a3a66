// Engine text conversions, and the engine strings the plugin owns.
#include "host/framework/engine_text.h"

#include <utility>

#include "core/boundary.h"
#include "host/framework/engine_allocator.h"
#include "host/framework/framework.h"

namespace ck::host {

namespace {

void PutUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

std::string FStringToUtf8(const FString* text) {
  std::string out;
  if (text == nullptr) return out;
  const int32 length = text->Len();
  const char16_t* units = **text;
  out.reserve(static_cast<std::size_t>(length));
  for (int32 i = 0; i < length; ++i) {
    const char32_t unit = units[i];
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    if (high && i + 1 < length && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
      PutUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00));
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      PutUtf8(out, 0xFFFD);
    } else {
      PutUtf8(out, unit);
    }
  }
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

EngineString::EngineString(std::u16string_view text) { ConstructEngineString(get(), text); }

EngineString::~EngineString() {
  // A destructor may not throw: when freeing fails the buffer stays with
  // the engine.
  core::Contain([&] { EngineFree(data_.Data); }, [](const char*) {});
}

EngineString::EngineString(EngineString&& other) noexcept : data_(other.data_) {
  other.data_ = TArray<char16_t>{nullptr, 0, 0};
}

EngineString& EngineString::operator=(EngineString&& other) noexcept {
  std::swap(data_, other.data_);
  return *this;
}

EngineString MakeFString(std::u16string_view text) { return EngineString(text); }

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

std::u16string WidenText(std::string_view text) {
  std::u16string wide;
  wide.reserve(text.size());
  for (char byte : text) {
    wide.push_back(static_cast<char16_t>(static_cast<int16>(static_cast<int8>(byte))));
  }
  return wide;
}

}  // namespace ck::host
