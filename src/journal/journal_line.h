// One line of the capture journal: what the plugin did to a player's
// creature, as "Cradlekeep journal event=<event>", then the fixed-form pairs
// (bare words, numbers and id pairs "<a>,<b>") in the order they are added,
// then the quoted texts in the order they are added. Texts come last because
// players choose names: a name cannot put a false id or outcome in front of
// the real one, whichever way a reader scans the line.
//
// A quoted text is "..." with \" and \\ the only escapes. It is made safe to
// show and to split on lines: invalid UTF-8 becomes U+FFFD; control
// characters (C0, DEL, C1 with NEL among them), the Unicode line and
// paragraph separators and the bidirectional controls become blanks; a text
// longer than kMaxTextBytes is cut at a character boundary and ends with
// "…". An entry's size is therefore bounded.
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
  Line& Number(std::string_view key, std::int64_t value);
  // Two unsigned numbers: "<a>,<b>".
  Line& Pair(std::string_view key, std::uint32_t a, std::uint32_t b);
  // A quoted text, made safe as above; written after every fixed-form pair.
  Line& Text(std::string_view key, std::string_view text);

  // Adds a name to what a journal search looks in (not to the line): any
  // part of it matches.
  Line& SearchableText(std::string_view text);
  // Adds an id ("424242", "102,2") to what a journal search looks in: only
  // the whole id matches.
  Line& SearchableId(std::string_view id);

  // The whole line: the event, the fixed-form pairs, then the texts.
  std::string text() const { return fixed_ + texts_; }
  // The line as the journal's files and answers hold it: "time=<time>" and
  // "server=<server>" right after the event, then the rest as text() has it.
  std::string Stamped(std::string_view time, std::string_view server) const;
  // What a search looks in: "\n"-separated, names lower-cased; each id also
  // stands between "\t" marks, which no name holds (see SafeText).
  const std::string& search() const { return search_; }

 private:
  std::string fixed_;
  std::size_t event_end_ = 0;  // where the event's word ends in fixed_
  std::string texts_;
  std::string search_;
};

// The text made safe as a quoted value's content (before escaping): valid
// UTF-8, no control, line-breaking or direction-changing character, at most
// `bytes` bytes with "…" at the end of a text that was cut.
std::string SafeText(std::string_view text, std::size_t bytes = kMaxTextBytes);

// The text cut to at most `bytes` bytes, never inside a UTF-8 character.
std::string_view CutText(std::string_view text, std::size_t bytes);

}  // namespace ck::journal
