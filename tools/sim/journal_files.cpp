#include "tools/sim/journal_files.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <string_view>

namespace simtool {

namespace fs = std::filesystem;

namespace {

struct Stamp {
  std::string time;
  std::string server;
};

// The value of " <key>=" that follows `at`, and where it ends.
std::string_view Value(std::string_view line, std::size_t at, std::string_view key, std::size_t& end) {
  const std::string wanted = " " + std::string(key) + "=";
  if (line.compare(at, wanted.size(), wanted) != 0) return {};
  const std::size_t start = at + wanted.size();
  end = std::min(line.find(' ', start), line.size());
  return line.substr(start, end - start);
}

// The log's form of a stamped line ("Cradlekeep journal event=E time=T
// server=S rest" without " time=T server=S"), and its stamp.
bool Unstamped(std::string_view line, std::string& log_form, Stamp& stamp) {
  constexpr std::string_view kEvent = "Cradlekeep journal event=";
  if (!line.starts_with(kEvent)) return false;
  const std::size_t event_end = std::min(line.find(' ', kEvent.size()), line.size());
  std::size_t time_end = 0;
  std::size_t server_end = 0;
  const std::string_view time = Value(line, event_end, "time", time_end);
  if (time.empty()) return false;
  const std::string_view server = Value(line, time_end, "server", server_end);
  if (server.empty()) return false;
  log_form = std::string(line.substr(0, event_end)) + std::string(line.substr(server_end));
  stamp = Stamp{std::string(time), std::string(server)};
  return true;
}

// "<server>.journal" sorts after its older files "<server>.<n>.journal",
// older (higher n) first.
bool OlderFirst(const fs::path& a, const fs::path& b) {
  const auto rank = [](const fs::path& p) {
    const std::string stem = p.stem().string();  // "<server>" or "<server>.<n>"
    const std::size_t dot = stem.rfind('.');
    if (dot == std::string::npos) return std::make_pair(stem, 0L);
    return std::make_pair(stem.substr(0, dot), -std::strtol(stem.c_str() + dot + 1, nullptr, 10));
  };
  const auto ra = rank(a);
  const auto rb = rank(b);
  if (ra.first != rb.first) return ra.first < rb.first;
  return ra.second < rb.second;
}

}  // namespace

std::vector<fs::path> JournalFilesIn(const std::vector<fs::path>& folders) {
  std::set<fs::path> found;
  for (const fs::path& folder : folders) {
    std::error_code error;
    if (!fs::is_directory(folder, error)) continue;
    fs::recursive_directory_iterator entries(folder, error);
    for (; !error && entries != fs::recursive_directory_iterator(); entries.increment(error)) {
      if (entries.depth() > 6) entries.disable_recursion_pending();
      std::error_code kind;
      if (entries->is_regular_file(kind) && entries->path().extension() == ".journal") {
        found.insert(fs::weakly_canonical(entries->path(), kind));
      }
    }
  }
  std::vector<fs::path> files(found.begin(), found.end());
  std::stable_sort(files.begin(), files.end(), OlderFirst);
  return files;
}

void AddFileStamps(nlohmann::ordered_json& entries, const std::vector<std::string>& texts,
                   const std::vector<fs::path>& files) {
  // Each log form's stamps, in file order; the newest is taken first.
  std::map<std::string, std::vector<Stamp>> stamps;
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
      std::string log_form;
      Stamp stamp;
      if (Unstamped(line, log_form, stamp)) stamps[log_form].push_back(std::move(stamp));
    }
  }
  for (std::size_t i = std::min(texts.size(), entries.size()); i-- > 0;) {
    auto found = stamps.find(texts[i]);
    if (found == stamps.end() || found->second.empty()) continue;
    entries[i]["time"] = found->second.back().time;
    entries[i]["server"] = found->second.back().server;
    found->second.pop_back();
  }
}

}  // namespace simtool
