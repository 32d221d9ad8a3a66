#include "core/text.h"

namespace ck::core {

std::string ToLowerCopy(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

bool ContainsIgnoreCase(std::string_view text, std::string_view part) {
  if (part.empty()) return true;
  return ToLowerCopy(text).find(ToLowerCopy(part)) != std::string::npos;
}

}  // namespace ck::core
