#include "tools/sim/journal_line.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <vector>

namespace simtool {

using nlohmann::ordered_json;

namespace {

enum class Kind { kText, kPair, kInteger, kWord };

struct KnownKey {
  std::string_view key;
  Kind kind;
};

constexpr KnownKey kKnownKeys[] = {
    {"event", Kind::kWord},      {"player", Kind::kText},  {"playerId", Kind::kInteger}, {"creature", Kind::kText},
    {"class", Kind::kText},      {"creatureId", Kind::kPair}, {"slot", Kind::kWord},     {"trigger", Kind::kWord},
    {"mode", Kind::kWord},       {"outcome", Kind::kWord}, {"item", Kind::kPair},        {"reason", Kind::kText},
    {"by", Kind::kText},
};

// The keys every entry has, in this order, null when the line lacks them.
constexpr std::string_view kAlwaysPresent[] = {"event",      "player",  "playerId", "creature",
                                               "creatureId", "outcome", "item",     "reason"};

constexpr std::string_view kEvents[] = {"capture", "release", "podRemoved", "sicknessCleared"};

// What is wrong with the line; caught once, by ParseJournalLine.
struct Unreadable : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// One value as written: its text (unescaped when it was quoted).
struct RawValue {
  std::string text;
  bool quoted = false;
};

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsWord(std::string_view text) {
  return !text.empty() && IsLetter(text[0]) &&
         std::all_of(text.begin(), text.end(), [](char c) { return IsLetter(c) || IsDigit(c) || c == '_'; });
}

template <typename Number>
std::optional<Number> NumberOf(std::string_view text) {
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty() || text[0] == '+') return std::nullopt;
  return value;
}

std::optional<ordered_json> PairOf(std::string_view text) {
  const std::size_t comma = text.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  const std::string_view a = text.substr(0, comma), b = text.substr(comma + 1);
  if (a.empty() || b.empty() || !IsDigit(a[0]) || !IsDigit(b[0])) return std::nullopt;
  const auto first = NumberOf<std::uint32_t>(a), second = NumberOf<std::uint32_t>(b);
  if (!first || !second) return std::nullopt;
  return ordered_json::array({*first, *second});
}

// Reads a quoted text from `at` (its opening quote) up to its closing quote;
// `at` ends past it.
std::string ReadQuoted(std::string_view body, std::size_t& at, std::string_view key) {
  std::string text;
  for (++at; at < body.size(); ++at) {
    const char c = body[at];
    if (c == '"') {
      ++at;
      return text;
    }
    if (c == '\\') {
      if (at + 1 >= body.size() || (body[at + 1] != '"' && body[at + 1] != '\\')) {
        throw Unreadable("the value of " + std::string(key) + " has an escape other than \\\" and \\\\");
      }
      text += body[++at];
      continue;
    }
    text += c;
  }
  throw Unreadable("the quoted value of " + std::string(key) + " is not closed");
}

// Every key=value pair of the line's body, in order.
std::vector<std::pair<std::string, RawValue>> ReadPairs(std::string_view body) {
  std::vector<std::pair<std::string, RawValue>> pairs;
  if (body.empty()) throw Unreadable("no key=value pairs");
  std::size_t at = 0;
  while (true) {
    const std::size_t equals = body.find('=', at);
    const std::string_view key = body.substr(at, equals == std::string_view::npos ? std::string_view::npos : equals - at);
    if (equals == std::string_view::npos || key.empty() || !IsLetter(key[0]) ||
        !std::all_of(key.begin(), key.end(), [](char c) { return IsLetter(c) || IsDigit(c); })) {
      throw Unreadable("expected key=value at \"" + std::string(body.substr(at)) + "\"");
    }
    if (std::any_of(pairs.begin(), pairs.end(), [&](const auto& p) { return p.first == key; })) {
      throw Unreadable(std::string(key) + " is given twice");
    }
    at = equals + 1;
    RawValue value;
    if (at < body.size() && body[at] == '"') {
      value = RawValue{ReadQuoted(body, at, key), true};
    } else {
      const std::size_t end = std::min(body.find(' ', at), body.size());
      value.text = std::string(body.substr(at, end - at));
      if (value.text.empty()) throw Unreadable(std::string(key) + " has no value");
      if (value.text.find('"') != std::string::npos) throw Unreadable("the value of " + std::string(key) + " is cut by a quote");
      at = end;
    }
    pairs.emplace_back(std::string(key), std::move(value));
    if (at == body.size()) return pairs;
    if (body[at] != ' ' || at + 1 == body.size() || body[at + 1] == ' ') {
      throw Unreadable("the pairs must be separated by one space each, after " + std::string(key));
    }
    ++at;
  }
}

// The value as its key's kind wants it; for an unknown key, the most
// specific kind it fits.
ordered_json Typed(const std::string& key, const RawValue& value) {
  const auto known = std::find_if(std::begin(kKnownKeys), std::end(kKnownKeys),
                                  [&](const KnownKey& k) { return k.key == key; });
  if (known == std::end(kKnownKeys)) {
    if (value.quoted) return value.text;
    if (auto pair = PairOf(value.text)) return *pair;
    if (auto number = NumberOf<std::int64_t>(value.text)) return *number;
    return value.text;
  }
  const auto wrong = [&](const char* wants) { return Unreadable(key + " must be " + wants + ", not " + value.text); };
  switch (known->kind) {
    case Kind::kText:
      if (!value.quoted) throw wrong("a quoted text");
      return value.text;
    case Kind::kPair:
      if (auto pair = value.quoted ? std::nullopt : PairOf(value.text)) return *pair;
      throw wrong("two unsigned 32-bit numbers a,b");
    case Kind::kInteger:
      if (auto number = value.quoted ? std::nullopt : NumberOf<std::int64_t>(value.text)) return *number;
      throw wrong("a whole number");
    case Kind::kWord:
      if (value.quoted || !IsWord(value.text)) throw wrong("a bare word");
      return value.text;
  }
  return nullptr;
}

// The rules of the events themselves.
void CheckEvent(const ordered_json& entry) {
  if (entry["event"].is_null()) throw Unreadable("no event");
  const std::string event = entry["event"].get<std::string>();
  if (std::find(std::begin(kEvents), std::end(kEvents), event) == std::end(kEvents)) {
    throw Unreadable("unknown event " + event);
  }
  const ordered_json& outcome = entry["outcome"];
  if (!outcome.is_null() && outcome != "podded" && outcome != "left") {
    throw Unreadable("outcome must be podded or left, not " + outcome.get<std::string>());
  }
  if (event == "capture" && outcome.is_null()) throw Unreadable("a capture without an outcome");
}

}  // namespace

bool IsJournalLine(std::string_view text) { return text.substr(0, kJournalPrefix.size()) == kJournalPrefix; }

ParsedJournalLine ParseJournalLine(std::string_view text) {
  ParsedJournalLine parsed;
  try {
    if (!IsJournalLine(text)) throw Unreadable("it does not start with \"Cradlekeep journal \"");
    const auto pairs = ReadPairs(text.substr(kJournalPrefix.size()));
    ordered_json entry = ordered_json::object();
    for (const std::string_view key : kAlwaysPresent) entry[std::string(key)] = nullptr;
    for (const auto& [key, value] : pairs) entry[key] = Typed(key, value);
    CheckEvent(entry);
    parsed.entry = std::move(entry);
  } catch (const Unreadable& e) {
    parsed.problem = e.what();
  }
  return parsed;
}

}  // namespace simtool
