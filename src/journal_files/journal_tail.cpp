#include "journal_files/journal_tail.h"

#include <string_view>

#include "journal_files/journal_names.h"

namespace ck::journal_files {

namespace {

// Splits the bytes into lines, appending the complete ones to `lines`.
// `whole`: the bytes start at a line's start (the file's beginning).
// Returns whether a last line lacked its line end.
bool SplitInto(std::string_view bytes, bool whole, std::vector<std::string>& lines) {
  std::size_t at = 0;
  if (!whole) {
    const std::size_t first_end = bytes.find('\n');
    if (first_end == std::string_view::npos) return false;  // all inside one line
    at = first_end + 1;
  }
  while (at < bytes.size()) {
    const std::size_t end = bytes.find('\n', at);
    if (end == std::string_view::npos) return true;
    std::string_view line = bytes.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty()) lines.emplace_back(line);
    at = end + 1;
  }
  return false;
}

}  // namespace

TailLines ReadServerTail(FileSystem& files, const std::string& folder, const std::string& server,
                         std::uint64_t bytes) {
  TailLines tail;
  const std::string current = InFolder(folder, CurrentFileName(server));
  if (!files.Size(current)) return tail;  // no file yet
  std::string error;
  const auto newest = files.ReadTail(current, bytes, error);
  if (!newest) {
    tail.error = error;
    return tail;
  }
  if (newest->whole && newest->bytes.size() < bytes) {
    // The rest of the budget goes to the newest older file; its last line is
    // complete unless a rotation met a cut line, which is then skipped.
    std::string ignored;
    const auto older = files.ReadTail(InFolder(folder, OlderFileName(server, 1)), bytes - newest->bytes.size(),
                                      ignored);
    if (older) SplitInto(older->bytes, older->whole, tail.lines);
  }
  tail.cut_short = SplitInto(newest->bytes, newest->whole, tail.lines);
  return tail;
}

}  // namespace ck::journal_files
