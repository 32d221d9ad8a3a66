// The journal's files as a run leaves them: the plugin writes each journal
// line to its server's file with two more fields, time= and server=, right
// after the event. The report's journal entries take those two from the
// files, matched line by line (the newest entries with the newest lines), once
// the plugin's writer has ended with its unload.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace simtool {

// The journal files ("*.journal") under `folders` (each searched a few
// levels deep), the current file of each server last.
std::vector<std::filesystem::path> JournalFilesIn(const std::vector<std::filesystem::path>& folders);

// Gives each entry of `entries` (parsed from the log lines `texts`, in the
// same order) the "time" and "server" of the file line that is the same line
// stamped. An entry no file line matches keeps none.
void AddFileStamps(nlohmann::ordered_json& entries, const std::vector<std::string>& texts,
                   const std::vector<std::filesystem::path>& files);

}  // namespace simtool
