// Small text services shared by the transfer and capture subsystems.
#pragma once

#include <string>
#include <string_view>

#include "asa/engine_types.h"

namespace ck::capture {

// One 16-bit unit per byte, the byte sign-extended (0x80-0xFF become
// 0xFF80-0xFFFF); no UTF-8 decoding. Used for blueprint paths.
std::u16string WidenText(std::string_view text);

// "actor=null" for null; otherwise the object's name, then " class=" and its
// class's name when it has a class.
std::string DescribeActor(const void* actor);

// True when `part` is empty or occurs in `text`, both lower-cased byte by
// byte (ASCII letters only).
bool ContainsIgnoreCase(std::string_view text, std::string_view part);

}  // namespace ck::capture
