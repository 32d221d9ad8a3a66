// Reading back the end of a server's journal: at most a given number of
// bytes, so that a read costs a bounded time however large the files are.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "journal_files/file_system.h"

namespace ck::journal_files {

struct TailLines {
  // Complete lines, oldest first, without their line ends.
  std::vector<std::string> lines;
  // A last line without its line end: being written, or cut short by a
  // crash. Left out of `lines`.
  bool cut_short = false;
  // Why the current file could not be read; empty when it was.
  std::string error;
};

// The complete lines in the last `bytes` bytes of the server's journal: its
// current file, and when that holds fewer, the rest from its newest older
// file ("<server>.1.journal"). A line the tail begins inside is left out.
// An absent current file reads as no lines; an unreadable one sets `error`.
TailLines ReadServerTail(FileSystem& files, const std::string& folder, const std::string& server,
                         std::uint64_t bytes);

}  // namespace ck::journal_files
