#include "capture/text_helpers.h"

#include "host/names.h"
#include "plugin/to_lower_copy.h"

namespace ck::capture {

std::u16string WidenText(std::string_view text) {
  std::u16string wide;
  wide.reserve(text.size());
  for (char byte : text) {
    wide.push_back(static_cast<char16_t>(static_cast<int16>(static_cast<int8>(byte))));
  }
  return wide;
}

std::string DescribeActor(const void* actor) {
  if (actor == nullptr) return "actor=null";
  const auto* object = static_cast<const UObject*>(actor);
  std::string text = host::ObjectName(object);
  if (UClass* cls = host::ClassOf(object)) {
    text += " class=";
    text += host::ObjectName(reinterpret_cast<const UObject*>(cls));
  }
  return text;
}

bool ContainsIgnoreCase(std::string_view text, std::string_view part) {
  if (part.empty()) return true;
  return plugin::ToLowerCopy(text).find(plugin::ToLowerCopy(part)) != std::string::npos;
}

}  // namespace ck::capture
