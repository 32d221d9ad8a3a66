// Describing an actor for log lines, shared by the transfer and capture
// subsystems.
// Game thread only: every call reads the game's objects or the plugin's state.
#pragma once

#include <string>
#include <string_view>

#include "asa/engine_types.h"

namespace ck::capture {

// "actor=null" for null; otherwise the object's name, then " class=" and its
// class's name when it has a class.
std::string DescribeActor(const void* actor);

}  // namespace ck::capture
