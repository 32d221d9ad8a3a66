// Sending a configured message to a player under the sender name
// "Cradle Keep".
// Game thread only: every call reads the game's objects or the plugin's state.
#pragma once

#include <string>

#include "asa/engine_types.h"

namespace ck::capture {

inline constexpr const char16_t* kSenderName = u"Cradle Keep";

// Sends `message` (UTF-8) to the player through the framework's messaging
// object of this plugin's module. Nothing is sent, and the framework is not
// asked, for a null controller or an empty message (that is how an empty
// message setting switches its message off). The text reaches the player as
// the admin wrote it: UTF-8 is decoded, an invalid sequence becomes U+FFFD,
// and braces are not interpreted. Exceptions of the framework pass through.
void NotifyPlayer(AShooterPlayerController* controller, const std::string& message);

}  // namespace ck::capture
