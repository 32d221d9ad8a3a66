#include "config/config_text.h"

#include <cstdint>

#include "config/config_loader.h"

namespace ck::config {

namespace {

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

[[noreturn]] void BrokenUtf16(const char* encoding, const char* what) {
  throw ConfigError(std::string("the config file is ") + encoding + " text, " + what +
                    "; save it as UTF-8 (in Notepad: Save As, Encoding UTF-8)");
}

// UTF-16 code units from `start` on, in the byte order given, as UTF-8.
std::string Utf16ToUtf8(const std::string& bytes, std::size_t start, bool little_endian, const char* encoding) {
  if ((bytes.size() - start) % 2 != 0) BrokenUtf16(encoding, "cut off in the middle of a character");
  auto unit = [&](std::size_t at) -> char16_t {
    const auto a = static_cast<unsigned char>(bytes[at]);
    const auto b = static_cast<unsigned char>(bytes[at + 1]);
    return static_cast<char16_t>(little_endian ? (a | (b << 8)) : ((a << 8) | b));
  };
  std::string out;
  out.reserve((bytes.size() - start) / 2);
  for (std::size_t at = start; at < bytes.size(); at += 2) {
    const char16_t u = unit(at);
    if (u >= 0xD800 && u <= 0xDBFF) {
      const char16_t low = at + 3 < bytes.size() ? unit(at + 2) : char16_t{0};
      if (low < 0xDC00 || low > 0xDFFF) BrokenUtf16(encoding, "with a broken character (a lone surrogate)");
      AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (low - 0xDC00));
      at += 2;
    } else if (u >= 0xDC00 && u <= 0xDFFF) {
      BrokenUtf16(encoding, "with a broken character (a lone surrogate)");
    } else {
      AppendUtf8(out, u);
    }
  }
  return out;
}

}  // namespace

std::string DecodeConfigText(std::string bytes, std::string& encoding) {
  encoding.clear();
  if (bytes.size() < 2) return bytes;
  const auto b0 = static_cast<unsigned char>(bytes[0]);
  const auto b1 = static_cast<unsigned char>(bytes[1]);
  // A JSON text in UTF-8 never holds a NUL byte: one in the first two bytes
  // is the other half of an ASCII character in UTF-16.
  if (b0 == 0xFF && b1 == 0xFE) encoding = "UTF-16LE";
  if (b0 == 0xFE && b1 == 0xFF) encoding = "UTF-16BE";
  if (!encoding.empty()) return Utf16ToUtf8(bytes, 2, encoding == "UTF-16LE", encoding.c_str());
  if (b0 != 0 && b0 < 0x80 && b1 == 0) encoding = "UTF-16LE";
  if (b0 == 0 && b1 != 0 && b1 < 0x80) encoding = "UTF-16BE";
  if (!encoding.empty()) return Utf16ToUtf8(bytes, 0, encoding == "UTF-16LE", encoding.c_str());
  return bytes;
}

std::optional<TrailingComma> FindTrailingComma(const std::string& text) {
  int line = 1;
  std::size_t line_start = 0;
  std::optional<TrailingComma> comma;  // the last significant byte, when it was a comma
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\n') {
      ++line;
      line_start = i + 1;
    } else if (c == '"') {  // a string: to its closing quote, escapes skipped
      for (++i; i < text.size() && text[i] != '"' && text[i] != '\n'; ++i) {
        if (text[i] == '\\') ++i;
      }
      comma.reset();
    } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
      while (i + 1 < text.size() && text[i + 1] != '\n') ++i;
    } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
      for (i += 2; i + 1 < text.size() && !(text[i] == '*' && text[i + 1] == '/'); ++i) {
        if (text[i] == '\n') {
          ++line;
          line_start = i + 1;
        }
      }
      ++i;
    } else if (c == ',') {
      comma = TrailingComma{line, static_cast<int>(i - line_start) + 1, '}'};
    } else if ((c == '}' || c == ']') && comma) {
      comma->closing = c;
      return comma;
    } else if (c != ' ' && c != '\t' && c != '\r') {
      comma.reset();
    }
  }
  return std::nullopt;
}

}  // namespace ck::config
