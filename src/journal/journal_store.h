// The journal's files, from the game thread: where they are, opening them
// (the ring is filled from the end of this server's file when the plugin
// starts), handing each line to the writer thread, telling a fault once, and
// the status. A fault of the files (a folder that cannot be made, a full
// disk, a share that went away) is told in one warn line and on the status;
// the journal goes on in memory and in the log, and nothing else the plugin
// does waits for or depends on the files. Game thread only; never throws.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "config/plugin_config.h"

namespace ck::journal {

// What the journal's files are, as the settings and the game make them.
struct FilesPlan {
  std::string folder;  // as an admin reads it: relative to the working folder, or absolute
  std::string server;
  std::uint64_t file_bytes = 0;
  int files_kept = 0;
  bool operator==(const FilesPlan&) const = default;
};

// The end of a file read back at start-up, at most.
inline constexpr std::uint64_t kReadBackBytes = 512 * 1024;

// The plan for `settings`: JournalFolder, or "journal" beside the config
// file; JournalServerName made a server's name, or else the map's name
// (UWorld.GetMapName()) made one, or else "server" (said in a warn line).
// Nothing while the name is to come from the map and the game has no world
// yet (the framework loads plugins before the game makes its world).
std::optional<FilesPlan> PlanFiles(const config::PluginConfig& settings);

// Makes the folder and starts the writer; with `read_back`, first fills the
// ring from the last kReadBackBytes of this server's files. A folder that
// cannot be made gets one warn line, and no file is written.
void OpenFiles(const FilesPlan& plan, bool read_back);

// Start-up's step: the files are wanted, and opened (with the read back) as
// soon as they can be planned: now, or at the first journal line, answer or
// status once the world is up.
void StartFiles();

// Opens the wanted files when they are not open yet and can be planned.
void EnsureFilesOpen();

// For a reload: the files as the running settings make them. Unchanged
// files keep their writer; changed ones flush and join it, then open the
// new files (the ring keeps what it holds). Returns whether they changed.
bool ApplyFiles();

// Flushes what is queued and joins the writer thread. Unload calls it
// before the state goes.
void CloseFiles();

// Hands a stamped line to the writer (dropped and counted when its queue is
// full), then tells a fault the writer met since the last time. The files
// are opened (EnsureFilesOpen) before the line is stamped.
void WriteToFile(std::string stamped);

// One warn line for a fault of the writer not told yet: once until a write
// succeeds again.
void TellFileFaults();

// The server's name the lines carry ("server" before the files are planned:
// call EnsureFilesOpen first).
std::string ServerName();

// The status's account of the files: "file <path>: N queued, N written, N
// dropped[; last error: ...]", or why there is no file.
std::string FilesStatus();

}  // namespace ck::journal
