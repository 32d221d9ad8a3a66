// Reading the capture journal for an admin.
#include "plugin/journal_command.h"

#include <optional>
#include <sstream>

#include "host/framework/engine_text.h"
#include "journal/identities.h"
#include "journal/journal.h"
#include "journal/journal_cluster.h"
#include "journal/journal_line.h"
#include "journal/journal_store.h"

namespace ck::plugin {

namespace {

struct Query {
  std::string text;
  std::size_t count = kJournalDefaultCount;
  std::string problem;  // why the line is not a query (then the usage answer)
};

// N of "-n N": a decimal whole number from 1 to kJournalMostCount.
std::optional<std::size_t> CountOf(const std::string& word) {
  if (word.empty() || word.size() > 2) return std::nullopt;
  std::size_t n = 0;
  for (const char c : word) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + static_cast<std::size_t>(c - '0');
  }
  if (n < 1 || n > kJournalMostCount) return std::nullopt;
  return n;
}

// The words after the command's name.
Query ParseQuery(FString* line) {
  std::istringstream words(line != nullptr ? host::FStringToUtf8(line) : std::string());
  std::vector<std::string> parts;
  std::string word;
  words >> word;  // the command's own name
  while (words >> word) parts.push_back(word);
  Query query;
  std::size_t at = 0;
  if (at < parts.size() && parts[at] == "-n") {
    const std::optional<std::size_t> count = at + 1 < parts.size() ? CountOf(parts[at + 1]) : std::nullopt;
    if (!count) {
      query.problem = "the count after -n must be a whole number from 1 to " + std::to_string(kJournalMostCount) +
                      (at + 1 < parts.size() ? ", not \"" + journal::SafeText(parts[at + 1], 24) + "\"" : "");
      return query;
    }
    query.count = *count;
    at += 2;
  }
  if (at < parts.size() && parts[at] == "--") {
    ++at;
  } else if (at < parts.size() && parts[at].size() > 1 && parts[at][0] == '-' && !journal::IsIdQuery(parts[at])) {
    query.problem = "unknown option \"" + journal::SafeText(parts[at], 24) + "\" (to search for it, put -- before it)";
    return query;
  }
  for (; at < parts.size(); ++at) query.text += (query.text.empty() ? "" : " ") + parts[at];
  return query;
}

std::string Entries(std::size_t n) { return std::to_string(n) + (n == 1 ? " entry" : " entries"); }

// "A, B and 3 more": at most kNamed of the texts, each cut short.
std::string Listed(const std::vector<std::string>& texts) {
  constexpr std::size_t kNamed = 4;
  std::string list;
  for (std::size_t i = 0; i < texts.size() && i < kNamed; ++i) {
    list += (i == 0 ? "" : "; ") + journal::SafeText(texts[i], 160);
  }
  if (texts.size() > kNamed) list += " and " + std::to_string(texts.size() - kNamed) + " more";
  return list;
}

// What the other servers' files added: which servers were read, and what
// was left out.
std::string ClusterPart(const journal::Found& found) {
  std::string part;
  if (!found.others.servers.empty()) part += "; other servers searched: " + Listed(found.others.servers);
  if (found.others.not_read > 0) {
    part += "; " + std::to_string(found.others.not_read) + " more servers' files not read (at most " +
            std::to_string(journal::kClusterFiles) + " are)";
  }
  if (!found.others.skipped.empty()) part += "; left out: " + Listed(found.others.skipped);
  return part;
}

std::string HeadLine(const Query& query, std::size_t shown, const journal::Found& found) {
  std::string head = "Cradlekeep journal: " + std::to_string(shown) + " of " + Entries(found.matching);
  if (!query.text.empty()) {
    head += std::string(journal::IsIdQuery(query.text) ? " naming id " : " matching ") + "\"" +
            journal::SafeText(query.text) + "\"";
  }
  return head + ", newest first (" + std::to_string(journal::Held()) + " held, " +
         std::to_string(journal::Dropped()) + " dropped" + ClusterPart(found) + ")";
}

}  // namespace

std::vector<std::string> JournalAnswer(FString* line) {
  const Query query = ParseQuery(line);
  if (!query.problem.empty()) return {"Cradlekeep journal: " + query.problem, kJournalUsage};
  const journal::Found found = journal::Latest(query.text, query.count);
  // The room the head line and the last line may take at the most.
  const std::string longest_head = HeadLine(query, found.lines.size(), found);
  const std::string longest_tail = std::to_string(found.lines.size()) + " more: narrow the search";
  std::size_t bytes = longest_head.size() + 1 + longest_tail.size();
  std::vector<std::string> entries;
  for (std::size_t i = 0; i < found.lines.size(); ++i) {
    std::string entry = "#" + std::to_string(i + 1) + " " + found.lines[i];
    if (bytes + entry.size() + 1 >= kJournalMostAnswerBytes) break;
    bytes += entry.size() + 1;
    entries.push_back(std::move(entry));
  }
  std::vector<std::string> answer{HeadLine(query, entries.size(), found)};
  for (std::string& entry : entries) answer.push_back(std::move(entry));
  if (entries.size() < found.lines.size()) {
    answer.push_back(std::to_string(found.lines.size() - entries.size()) + " more: narrow the search");
  }
  return answer;
}

std::string JournalStatusLine() {
  std::string line = "journal: " + std::to_string(journal::Held()) + " entries held, " +
                     std::to_string(journal::Dropped()) + " dropped";
  line += "; " + journal::FilesStatus();
  const std::string missing = journal::MissingFields();
  if (!missing.empty()) line += "; " + missing;
  return line;
}

}  // namespace ck::plugin
