#include "journal/journal_entry.h"

#include <string>

#include "core/text.h"
#include "core/utc_time.h"
#include "journal_files/journal_names.h"

namespace ck::journal {

namespace {

constexpr std::string_view kPrefix = "Cradlekeep journal ";

struct Pair {
  std::string_view key;
  std::string value;  // unescaped for a text
  bool text = false;
};

bool KeyCharacter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The pair at `at` (just past a blank); advances `at` past it. Nothing when
// the bytes there are not one.
std::optional<Pair> NextPair(std::string_view line, std::size_t& at) {
  const std::size_t equals = line.find('=', at);
  if (equals == std::string_view::npos || equals == at) return std::nullopt;
  Pair pair;
  pair.key = line.substr(at, equals - at);
  for (const char c : pair.key) {
    if (!KeyCharacter(c)) return std::nullopt;
  }
  at = equals + 1;
  if (at < line.size() && line[at] == '"') {
    pair.text = true;
    for (++at; at < line.size() && line[at] != '"'; ++at) {
      if (line[at] == '\\' && ++at == line.size()) return std::nullopt;
      pair.value += line[at];
    }
    if (at == line.size()) return std::nullopt;  // no closing quote
    ++at;
  } else {
    const std::size_t end = std::min(line.find(' ', at), line.size());
    pair.value = std::string(line.substr(at, end - at));
    if (pair.value.empty() || pair.value.find('"') != std::string::npos) return std::nullopt;
    at = end;
  }
  if (at < line.size() && line[at] != ' ') return std::nullopt;
  return pair;
}

// Where the value of "<key>=" sits among the line's first fixed pairs.
std::string_view BareValue(std::string_view line, std::string_view key) {
  const std::string wanted = " " + std::string(key) + "=";
  const std::size_t at = line.find(wanted);
  if (at == std::string_view::npos) return {};
  const std::size_t start = at + wanted.size();
  const std::size_t end = std::min(line.find(' ', start), line.size());
  return line.substr(start, end - start);
}

}  // namespace

std::optional<state::JournalEntry> ReadEntry(std::string_view line) {
  if (!line.starts_with(kPrefix)) return std::nullopt;
  std::size_t at = kPrefix.size();
  state::JournalEntry entry;
  bool texts_begun = false;
  int index = 0;
  for (; at < line.size(); ++index) {
    const std::optional<Pair> pair = NextPair(line, at);
    if (!pair || (texts_begun && !pair->text)) return std::nullopt;
    texts_begun = texts_begun || pair->text;
    // The event, the time and the server lead, in that order.
    static constexpr std::string_view kLeading[] = {"event", "time", "server"};
    if (index < 3 && (pair->key != kLeading[index] || pair->text)) return std::nullopt;
    if (index == 1 && !core::LooksLikeUtcText(pair->value)) return std::nullopt;
    if (index == 2 && !journal_files::IsServerName(pair->value)) return std::nullopt;
    if (pair->key == "playerId" || pair->key == "creatureId" || pair->key == "item") {
      entry.search += "\t" + pair->value + "\t\n";
    } else if (pair->text && (pair->key == "player" || pair->key == "creature")) {
      entry.search += core::ToLowerCopy(pair->value) + "\n";
    }
    if (at < line.size() && ++at == line.size()) return std::nullopt;  // a blank with no pair after it
  }
  if (index < 3) return std::nullopt;
  entry.line = std::string(line);
  return entry;
}

ReadEntries ReadAll(const std::vector<std::string>& lines) {
  ReadEntries read;
  for (const std::string& line : lines) {
    if (auto entry = ReadEntry(line)) {
      read.entries.push_back(std::move(*entry));
    } else {
      ++read.unreadable;
    }
  }
  return read;
}

std::string_view TimeOf(std::string_view line) { return BareValue(line, "time"); }

std::string_view ServerOf(std::string_view line) { return BareValue(line, "server"); }

}  // namespace ck::journal
