// One line of the capture journal: what the plugin did to a player's
// creature, as "Cradlekeep journal event=<event>" and then key=value pairs in
// the order they are added. Values are bare words, numbers, id pairs
// ("<a>,<b>") or quoted texts ("..." with \" and \\ the only escapes), so
// that an admin can grep the lines and a script can parse them. A text is
// cut at kMaxTextBytes, so an entry's size is bounded.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ck::journal {

inline constexpr std::size_t kMaxTextBytes = 96;

class Line {
 public:
  explicit Line(std::string_view event);

  // A bare word (no blanks, no quotes): an event's enumerations.
  Line& Word(std::string_view key, std::string_view word);
  // A quoted text, cut to kMaxTextBytes (at a character boundary).
  Line& Text(std::string_view key, std::string_view text);
  Line& Number(std::string_view key, std::int64_t value);
  // Two unsigned numbers: "<a>,<b>".
  Line& Pair(std::string_view key, std::uint32_t a, std::uint32_t b);
  // Adds to what a journal filter searches (not to the line).
  Line& Searchable(std::string_view text);

  const std::string& text() const { return text_; }
  const std::string& search() const { return search_; }

 private:
  std::string text_;
  std::string search_;
};

// The text cut to at most `bytes` bytes, never inside a UTF-8 character.
std::string_view CutText(std::string_view text, std::size_t bytes);

}  // namespace ck::journal
