#include "capture/text_helpers.h"

#include "host/engine/names.h"

namespace ck::capture {

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

}  // namespace ck::capture
