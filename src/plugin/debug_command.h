// The debug switch: console commands "ckpdebug" and "ckp.debug" turn the
// trace lines on and off while the server runs.
// Game thread only: every call reads the game's objects or the plugin's state.
#pragma once

#include <string>

#include "asa/engine_types.h"

namespace ck::plugin {

// Registers "ckpdebug" then "ckp.debug"; a failure is logged at warn level
// and start-up goes on.
void RegisterDebugCommands();

// Nothing removes them: at unload the framework does (see Teardown).

// The command: the whole line, as ASCII ('?' above 127) and lower-cased, is
// searched for "on", "true", "1" (switch on), then "off", "false", "0"
// (switch off); the first found decides, none keeps the setting. Always logs
// "Cradlekeep debug logging is ON|OFF". A null line counts as empty. A
// failure is the error line "Cradlekeep debug command failed: ..."; nothing
// leaves the command.
void OnDebugCommand(APlayerController* caller, FString* line, bool from_rcon);

// The switch itself, as above; returns the line it logged. Exceptions pass.
std::string SwitchDebugLogging(FString* line);

}  // namespace ck::plugin
