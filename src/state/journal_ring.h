// What the capture journal keeps in memory: the latest entries, in a ring of
// fixed capacity, so that it never grows with the server's uptime.
// Game thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "journal_files/journal_writer.h"

namespace ck::state {

// One entry: the line as the journal's files have it (the log's line with
// its time and server), and the text a filter searches (the player's and the
// creature's names and ids, lower case).
struct JournalEntry {
  std::string line;
  std::string search;
};

struct JournalRing {
  // Filled up to the capacity, then overwritten oldest first.
  std::vector<JournalEntry> entries;
  // Where the next entry goes once the ring is full.
  std::size_t next = 0;
  // Entries overwritten since start-up.
  std::uint64_t dropped = 0;
};

// The journal's files as this server writes them.
struct JournalFiles {
  // Start-up wants the files; they are opened once they can be planned.
  bool wanted = false;
  bool opened = false;
  // The name this server's lines carry and its file is named after.
  std::string server;
  // The folder the files are in; empty when no file is written.
  std::string folder;
  // The same folder as the writer and the reads use it: absolute, as it was
  // when the files were opened.
  std::string io_folder;
  // The folder the files were planned in, made or not.
  std::string planned_folder;
  // Why no file is written (the folder could not be made), when it is not.
  std::string off_reason;
  // The writer (absent when no file is written). Stopped and joined before
  // the state is destroyed, which an unload does before the framework
  // frees the module.
  std::unique_ptr<journal_files::Writer> writer;
  // Settings the writer was made with, to tell whether a reload changes them.
  std::uint64_t file_bytes = 0;
  int files_kept = 0;
  // The writer's failures seen, and the last one the log was told of: each
  // fault is told once, not again while it stays the same.
  std::uint64_t failures_told = 0;
  std::string error_told;
  // Entries read back from the file when the plugin started, and lines left
  // out there because they were cut short or not journal lines.
  std::size_t read_back = 0;
  std::size_t skipped_back = 0;
};

}  // namespace ck::state
