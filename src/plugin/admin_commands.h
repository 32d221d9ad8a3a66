// The admin commands, where admins work: "Cradlekeep.Status" and
// "Cradlekeep.Reload" on the admin console and over RCON, and the debug
// switch ("ckpdebug", "ckp.debug") over RCON as well.
//
// A console command answers the admin who typed it with one server message
// (lines joined by new lines) and writes the same lines to the log; from
// the server console (no admin) it only logs. An RCON command answers the
// client with RCONClientConnection.SendMessage on the packet's id, type 0.
// The framework runs console commands for admins only and RCON commands for
// authenticated clients only; it removes them all at unload.
// Game thread only: every call reads the game's objects or the plugin's state.
#pragma once

#include <string>
#include <vector>

namespace ck::plugin {

// Registers the commands (the RCON ones when the game build has the reply
// function); a failure is logged at warn level and start-up goes on.
void RegisterAdminCommands();

// What "Cradlekeep.Status" answers: the version; where the settings came
// from; Enabled, CaptureMode (for SCS, whether a capture actor is in the
// world now) and DebugLogging; the game build (keys missing, parts off,
// members under another name, or not checked and why); what the plugin did
// since start-up; the clean-up at work (the recurring scan and its round,
// the delayed passes queued); the capture journal. Each line is made on its
// own: one that cannot be made says so, and the others stand.
std::vector<std::string> StatusLines();

// What "Cradlekeep.Reload" does: reads the configuration file again and
// applies it as an unload and a load would (the class cache emptied, the
// hooks and the recurring scan following the new settings: the round in
// progress ends, the next is due one new interval later), keeping the
// temporary-pod records and the cooldowns, and the pending clean-up passes
// while the new settings still remove temporary pods (otherwise they are
// dropped and the answer says how many). A
// file that does not load leaves the running settings in force and the
// answer (and a warn line) says why. Returns the answer's lines.
std::vector<std::string> ReloadSettings();

}  // namespace ck::plugin
