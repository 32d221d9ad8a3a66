// Start-up's check of the running game build: every key the plugin can ask
// for, before it asks for any.
// Game thread only (start-up).
#pragma once

namespace ck::plugin {

// Checks the catalogue's keys against the build's offsets cache, binds every
// game member to the result and records which parts are on. With every key
// present it writes nothing (a trace line with DebugLogging). For each
// missing key it writes a warn line naming the key and what it turns off,
// then one summary line. When the check cannot be made it writes one warn
// line saying why, and the plugin starts as it would without the check.
// Returns false when too little is left to do anything useful: it has then
// written one error line saying so, and start-up installs nothing.
[[nodiscard]] bool CheckGameBuild();

}  // namespace ck::plugin
