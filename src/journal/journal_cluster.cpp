#include "journal/journal_cluster.h"

#include <algorithm>
#include <optional>

#include "journal/journal_entry.h"
#include "journal_files/file_system.h"
#include "journal_files/journal_names.h"
#include "journal_files/journal_tail.h"

namespace ck::journal {

namespace {

// At most this many names are looked at in the folder.
constexpr std::size_t kMostNamesListed = 4096;

// The other servers with a current file in the folder, in name order.
std::vector<std::string> OtherServerNames(const std::string& folder, const std::string& own) {
  std::string error;
  const auto names = journal_files::RealFileSystem().List(folder, kMostNamesListed, error);
  std::vector<std::string> servers;
  if (!names) return servers;
  for (const std::string& name : *names) {
    std::optional<std::string> server = journal_files::ServerOfCurrentFile(name);
    if (server && *server != own) servers.push_back(std::move(*server));
  }
  std::sort(servers.begin(), servers.end());
  return servers;
}

std::string Lines(std::size_t n) { return std::to_string(n) + (n == 1 ? " line" : " lines"); }

// Reads one server's file into `found`.
void SearchServer(const std::string& folder, const std::string& server,
                  const std::function<bool(const state::JournalEntry&)>& matches, std::size_t count,
                  ClusterFound& found) {
  const std::string file = journal_files::CurrentFileName(server);
  const journal_files::TailLines tail =
      journal_files::ReadServerTail(journal_files::RealFileSystem(), folder, server, kClusterTailBytes);
  if (!tail.error.empty()) {
    found.others.skipped.push_back(file + ": " + tail.error);
    return;
  }
  ReadEntries read = ReadAll(tail.lines);
  std::vector<state::JournalEntry>& entries = read.entries;
  const std::size_t unreadable = read.unreadable;
  if (entries.empty() && unreadable > 0) {
    found.others.skipped.push_back(file + ": not a journal file");
    return;
  }
  found.others.servers.push_back(server);
  if (unreadable > 0 || tail.cut_short) {
    found.others.skipped.push_back(file + ": " + Lines(unreadable + (tail.cut_short ? 1 : 0)) + " cut short or unreadable");
  }
  std::size_t kept = 0;
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
    if (!matches(*entry)) continue;
    ++found.matching;
    if (kept < count) {
      found.entries.push_back(std::move(*entry));
      ++kept;
    }
  }
}

}  // namespace

ClusterFound SearchOtherServers(const std::string& folder, const std::string& own,
                                const std::function<bool(const state::JournalEntry&)>& matches, std::size_t count) {
  ClusterFound found;
  if (folder.empty()) return found;
  const std::vector<std::string> servers = OtherServerNames(folder, own);
  const std::size_t read = std::min(servers.size(), kClusterFiles);
  found.others.not_read = servers.size() - read;
  for (std::size_t i = 0; i < read; ++i) SearchServer(folder, servers[i], matches, count, found);
  return found;
}

}  // namespace ck::journal
