// The few file operations the journal's files need, behind one interface so
// that a test can make any of them fail the way a real server's disk does (a
// full disk, a file another process holds open, a share that went away).
//
// Every operation says whether it did its work and, when it did not, leaves
// a short text of why in `error`; none throws. Paths are UTF-8. Any thread
// may call them; the real one keeps no state.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ck::journal_files {

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Makes the folder and any missing parent. True when it is a folder
  // afterwards; a path that names a plain file is an error ("... is a file,
  // not a folder").
  virtual bool MakeFolder(const std::string& folder, std::string& error) = 0;

  // Appends `data` to the file, creating it when missing, and flushes it.
  // False when any of it may not have reached the file.
  virtual bool Append(const std::string& path, std::string_view data, std::string& error) = 0;

  // The file's size in bytes; nothing when it does not exist or cannot be
  // read.
  virtual std::optional<std::uint64_t> Size(const std::string& path) = 0;

  // Renames a file; the target must not exist. On Windows a file another
  // process holds open without sharing its deletion refuses.
  virtual bool Rename(const std::string& from, const std::string& to, std::string& error) = 0;

  // Deletes a file; true when it is gone afterwards (also when it never
  // existed).
  virtual bool Remove(const std::string& path, std::string& error) = 0;

  // At most the last `bytes` bytes of the file, and whether that is the
  // whole file; nothing (and `error`) when it cannot be read.
  struct Tail {
    std::string bytes;
    bool whole = true;
  };
  virtual std::optional<Tail> ReadTail(const std::string& path, std::uint64_t bytes, std::string& error) = 0;

  // The names (not paths) of the plain files in the folder, at most `most`
  // of them, in no particular order; nothing when the folder cannot be
  // listed.
  virtual std::optional<std::vector<std::string>> List(const std::string& folder, std::size_t most,
                                                       std::string& error) = 0;
};

// The operating system's files, through the standard library.
FileSystem& RealFileSystem();

// `folder` and `name` joined with the platform's separator.
std::string InFolder(const std::string& folder, std::string_view name);

}  // namespace ck::journal_files
