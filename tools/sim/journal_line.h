// The plugin's capture journal as the simulator reads it: one info line per
// event, "Cradlekeep journal " followed by key=value pairs separated by one
// space each. A value is a quoted text ("..." with \" and \\ the only
// escapes), a pair of unsigned 32-bit numbers (a,b), a whole number, or a
// bare word. The known keys each take one kind (journal_line.cpp); a key the
// simulator does not know is kept with the value read as the most specific
// kind it fits. Keys the game build cannot give may be missing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace simtool {

inline constexpr std::string_view kJournalPrefix = "Cradlekeep journal ";

// True when a log line's text is a journal line (it starts with the prefix).
bool IsJournalLine(std::string_view text);

struct ParsedJournalLine {
  // The line as an object: "event", "player", "playerId", "creature",
  // "creatureId", "outcome", "item" and "reason" always (null when absent),
  // then the other keys present, in the line's order. Empty when the line
  // does not parse.
  std::optional<nlohmann::ordered_json> entry;
  std::string problem;  // what is wrong, when it does not parse
};

// Reads one journal line's whole text, the prefix included. A line without
// an `event`, with an event other than capture, release, podRemoved and
// sicknessCleared, or a capture without an `outcome` of podded or left, does
// not parse either.
ParsedJournalLine ParseJournalLine(std::string_view text);

}  // namespace simtool
