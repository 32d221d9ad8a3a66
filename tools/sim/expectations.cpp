#include "tools/sim/expectations.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "tools/sim/scenario_values.h"

namespace simtool {

using nlohmann::json;
using nlohmann::ordered_json;

namespace {

// A value as JSON text; a plugin's text that is not valid UTF-8 is shown
// with U+FFFD in place of each ill-formed byte instead of failing the run.
std::string Shown(const nlohmann::json& value) {
  return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

using Failures = std::vector<std::string>;

struct Expectation {
  std::string_view key;
  // Refuses the scenario when `want` does not fit the key; `where` is
  // "expect.<key>".
  void (*validate)(const Scenario& s, const json& want, const std::string& where);
  // Appends a text per way the report does not hold `want`; `key` is the
  // entry's own, for the texts.
  void (*evaluate)(const std::string& key, const json& want, const ordered_json& report, Failures& failures);
};

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

// The strings of a JSON list (an expectation's json or the report's ordered_json).
template <class Json>
std::vector<std::string> Strings(const Json& list) {
  std::vector<std::string> out;
  for (const auto& v : list) out.push_back(v.template get<std::string>());
  return out;
}

std::string Join(const std::vector<std::string>& v) {
  std::string out = "[";
  for (std::size_t i = 0; i < v.size(); ++i) out += (i ? ", " : "") + json(v[i]).dump();
  return out + "]";
}

std::vector<std::string> LogTexts(const ordered_json& report) {
  std::vector<std::string> texts;
  for (const auto& line : report["log"]) texts.push_back(line["text"].get<std::string>());
  return texts;
}

// Checks at load.

void ValidateTexts(const Scenario& s, const json& want, const std::string& where) { Texts(s, want, where); }

void ValidateMessages(const Scenario& s, const json& want, const std::string& where) {
  if (!want.is_array()) Fail(s, where, "must be a list");
  for (std::size_t i = 0; i < want.size(); ++i) {
    const std::string item_where = where + "[" + std::to_string(i) + "]";
    Object(s, want[i], item_where, {"player", "text"});
    Text(s, Need(s, want[i], "player", item_where), item_where + ".player");
    Text(s, Need(s, want[i], "text", item_where), item_where + ".text");
  }
}

void ValidateCreaturePlaces(const Scenario& s, const json& want, const std::string& where) {
  if (!want.is_object()) Fail(s, where, "must be an object");
  for (const auto& item : want.items()) {
    Text(s, item.value(), where + "." + item.key());
    if (std::none_of(s.creatures.begin(), s.creatures.end(), [&](const auto& c) { return c.id == item.key(); })) {
      Fail(s, where, "no creature '" + item.key() + "'");
    }
  }
}

void ValidateBoolList(const Scenario& s, const json& want, const std::string& where) {
  if (!want.is_array() || !std::all_of(want.begin(), want.end(), [](const json& v) { return v.is_boolean(); })) {
    Fail(s, where, "must be a list of true/false");
  }
}

// `{"<id>": value}`: each id checked by `id_check`, each value by `value_check`.
template <auto id_check, auto value_check>
void ValidateById(const Scenario& s, const json& want, const std::string& where) {
  if (!want.is_object()) Fail(s, where, "must be an object");
  for (const auto& item : want.items()) {
    id_check(s, json(item.key()), where);
    value_check(s, item.value(), where + "." + item.key());
  }
}

// `{"<JSON pointer>": value}`: each key a JSON pointer (RFC 6901) into the report.
void ValidateReportValues(const Scenario& s, const json& want, const std::string& where) {
  if (!want.is_object()) Fail(s, where, "must be an object of JSON pointers and values");
  for (const auto& item : want.items()) {
    try {
      json::json_pointer pointer(item.key());
      if (item.key().empty()) Fail(s, where, "the empty pointer names the whole report");
    } catch (const json::exception&) {
      Fail(s, where, "'" + item.key() + "' is not a JSON pointer (\"/players/ava/name\")");
    }
  }
}

// Evaluations against the report.

// Each pointed-to value of the report equals the wanted one.
void EvaluateReportValues(const std::string& key, const json& want, const ordered_json& report, Failures& failures) {
  for (const auto& item : want.items()) {
    const ordered_json::json_pointer pointer(item.key());
    const ordered_json wanted = ordered_json::parse(item.value().dump());
    if (!report.contains(pointer)) {
      failures.push_back(key + "." + item.key() + ": the report has no such value");
    } else if (report.at(pointer) != wanted) {
      failures.push_back(key + "." + item.key() + ": expected " + wanted.dump() + ", got " + report.at(pointer).dump());
    }
  }
}

// The report's list under `key` holds the same texts, order ignored.
void EvaluateSameSet(const std::string& key, const json& want, const ordered_json& report, Failures& failures) {
  const auto wanted = Sorted(Strings(want));
  const auto got = Sorted(Strings(report[key]));
  if (wanted != got) failures.push_back(key + ": expected " + Join(wanted) + ", got " + Join(got));
}

void EvaluateLogContains(const std::string& key, const json& want, const ordered_json& report, Failures& failures) {
  const auto texts = LogTexts(report);
  for (const auto& wanted : Strings(want)) {
    if (std::find(texts.begin(), texts.end(), wanted) == texts.end()) {
      failures.push_back(key + ": no log line " + Shown(wanted));
    }
  }
}

// Whether `text` is `pattern`, where each '*' of the pattern stands for any
// run of characters but a line end (the numbers a thread of the plugin moves
// between two looks, say).
bool Like(std::string_view text, std::string_view pattern) {
  const std::size_t star = pattern.find('*');
  if (star == std::string_view::npos) return text == pattern;
  if (text.substr(0, star) != pattern.substr(0, star)) return false;
  const std::string_view rest = pattern.substr(star + 1);
  for (std::size_t at = star; at <= text.size(); ++at) {
    if (Like(text.substr(at), rest)) return true;
    if (at < text.size() && text[at] == '\n') return false;
  }
  return false;
}

void EvaluateLogContainsLike(const std::string& key, const json& want, const ordered_json& report,
                             Failures& failures) {
  const auto texts = LogTexts(report);
  for (const auto& wanted : Strings(want)) {
    if (std::none_of(texts.begin(), texts.end(), [&](const std::string& text) { return Like(text, wanted); })) {
      failures.push_back(key + ": no log line like " + Shown(wanted));
    }
  }
}

void EvaluateLogMentions(const std::string& key, const json& want, const ordered_json& report, Failures& failures) {
  const auto texts = LogTexts(report);
  for (const auto& wanted : Strings(want)) {
    const bool found = std::any_of(texts.begin(), texts.end(),
                                   [&](const std::string& text) { return text.find(wanted) != std::string::npos; });
    if (!found) failures.push_back(key + ": no log line contains " + Shown(wanted));
  }
}

void EvaluateLogLacks(const std::string& key, const json& want, const ordered_json& report, Failures& failures) {
  const auto texts = LogTexts(report);
  for (const auto& unwanted : Strings(want)) {
    for (const auto& text : texts) {
      if (text.find(unwanted) != std::string::npos) {
        failures.push_back(key + ": log line " + Shown(text) + " contains " + Shown(unwanted));
      }
    }
  }
}

// `{"<text>": N}`: exactly N log lines contain the text.
void ValidateLogCount(const Scenario& s, const json& want, const std::string& where) {
  if (!want.is_object()) Fail(s, where, "must be an object of texts and counts");
  for (const auto& item : want.items()) {
    if (item.key().empty()) Fail(s, where, "an empty text is in every line");
    if (!item.value().is_number_unsigned()) Fail(s, where + "." + item.key(), "must be a whole number, 0 or more");
  }
}

void EvaluateLogCount(const std::string& key, const json& want, const ordered_json& report, Failures& failures) {
  const auto texts = LogTexts(report);
  for (const auto& item : want.items()) {
    const auto n = static_cast<std::uint64_t>(std::count_if(
        texts.begin(), texts.end(), [&](const std::string& text) { return text.find(item.key()) != std::string::npos; }));
    if (n != item.value().get<std::uint64_t>()) {
      failures.push_back(key + ": " + std::to_string(n) + " log line(s) contain " + json(item.key()).dump() +
                         ", not " + item.value().dump());
    }
  }
}

void EvaluateLogEquals(const std::string& key, const json& want, const ordered_json& report, Failures& failures) {
  const auto wanted = Strings(want);
  const auto texts = LogTexts(report);
  if (wanted != texts) failures.push_back(key + ": expected " + Join(wanted) + ", got " + Join(texts));
}

// Each wanted message is found after the one found before it; the first
// missing one is the only failure.
void EvaluateMessages(const std::string& key, const json& want, const ordered_json& report, Failures& failures) {
  const auto& got = report["messages"];
  auto next = got.begin();
  for (const auto& wanted : want) {
    next = std::find_if(next, got.end(), [&](const ordered_json& m) {
      return m["player"] == wanted["player"] && m["text"] == wanted["text"];
    });
    if (next == got.end()) {
      failures.push_back(key + ": no message " + wanted["text"].dump() + " to " + wanted["player"].dump() +
                         " in that order");
      return;
    }
    ++next;
  }
}

// Each text is the text of an RCON reply, in this order (others may come between).
void EvaluateRconReplies(const std::string& key, const json& want, const ordered_json& report, Failures& failures) {
  const auto& got = report["rconReplies"];
  auto next = got.begin();
  for (const auto& wanted : want) {
    next = std::find_if(next, got.end(), [&](const ordered_json& reply) { return reply["text"] == wanted; });
    if (next == got.end()) {
      failures.push_back(key + ": no reply " + Shown(wanted) + " in that order; got " + Shown(got));
      return;
    }
    ++next;
  }
}

// Like messages, each text a pattern as for logContainsLike.
void EvaluateMessagesLike(const std::string& key, const json& want, const ordered_json& report, Failures& failures) {
  const auto& got = report["messages"];
  auto next = got.begin();
  for (const auto& wanted : want) {
    next = std::find_if(next, got.end(), [&](const ordered_json& m) {
      return m["player"] == wanted["player"] &&
             Like(m["text"].get<std::string>(), wanted["text"].get<std::string>());
    });
    if (next == got.end()) {
      failures.push_back(key + ": no message like " + wanted["text"].dump() + " to " + wanted["player"].dump() +
                         " in that order");
      return;
    }
    ++next;
  }
}

// Like rconReplies, each text a pattern as for logContainsLike.
void EvaluateRconRepliesLike(const std::string& key, const json& want, const ordered_json& report,
                             Failures& failures) {
  const auto& got = report["rconReplies"];
  auto next = got.begin();
  for (const auto& wanted : want) {
    next = std::find_if(next, got.end(), [&](const ordered_json& reply) {
      return Like(reply["text"].get<std::string>(), wanted.get<std::string>());
    });
    if (next == got.end()) {
      failures.push_back(key + ": no reply like " + Shown(wanted) + " in that order; got " + Shown(got));
      return;
    }
    ++next;
  }
}

void EvaluateCreaturePlaces(const std::string& key, const json& want, const ordered_json& report, Failures& failures) {
  for (const auto& item : want.items()) {
    const std::string got = report["creatures"][item.key()]["where"].get<std::string>();
    if (got != item.value().get<std::string>()) {
      failures.push_back(key + "." + item.key() + ": expected " + item.value().dump() + ", got \"" + got + "\"");
    }
  }
}

// The plugin's registrations under `key`, in order.
void EvaluateRegistrations(const std::string& key, const json& want, const ordered_json& report, Failures& failures) {
  const auto wanted = Strings(want);
  const auto got = Strings(report["plugin"][key]);
  if (wanted != got) failures.push_back(key + ": expected " + Join(wanted) + ", got " + Join(got));
}

void EvaluateExternalResults(const std::string& key, const json& want, const ordered_json& report, Failures& failures) {
  if (want != report[key]) failures.push_back(key + ": expected " + want.dump() + ", got " + report[key].dump());
}

// With true: every hooked function called reached the game's own as often.
void EvaluateHookedCalls(const std::string& key, const json& want, const ordered_json& report, Failures& failures) {
  if (!want.get<bool>()) return;
  for (const auto& item : report["hookedCalls"].items()) {
    if (item.value()["calls"] != item.value()["reachedGame"]) {
      failures.push_back(key + ": " + item.key() + " was called " + item.value()["calls"].dump() +
                         " time(s) and reached the game " + item.value()["reachedGame"].dump() + " time(s)");
    }
  }
}

// `{"<id>": [buffs]}` against the buffs of the report's `section` entries.
void EvaluateBuffsIn(const char* section, const std::string& key, const json& want, const ordered_json& report,
                     Failures& failures) {
  for (const auto& item : want.items()) {
    const auto& got = report[section][item.key()]["buffs"];
    if (got != item.value()) {
      failures.push_back(key + "." + item.key() + ": expected " + item.value().dump() + ", got " + got.dump());
    }
  }
}

void EvaluatePlayerBuffs(const std::string& key, const json& want, const ordered_json& report, Failures& failures) {
  EvaluateBuffsIn("players", key, want, report, failures);
}

void EvaluateCreatureBuffs(const std::string& key, const json& want, const ordered_json& report, Failures& failures) {
  EvaluateBuffsIn("creatures", key, want, report, failures);
}

void EvaluateInventoryCount(const std::string& key, const json& want, const ordered_json& report, Failures& failures) {
  for (const auto& item : want.items()) {
    const auto got = report["players"][item.key()]["inventory"].size();
    if (got != item.value().get<std::size_t>()) {
      failures.push_back(key + "." + item.key() + ": expected " + item.value().dump() + ", got " + std::to_string(got));
    }
  }
}

void EvaluateMemory(const std::string& key, const json& want, const ordered_json& report, Failures& failures) {
  const long long live = report["engineMemory"]["liveBlocks"].get<long long>();
  if ((live == 0) != want.get<bool>()) {
    failures.push_back(key + ": " + std::to_string(live) + " engine block(s) still live");
  }
}

// Every key, in the order its failures are reported.
const Expectation kExpectations[] = {
    {"lost", ValidateTexts, EvaluateSameSet},
    {"duplicated", ValidateTexts, EvaluateSameSet},
    {"leftBehind", ValidateTexts, EvaluateSameSet},
    {"missingKeyRequests", ValidateTexts, EvaluateSameSet},
    {"logContains", ValidateTexts, EvaluateLogContains},
    {"logContainsLike", ValidateTexts, EvaluateLogContainsLike},
    {"logMentions", ValidateTexts, EvaluateLogMentions},
    {"logLacks", ValidateTexts, EvaluateLogLacks},
    {"logCount", ValidateLogCount, EvaluateLogCount},
    {"logEquals", ValidateTexts, EvaluateLogEquals},
    {"messages", ValidateMessages, EvaluateMessages},
    {"messagesLike", ValidateMessages, EvaluateMessagesLike},
    {"creatures", ValidateCreaturePlaces, EvaluateCreaturePlaces},
    {"hooks", ValidateTexts, EvaluateRegistrations},
    {"consoleCommands", ValidateTexts, EvaluateRegistrations},
    {"rconCommands", ValidateTexts, EvaluateRegistrations},
    {"rconReplies", ValidateTexts, EvaluateRconReplies},
    {"rconRepliesLike", ValidateTexts, EvaluateRconRepliesLike},
    {"tickCallbacks", ValidateTexts, EvaluateRegistrations},
    {"externalCaptureResults", ValidateBoolList, EvaluateExternalResults},
    {"hookedCallsReachGame", ValidateBool, EvaluateHookedCalls},
    {"playerBuffs", ValidateById<Player, Texts>, EvaluatePlayerBuffs},
    {"creatureBuffs", ValidateById<CreatureId, Texts>, EvaluateCreatureBuffs},
    {"inventoryCount", ValidateById<Player, Int>, EvaluateInventoryCount},
    {"engineMemoryBalanced", ValidateBool, EvaluateMemory},
    {"reportValues", ValidateReportValues, EvaluateReportValues},
};

bool Known(const std::string& key) {
  return std::any_of(std::begin(kExpectations), std::end(kExpectations),
                     [&](const Expectation& e) { return e.key == key; });
}

}  // namespace

void ValidateExpect(const Scenario& s, const json& expect) {
  if (!expect.is_object()) Fail(s, "expect", "must be an object");
  for (const auto& item : expect.items()) {
    if (!Known(item.key())) Fail(s, "expect", "unknown key '" + item.key() + "'");
  }
  for (const Expectation& e : kExpectations) {
    const std::string key(e.key);
    if (expect.contains(key)) e.validate(s, expect[key], "expect." + key);
  }
}

Failures FailedExpectations(const json& expect, const ordered_json& report) {
  Failures failures;
  for (const Expectation& e : kExpectations) {
    const std::string key(e.key);
    if (expect.contains(key)) e.evaluate(key, expect[key], report, failures);
  }
  return failures;
}

}  // namespace simtool
