// How the journal's files are named. Each server writes "<server>.journal"
// and keeps its older lines in "<server>.1.journal" (the newest) up to
// "<server>.<n>.journal". A server's name is 1 to kMostServerNameBytes
// letters, digits, '_' and '-': never a dot, so no server's current file can
// be taken for another's older one, and a server only ever touches the files
// that carry its own name.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ck::journal_files {

inline constexpr std::size_t kMostServerNameBytes = 64;

// Whether `name` is a server's name as above.
bool IsServerName(std::string_view name);

// `text` made a server's name: every other character (each byte of one that
// is not ASCII) becomes '_', and it is cut to kMostServerNameBytes. Empty
// for an empty text.
std::string ServerNameFrom(std::string_view text);

// "<server>.journal".
std::string CurrentFileName(std::string_view server);

// "<server>.<index>.journal", index from 1 (the newest older file).
std::string OlderFileName(std::string_view server, int index);

// The server whose current file this is, or nothing for any other name
// (an older file, or a file that is not the journal's).
std::optional<std::string> ServerOfCurrentFile(std::string_view file_name);

}  // namespace ck::journal_files
