// Building a journal line's key=value pairs.
#include "journal/journal_line.h"

#include <fmt/core.h>

#include "core/text.h"

namespace ck::journal {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
constexpr std::string_view kEllipsis = "\xE2\x80\xA6";     // U+2026

bool Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The length of the well-formed UTF-8 sequence at `at` and its code point;
// 0 when the bytes there are not one (RFC 3629: no overlong forms, no
// surrogates, nothing past U+10FFFF).
std::size_t Decode(std::string_view text, std::size_t at, char32_t& code) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[at + k]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) {
    code = lead;
    return 1;
  }
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the second byte's range
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (at + length > text.size() || byte(1) < low || byte(1) > high) return 0;
  code = lead & (0x7F >> length);
  for (std::size_t k = 1; k < length; ++k) {
    if (!Continuation(byte(k))) return 0;
    code = (code << 6) | (byte(k) & 0x3F);
  }
  return length;
}

// Characters that would break a line, or turn the text around, where an
// admin reads it.
bool Blanked(char32_t code) {
  return code < 0x20 || (code >= 0x7F && code <= 0x9F) || code == 0x2028 || code == 0x2029 || code == 0x200E ||
         code == 0x200F || (code >= 0x202A && code <= 0x202E) || (code >= 0x2066 && code <= 0x2069);
}

// The text as valid UTF-8 with every blanked character a blank.
std::string Cleaned(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    char32_t code = 0;
    const std::size_t length = Decode(text, at, code);
    if (length == 0) {
      out += kReplacement;
      ++at;
    } else if (Blanked(code)) {
      out += ' ';
      at += length;
    } else {
      out.append(text.substr(at, length));
      at += length;
    }
  }
  return out;
}

}  // namespace

Line::Line(std::string_view event) : fixed_("Cradlekeep journal event=") {
  fixed_ += event;
  event_end_ = fixed_.size();
}

std::string Line::Stamped(std::string_view time, std::string_view server) const {
  std::string line = fixed_.substr(0, event_end_);
  line += fmt::format(" time={} server={}", time, server);
  line.append(fixed_, event_end_);
  return line + texts_;
}

Line& Line::Word(std::string_view key, std::string_view word) {
  fixed_ += fmt::format(" {}={}", key, word);
  return *this;
}

Line& Line::Number(std::string_view key, std::int64_t value) {
  fixed_ += fmt::format(" {}={}", key, value);
  return *this;
}

Line& Line::Pair(std::string_view key, std::uint32_t a, std::uint32_t b) {
  fixed_ += fmt::format(" {}={},{}", key, a, b);
  return *this;
}

Line& Line::Text(std::string_view key, std::string_view text) {
  texts_ += fmt::format(" {}=\"", key);
  for (const char c : SafeText(text)) {
    if (c == '"' || c == '\\') texts_ += '\\';
    texts_ += c;
  }
  texts_ += '"';
  return *this;
}

Line& Line::SearchableText(std::string_view text) {
  search_ += core::ToLowerCopy(SafeText(text));
  search_ += '\n';
  return *this;
}

Line& Line::SearchableId(std::string_view id) {
  search_ += '\t';
  search_ += id;
  search_ += "\t\n";
  return *this;
}

std::string SafeText(std::string_view text, std::size_t bytes) {
  std::string clean = Cleaned(text);
  if (clean.size() <= bytes) return clean;
  const std::size_t room = bytes >= kEllipsis.size() ? bytes - kEllipsis.size() : 0;
  std::string cut(CutText(clean, room));
  cut += kEllipsis;
  return cut;
}

std::string_view CutText(std::string_view text, std::size_t bytes) {
  if (text.size() <= bytes) return text;
  std::size_t end = bytes;
  // Back off the continuation bytes of a character cut in two.
  while (end > 0 && Continuation(static_cast<unsigned char>(text[end]))) --end;
  return text.substr(0, end);
}

}  // namespace ck::journal
