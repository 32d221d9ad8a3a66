// Reading the capture journal for an admin.
#include "plugin/journal_command.h"

#include <algorithm>
#include <charconv>
#include <sstream>

#include "host/framework/engine_text.h"
#include "journal/identities.h"
#include "journal/journal.h"

namespace ck::plugin {

namespace {

struct Query {
  std::string text;
  std::size_t count = kJournalDefaultCount;
};

// The words after the command's name.
Query ParseQuery(FString* line) {
  std::istringstream words(line != nullptr ? host::FStringToUtf8(line) : std::string());
  std::vector<std::string> parts;
  std::string word;
  words >> word;  // the command's own name
  while (words >> word) parts.push_back(word);
  Query query;
  if (!parts.empty()) {
    const std::string& last = parts.back();
    unsigned long long n = 0;
    const auto [end, error] = std::from_chars(last.data(), last.data() + last.size(), n);
    if (error == std::errc() && end == last.data() + last.size()) {
      query.count = static_cast<std::size_t>(std::clamp<unsigned long long>(n, 1, kJournalMostCount));
      parts.pop_back();
    }
  }
  for (const std::string& part : parts) query.text += (query.text.empty() ? "" : " ") + part;
  return query;
}

}  // namespace

std::vector<std::string> JournalAnswer(FString* line) {
  const Query query = ParseQuery(line);
  const std::vector<std::string> entries = journal::Latest(query.text, query.count);
  std::string head = "Cradlekeep journal: " + std::to_string(entries.size()) + " entr" +
                     (entries.size() == 1 ? "y" : "ies");
  if (!query.text.empty()) head += " matching \"" + query.text + "\"";
  head += ", newest first (" + std::to_string(journal::Held()) + " held, " + std::to_string(journal::Dropped()) +
          " dropped)";
  // Numbered, newest first: the answer also goes to the log, where an entry
  // must not read as a journal line of its own.
  std::vector<std::string> answer{head};
  for (std::size_t i = 0; i < entries.size(); ++i) answer.push_back("#" + std::to_string(i + 1) + " " + entries[i]);
  return answer;
}

std::string JournalStatusLine() {
  std::string line = "journal: " + std::to_string(journal::Held()) + " entries held, " +
                     std::to_string(journal::Dropped()) + " dropped";
  const std::string missing = journal::MissingFields();
  if (!missing.empty()) line += "; this game build lacks " + missing;
  return line;
}

}  // namespace ck::plugin
