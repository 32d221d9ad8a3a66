// The config file's bytes as the text the JSON parser reads, and the words
// for the slips an admin's hand edit makes most often. No game and no
// framework: plain text rules, for the loader.
#pragma once

#include <optional>
#include <string>

namespace ck::config {

// The file's text in UTF-8. UTF-8 (with or without a byte-order mark, which
// the parser skips) is returned as it is. UTF-16, as Windows Notepad saves
// "Unicode" (little endian with a byte-order mark; also big endian, or
// without a mark when the first character is ASCII), is converted, and
// `encoding` names it ("UTF-16LE", "UTF-16BE"); otherwise `encoding` is
// left empty. UTF-16 that is cut off or holds a broken surrogate pair throws
// ConfigError saying so.
std::string DecodeConfigText(std::string bytes, std::string& encoding);

// Where the text has a comma right before a closing '}' or ']' (blanks and
// comments between them aside), outside strings and comments: the first
// one, as a 1-based line and column (bytes), with the bracket it precedes.
struct TrailingComma {
  int line = 0;
  int column = 0;
  char closing = '}';
};
std::optional<TrailingComma> FindTrailingComma(const std::string& text);

}  // namespace ck::config
