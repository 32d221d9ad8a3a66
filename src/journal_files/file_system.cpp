// The journal's file operations on the operating system's files.
#include "journal_files/file_system.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/utf8_path.h"

namespace ck::journal_files {

namespace fs = std::filesystem;
using core::PathFromUtf8;
using core::Utf8FromPath;

namespace {

std::string ErrnoText() {
  const int code = errno;
  return code != 0 ? std::error_code(code, std::generic_category()).message() : std::string("the write failed");
}

class RealFiles final : public FileSystem {
 public:
  bool MakeFolder(const std::string& folder, std::string& error) override {
    std::error_code code;
    const fs::path path = PathFromUtf8(folder);
    if (fs::exists(path, code) && !fs::is_directory(path, code)) {
      error = folder + " is a file, not a folder";
      return false;
    }
    fs::create_directories(path, code);
    if (fs::is_directory(path, code)) return true;
    error = "could not make the folder " + folder + (code ? ": " + code.message() : std::string());
    return false;
  }

  bool Append(const std::string& path, std::string_view data, std::string& error) override {
    errno = 0;
    std::ofstream file(PathFromUtf8(path), std::ios::binary | std::ios::app);
    if (!file.is_open()) {
      error = "could not open " + path + ": " + ErrnoText();
      return false;
    }
    file.write(data.data(), static_cast<std::streamsize>(data.size()));
    file.flush();
    if (!file) {
      error = "could not write to " + path + ": " + ErrnoText();
      return false;
    }
    return true;
  }

  std::optional<std::uint64_t> Size(const std::string& path) override {
    std::error_code code;
    const std::uintmax_t size = fs::file_size(PathFromUtf8(path), code);
    if (code) return std::nullopt;
    return static_cast<std::uint64_t>(size);
  }

  bool Rename(const std::string& from, const std::string& to, std::string& error) override {
    std::error_code code;
    if (fs::exists(PathFromUtf8(to), code)) {
      error = "could not rename " + from + " to " + to + ": the target exists";
      return false;
    }
    fs::rename(PathFromUtf8(from), PathFromUtf8(to), code);
    if (!code) return true;
    error = "could not rename " + from + " to " + to + ": " + code.message();
    return false;
  }

  bool Remove(const std::string& path, std::string& error) override {
    std::error_code code;
    fs::remove(PathFromUtf8(path), code);
    if (!code) return true;
    error = "could not delete " + path + ": " + code.message();
    return false;
  }

  std::optional<Tail> ReadTail(const std::string& path, std::uint64_t bytes, std::string& error) override {
    std::ifstream file(PathFromUtf8(path), std::ios::binary);
    if (!file.is_open()) {
      error = "could not be opened";
      return std::nullopt;
    }
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    if (size < 0) {
      error = "could not be read";
      return std::nullopt;
    }
    const std::uint64_t length = static_cast<std::uint64_t>(size);
    const std::uint64_t start = length > bytes ? length - bytes : 0;
    Tail tail;
    tail.whole = start == 0;
    tail.bytes.resize(static_cast<std::size_t>(length - start));
    file.seekg(static_cast<std::streamoff>(start));
    file.read(tail.bytes.data(), static_cast<std::streamsize>(tail.bytes.size()));
    tail.bytes.resize(static_cast<std::size_t>(file.gcount()));
    return tail;
  }

  std::optional<std::vector<std::string>> List(const std::string& folder, std::size_t most,
                                               std::string& error) override {
    std::error_code code;
    fs::directory_iterator entries(PathFromUtf8(folder), code);
    if (code) {
      error = code.message();
      return std::nullopt;
    }
    std::vector<std::string> names;
    for (; entries != fs::directory_iterator() && names.size() < most; entries.increment(code)) {
      if (code) break;
      std::error_code kind;
      if (entries->is_regular_file(kind)) names.push_back(Utf8FromPath(entries->path().filename()));
    }
    return names;
  }
};

}  // namespace

FileSystem& RealFileSystem() {
  // Holds nothing: its destruction (at the module's unload or the process's
  // exit) frees nothing and waits for nothing.
  static RealFiles files;
  return files;
}

std::string InFolder(const std::string& folder, std::string_view name) {
  return Utf8FromPath(PathFromUtf8(folder) / PathFromUtf8(name));
}

}  // namespace ck::journal_files
