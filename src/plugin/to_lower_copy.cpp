#include "plugin/to_lower_copy.h"

namespace ck::plugin {

std::string ToLowerCopy(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

}  // namespace ck::plugin
