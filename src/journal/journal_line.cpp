// Building a journal line's key=value pairs.
#include "journal/journal_line.h"

#include <fmt/core.h>

#include "core/text.h"

namespace ck::journal {

Line::Line(std::string_view event) : text_("Cradlekeep journal event=") { text_ += event; }

Line& Line::Word(std::string_view key, std::string_view word) {
  text_ += fmt::format(" {}={}", key, word);
  return *this;
}

Line& Line::Text(std::string_view key, std::string_view text) {
  text_ += fmt::format(" {}=\"", key);
  for (const char c : CutText(text, kMaxTextBytes)) {
    if (c == '"' || c == '\\') text_ += '\\';
    // A line break or other control character would split the line.
    text_ += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
  }
  text_ += '"';
  return *this;
}

Line& Line::Number(std::string_view key, std::int64_t value) {
  text_ += fmt::format(" {}={}", key, value);
  return *this;
}

Line& Line::Pair(std::string_view key, std::uint32_t a, std::uint32_t b) {
  text_ += fmt::format(" {}={},{}", key, a, b);
  return *this;
}

Line& Line::Searchable(std::string_view text) {
  search_ += core::ToLowerCopy(CutText(text, kMaxTextBytes));
  search_ += '\n';
  return *this;
}

std::string_view CutText(std::string_view text, std::size_t bytes) {
  if (text.size() <= bytes) return text;
  std::size_t end = bytes;
  // Back off the continuation bytes of a character cut in two.
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

}  // namespace ck::journal
