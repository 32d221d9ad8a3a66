// Shared by the fuzz targets: what the debug command does to the setting.
//
// The line as one byte per unit (every unit above 127 becomes '?'), ASCII
// letters lower-cased; the first of "on", "true", "1" (switch on), then
// "off", "false", "0" (switch off) found anywhere in it decides; none (and
// no line at all) keeps the setting.
#pragma once

#include <cstddef>
#include <string>

namespace ckfuzz {

// True when `word` occurs in `text` at some position.
inline bool Occurs(const std::string& text, const char* word) {
  std::size_t n = 0;
  while (word[n] != '\0') ++n;
  if (n > text.size()) return false;
  for (std::size_t at = 0; at + n <= text.size(); ++at) {
    std::size_t k = 0;
    while (k < n && text[at + k] == word[k]) ++k;
    if (k == n) return true;
  }
  return false;
}

// The setting after the command on `line` (null: no line), by the rules above.
inline bool DebugSwitchModel(const std::u16string* line, bool before) {
  std::string text;
  if (line != nullptr) {
    for (const char16_t unit : *line) {
      char c = unit > 127 ? '?' : static_cast<char>(unit);
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
      text += c;
    }
  }
  static constexpr const char* kOn[] = {"on", "true", "1"};
  static constexpr const char* kOff[] = {"off", "false", "0"};
  for (const char* word : kOn) {
    if (Occurs(text, word)) return true;
  }
  for (const char* word : kOff) {
    if (Occurs(text, word)) return false;
  }
  return before;
}

}  // namespace ckfuzz
