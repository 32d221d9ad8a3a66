// The journal's file writer: a bounded queue of lines and a thread of the
// plugin's own that appends them to the server's journal file, so that the
// game thread never waits for a disk (a cluster's shared folder may be on a
// network, where one write can take seconds).
//
// The game thread hands each line to Enqueue, which takes a lock held only
// for moving lines in and out of the queue, never for a write. A full queue
// drops the line and counts it. The thread writes what the queue holds in one
// append, rotating the file first when that append would take it past its
// size: "<server>.journal" becomes "<server>.1.journal", each older file moves
// up one, and the oldest beyond the files kept is deleted. A rotation that
// fails (on Windows, a file another process holds open refuses to be renamed
// or deleted) leaves the current file as it is: the lines are appended to it
// all the same, and the rotation is tried again with the next write. A failed
// append counts its lines as dropped and keeps the failure's text. The thread
// never logs; the game thread reads the counts and the last failure.
//
// Stop (and the destructor) flushes: the thread writes what is queued (one
// append of at most kQueueLines lines) and ends, and Stop joins it. Nothing
// else waits for the thread; at a process exit that stops nothing, what is
// lost is at most the lines still queued.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "journal_files/file_system.h"

namespace ck::journal_files {

inline constexpr std::size_t kQueueLines = 256;
inline constexpr int kMostFilesKept = 100;

struct WriterSettings {
  std::string folder;  // made already
  std::string server;  // a server's name (journal_names.h)
  // The current file is rotated before an append that would take it past
  // this many bytes (an append into an empty file is never held back).
  std::uint64_t file_bytes = 1024 * 1024;
  // The current file and the older ones together, 2 to kMostFilesKept.
  int files_kept = 4;
  std::size_t queue_lines = kQueueLines;
};

struct WriterCounts {
  std::uint64_t queued = 0;   // waiting for the thread or being written now
  std::uint64_t written = 0;  // appended to the file
  std::uint64_t dropped_full = 0;
  std::uint64_t dropped_failed = 0;
  std::uint64_t failures = 0;  // failed appends and rotations, ever
  std::string last_error;      // the latest failure's text, or empty
};

class Writer {
 public:
  // Starts the thread. Throws std::system_error when it cannot be started.
  Writer(WriterSettings settings, FileSystem& files);
  ~Writer();
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  // Queues the line (without its line end). False when it was dropped: the
  // queue is full or the writer has stopped. Never blocks on a write, never
  // throws.
  bool Enqueue(std::string line) noexcept;

  // Writes what is queued, then ends the thread and joins it. Lines queued
  // afterwards are dropped. Safe to call twice.
  void Stop() noexcept;

  WriterCounts Counts() const;
  const WriterSettings& Settings() const { return settings_; }

 private:
  void Run() noexcept;
  void WriteBatch(const std::vector<std::string>& batch);
  bool Rotate(std::string& error);
  void Fail(std::string error);

  const WriterSettings settings_;
  FileSystem& files_;
  const std::string path_;

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<std::string> queue_;
  std::size_t in_flight_ = 0;
  bool stop_ = false;
  WriterCounts counts_;
  // Whether the file's last byte was looked at (the thread's only).
  bool end_checked_ = false;
  std::thread thread_;
};

}  // namespace ck::journal_files
