// cradlekeep-keys: writes the table of every game key the plugin uses
// (docs/game-keys.md) from the plugin's own table of keys and parts, the
// facts about the framework's released headers (asaapi-2.03-headers.tsv) and
// about the maintainers' header passes over newer game builds
// (header-cleanup-passes.tsv, beside it), and compares the catalogue's
// function signatures, under every name, with the headers' calls.
//
//   cradlekeep-keys FACTS.tsv               prints the table
//   cradlekeep-keys FACTS.tsv --check DOC   fails (exit 1) when DOC is not the table,
//                                           or a cell of a pass's build states
//                                           a name the pass does not declare
//                                           without saying it is deduced
//   cradlekeep-keys FACTS.tsv --write DOC   writes the table to DOC
//   cradlekeep-keys FACTS.tsv --check-forms fails (exit 1) when a function's
//                                           calling form in the catalogue
//                                           differs from the headers' beyond
//                                           the allowed differences
//                                           (form_exceptions.h), one line each
//
// Exit 2 when the facts file is unreadable, does not name exactly the
// plugin's keys, or gives a function key no form (or a field one).
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "host/game/parts.h"
#include "tools/keys/form_exceptions.h"
#include "tools/keys/header_form.h"

namespace {

struct Fact {
  std::string status;    // declared, differs, absent
  std::string form;      // the headers' call of a function key, or "-"
  std::string spelling;  // the headers' spelling, when it differs or is related
  ck::keys::HeaderForm call;              // the form read, when there is one
  std::vector<ck::host::AbiClass> classes;  // and its calling classes
};

bool HasForm(const Fact& fact) { return fact.form != "-"; }

// Calls `take` with the tab-separated fields of every line of the file but
// blank lines and comments (#); false when the file cannot be read or
// `take` refuses a line (it sets `error`).
template <typename Take>
bool ReadTsv(const std::string& path, std::string& error, Take take) {
  std::ifstream in(path);
  if (!in) {
    error = "cannot read " + path;
    return false;
  }
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields;
    std::istringstream text(line);
    for (std::string field; std::getline(text, field, '\t');) fields.push_back(field);
    fields.resize(std::max<std::size_t>(fields.size(), 4));
    if (!take(fields)) return false;
  }
  return true;
}

bool ReadFacts(const std::string& path, std::map<std::string, Fact>& facts, std::string& error) {
  return ReadTsv(path, error, [&](const std::vector<std::string>& fields) {
    const std::string& key = fields[0];
    Fact fact;
    fact.status = fields[1];
    fact.form = fields[2];
    fact.spelling = fields[3];
    if (fact.status != "declared" && fact.status != "differs" && fact.status != "absent") {
      error = path + ": unknown status '" + fact.status + "' of " + key;
      return false;
    }
    if (fact.form.empty()) {
      error = path + ": no form (or -) for " + key;
      return false;
    }
    if (HasForm(fact)) {
      std::string why;
      if (!ck::keys::ParseHeaderForm(fact.form, fact.call, why) ||
          !ck::keys::ClassifyHeaderForm(fact.call, fact.classes, why)) {
        error = path + ": the form of " + key + ": " + why;
        return false;
      }
    }
    if (!facts.emplace(key, fact).second) {
      error = path + ": " + key + " twice";
      return false;
    }
    return true;
  });
}

// Every name the plugin may ask for, with its calling form (empty for a
// field or bit field): each member's catalogue name, then its other names.
std::map<std::string, std::span<const ck::host::AbiClass>> AllNames() {
  std::map<std::string, std::span<const ck::host::AbiClass>> names;
  for (const ck::host::KeyNeed& need : ck::host::GameKeyTable()) {
    for (std::size_t n = 0; n < need.member->NameCount(); ++n) {
      names.emplace(need.member->NameKey(n), need.member->NameForm(n));
    }
  }
  return names;
}

// A function key has a form exactly when the headers declare it; a field or
// bit field has none.
bool CheckFormPresence(const std::string& key, std::span<const ck::host::AbiClass> form, const Fact& fact,
                       std::string& error) {
  const bool function = !form.empty();
  const bool wanted = function && fact.status != "absent";
  if (HasForm(fact) == wanted) return true;
  error = key + (wanted ? " is a function the headers declare: it needs a form"
                        : function ? " is absent from the headers: its form is -"
                                   : " is a field: its form is -");
  return false;
}

// What the header passes over newer builds say, read from
// header-cleanup-passes.tsv: which keys each marks missing (key -> the
// passes' builds, "92.23", "92.28") and each pass's commit (build -> commit).
struct PassFacts {
  std::map<std::string, std::vector<std::string>> missing;
  std::map<std::string, std::string> commits;
};

bool ReadPasses(const std::string& path, PassFacts& passes, std::string& error) {
  return ReadTsv(path, error, [&](const std::vector<std::string>& fields) {
    const std::string& key = fields[0];
    const std::string& commit = fields[1];
    const std::string& build = fields[2];
    if (key.empty() || commit.empty() || build.empty()) {
      error = path + ": a line without key, commit and build";
      return false;
    }
    passes.missing[key].push_back(build);
    passes.commits[build] = commit;
    return true;
  });
}

std::string Code(const std::string& text) { return "`" + text + "`"; }

std::string Classes(std::span<const ck::host::AbiClass> classes) {
  std::string text(ck::host::AbiClassName(classes.front()));
  text += '(';
  for (std::size_t i = 1; i < classes.size(); ++i) {
    if (i > 1) text += ',';
    text += ck::host::AbiClassName(classes[i]);
  }
  return text + ')';
}

const ck::keys::FormException* FindException(const std::string& key, const std::string& catalogue,
                                             const std::string& headers) {
  for (const ck::keys::FormException& exception : ck::keys::kFormExceptions) {
    if (exception.key == key && exception.catalogue == catalogue && exception.headers == headers) return &exception;
  }
  return nullptr;
}

// Compares each function's calling form in the catalogue with the headers'.
// A function the headers lack is not compared. Exit code as main's.
int CheckForms(const std::map<std::string, Fact>& facts) {
  std::size_t functions = 0, same = 0, allowed = 0, absent = 0, differences = 0;
  std::vector<const ck::keys::FormException*> used;
  for (const auto& [key, form] : AllNames()) {
    if (form.empty()) continue;
    ++functions;
    const Fact& fact = facts.at(key);
    if (!HasForm(fact)) {
      ++absent;
      continue;
    }
    if (std::equal(form.begin(), form.end(), fact.classes.begin(), fact.classes.end())) {
      ++same;
      continue;
    }
    const std::string catalogue = Classes(form);
    const std::string headers = Classes(fact.classes);
    if (const ck::keys::FormException* exception = FindException(key, catalogue, headers)) {
      used.push_back(exception);
      ++allowed;
      continue;
    }
    std::cout << key << ": the catalogue has " << catalogue << ", the 2.03 headers have " << headers << " ("
              << fact.form << ")\n";
    ++differences;
  }
  for (const ck::keys::FormException& exception : ck::keys::kFormExceptions) {
    if (std::find(used.begin(), used.end(), &exception) != used.end()) continue;
    std::cout << exception.key << ": allowed to differ as " << exception.catalogue << " against "
              << exception.headers << ", which is not the difference any more (form_exceptions.h)\n";
    ++differences;
  }
  if (differences != 0) return 1;
  std::cout << functions << " functions: " << same << " called as the 2.03 headers call them, " << allowed
            << " differing as allowed, " << absent << " absent from the headers\n";
  return 0;
}

// Where the 2.03 headers declare a key, for a table cell: " (Actor.h:5747)".
std::string Where(const Fact& fact) { return HasForm(fact) ? " (" + fact.call.where + ")" : ""; }

bool MarkedMissing(const PassFacts& passes, const std::string& key, const std::string& build) {
  const auto marked = passes.missing.find(key);
  return marked != passes.missing.end() &&
         std::find(marked->second.begin(), marked->second.end(), build) != marked->second.end();
}

// Whether the pass of `build` declares `key`: the passes only comment out
// what the game lost, so it declares what the 2.03 headers declare and it
// does not mark missing (header-cleanup-passes.tsv says how that was read).
bool PassDeclares(const std::map<std::string, Fact>& facts, const PassFacts& passes, const std::string& key,
                  const std::string& build) {
  const auto fact = facts.find(key);
  return fact != facts.end() && fact->second.status == "declared" && !MarkedMissing(passes, key, build);
}

// What the build of the 2.03 headers has of a member: its own name, another
// of its names, or nothing the headers declare.
std::string Api203Cell(const ck::host::GameKey& member, const std::map<std::string, Fact>& facts) {
  const Fact& own = facts.at(member.Key());
  if (own.status == "declared") return "yes" + Where(own);
  for (const ck::host::OtherName& name : member.OtherNames()) {
    const Fact& other = facts.at(name.key);
    if (other.status == "declared") return "as " + Code(name.key) + Where(other);
  }
  return "not in the headers";
}

// A deduction a pass cell rests on: the pass says nothing of `key` but marks
// `other`, another name of the same member, missing.
struct Deduction {
  std::string key;
  std::string other;
  std::vector<std::string> builds;
};

// What the build of a header pass (92.23, 92.28) has of a member: the 2.03
// headers' names less what the pass marks missing. A name the 2.03 headers
// lack is one the pass says nothing of; where the pass marks another name of
// the member missing, the cell says the build has the catalogue's name, as a
// deduction, and `deduced` records what it rests on.
std::string PassCell(const ck::host::GameKey& member, const std::map<std::string, Fact>& facts,
                     const PassFacts& passes, const std::string& build, std::vector<Deduction>& deduced) {
  const std::string key = member.Key();
  const bool own_missing = MarkedMissing(passes, key, build);
  if (PassDeclares(facts, passes, key, build)) return "yes, kept";
  if (own_missing) {
    for (const ck::host::OtherName& name : member.OtherNames()) {
      if (PassDeclares(facts, passes, name.key, build)) return "as " + Code(name.key) + ", kept";
    }
    return "FUNCTION MISSING";
  }
  for (const ck::host::OtherName& name : member.OtherNames()) {
    if (!MarkedMissing(passes, name.key, build)) continue;
    if (deduced.empty() || deduced.back().key != key || deduced.back().other != name.key) {
      deduced.push_back(Deduction{key, name.key, {}});
    }
    deduced.back().builds.push_back(build);
    return "yes (deduced[^" + std::to_string(deduced.size()) + "])";
  }
  for (const ck::host::OtherName& name : member.OtherNames()) {
    if (PassDeclares(facts, passes, name.key, build)) return "not in the headers; " + Code(name.key) + " kept";
  }
  return "not in the headers";
}

// The note under the table for each deduced cell: what it is read from.
std::string DeductionNotes(const std::vector<Deduction>& deduced, const PassFacts& passes) {
  std::string notes;
  for (std::size_t n = 0; n < deduced.size(); ++n) {
    const Deduction& d = deduced[n];
    std::string builds;
    std::string commits;
    for (std::size_t b = 0; b < d.builds.size(); ++b) {
      const char* joint = b == 0 ? "" : b + 1 == d.builds.size() ? " and " : ", ";
      builds += joint + d.builds[b];
      commits += joint + passes.commits.at(d.builds[b]);
    }
    notes += "\n[^" + std::to_string(n + 1) + "]: " + Code(d.key) + " on " + builds +
             ": the passes (" + commits + ") neither declare this name nor mark it missing; they mark " +
             Code(d.other) + " `FUNCTION MISSING`. That the build has the member under this name is " +
             "deduced from that mark, not stated by the passes.\n";
  }
  return notes;
}

std::string Render(const std::map<std::string, Fact>& facts, const PassFacts& passes) {
  std::ostringstream out;
  out << "# The game keys Cradlekeep uses\n\n"
         "Generated by `cradlekeep-keys` from the plugin's table of keys and parts\n"
         "(`src/host/game/parts.cpp`), `tools/keys/asaapi-2.03-headers.tsv` and\n"
         "`tools/keys/header-cleanup-passes.tsv`; the test `docs.game_keys` fails\n"
         "when this file is out of date (regenerate it with\n"
         "`build/default/bin/cradlekeep-keys tools/keys/asaapi-2.03-headers.tsv --write docs/game-keys.md`).\n\n"
         "At start-up the plugin checks every key below against the running game\n"
         "build's offsets (the framework's cache) and never asks for one the build\n"
         "lacks. A member may have other names (the catalogue lists them, each\n"
         "with the builds that have it and its source): the plugin binds it to the\n"
         "first of its names the build has, and a member is missing only when the\n"
         "build has none of them. A missing member turns off the parts in its row;\n"
         "the rest of the plugin runs. \"Framework 2.03 headers\" says\n"
         "whether the released framework's public headers (API 2.03) declare the key:\n"
         "they are generated from the game but leave members out, so \"no\" is a\n"
         "warning, not proof that a build lacks the key. \"2.03 call\" is how those\n"
         "headers call a function key (`member` with the object, `static` without;\n"
         "the types as they spell them, and where); the test `docs.calling_forms`\n"
         "compares it with the plugin's own signature of the function.\n\n"
         "One column per known game build says what that build has of the member:\n"
         "\"current\", every name as the plugin uses it; \"API 2.03 era\", what the\n"
         "2.03 headers declare (tag 2.03, `API/ARK/`); \"92.23\" and \"92.28\", what the\n"
         "framework maintainers' header passes keep (branch `header_cleanup`, commits\n"
         "7bc96c2 and 111d664, which mark what the game's cache lost as\n"
         "`FUNCTION MISSING`). \"Not in the headers\": they say nothing either way.\n"
         "\"Deduced\": the pass states nothing of the name either, and the cell is\n"
         "read from what it states of the member's other names; the note under the\n"
         "table says from what.\n\n"
         "| key | kind | turned off when the build lacks it | framework 2.03 headers | 2.03 call "
         "| current | API 2.03 era | 92.23 | 92.28 |\n"
         "|---|---|---|---|---|---|---|---|---|\n";
  const auto table = ck::host::GameKeyTable();
  std::vector<Deduction> deduced;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const ck::host::KeyNeed& need = table[i];
    const std::string key = need.member->Key();
    const Fact& fact = facts.at(key);
    std::string headers = fact.status == "declared" ? "yes"
                          : fact.status == "differs" ? "as " + Code(fact.spelling)
                                                     : "no";
    if (fact.status == "absent" && !fact.spelling.empty()) headers += " (they have " + Code(fact.spelling) + ")";
    // The form, then its place (after the form's last blank).
    const std::string call =
        HasForm(fact) ? Code(fact.form.substr(0, fact.form.rfind(' '))) + " " + fact.call.where : "-";
    out << "| " << Code(key) << " | " << (need.kind == ck::host::KeyKind::kBitField ? "bit field" : "offset")
        << " | " << ck::host::DescribeParts(ck::host::PartsOffWithout(i)) << " | " << headers << " | " << call
        << " | yes | " << Api203Cell(*need.member, facts) << " | "
        << PassCell(*need.member, facts, passes, "92.23", deduced) << " | "
        << PassCell(*need.member, facts, passes, "92.28", deduced) << " |\n";
  }
  out << DeductionNotes(deduced, passes);
  return out.str();
}

// The cells of a table row: "| a | b |" gives {"a", "b"}.
std::vector<std::string> RowCells(const std::string& row) {
  std::vector<std::string> cells;
  const std::string inner = row.substr(2, row.size() - 4);
  std::size_t begin = 0;
  for (std::size_t bar = inner.find(" | "); bar != std::string::npos; bar = inner.find(" | ", begin)) {
    cells.push_back(inner.substr(begin, bar - begin));
    begin = bar + 3;
  }
  cells.push_back(inner.substr(begin));
  return cells;
}

// The names a pass cell states the build has: the row's key for a "yes",
// and every name it says is kept. A deduced cell states none.
std::vector<std::string> StatedNames(const std::string& key, const std::string& cell) {
  std::vector<std::string> names;
  if (cell.find("(deduced") != std::string::npos) return names;
  if (cell.rfind("yes", 0) == 0) names.push_back(key);
  for (std::size_t kept = cell.find(" kept"); kept != std::string::npos; kept = cell.find(" kept", kept + 1)) {
    const std::size_t end = cell.rfind('`', kept);
    const std::size_t begin = end == std::string::npos || end == 0 ? std::string::npos : cell.rfind('`', end - 1);
    if (begin != std::string::npos) names.push_back(cell.substr(begin + 1, end - begin - 1));
  }
  return names;
}

// Every pass cell of the document states as a fact only names the pass
// declares; anything else must say it is deduced. One line for each cell
// that does not, on standard output; the number of those cells.
int CheckStated(const std::string& doc, const std::map<std::string, Fact>& facts, const PassFacts& passes) {
  const std::pair<std::size_t, const char*> columns[] = {{7, "92.23"}, {8, "92.28"}};
  int wrong = 0;
  std::istringstream lines(doc);
  for (std::string row; std::getline(lines, row);) {
    if (row.rfind("| `", 0) != 0) continue;
    const std::vector<std::string> cells = RowCells(row);
    if (cells.size() != 9) continue;
    const std::string key = cells[0].substr(1, cells[0].size() - 2);
    for (const auto& [column, build] : columns) {
      for (const std::string& name : StatedNames(key, cells[column])) {
        if (PassDeclares(facts, passes, name, build)) continue;
        std::cout << key << ": the " << build << " column states \"" << cells[column] << "\", but the pass declares no "
                  << name << " (a cell read from other facts must say it is deduced)\n";
        ++wrong;
      }
    }
  }
  return wrong;
}

// The facts name exactly the plugin's names, with a form for each function
// the headers declare; `known` is their number. On failure `error` says
// what, after the facts file's name.
bool CheckNames(const std::map<std::string, Fact>& facts, std::size_t& known, std::string& error) {
  for (const auto& [key, form] : AllNames()) {
    const auto fact = facts.find(key);
    if (fact == facts.end()) {
      error = " says nothing of " + key;
      return false;
    }
    if (!CheckFormPresence(key, form, fact->second, error)) {
      error = ": " + error;
      return false;
    }
    ++known;
  }
  if (known != facts.size()) {
    error = " names keys the plugin does not use";
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const bool check_forms = argc == 3 && std::string(argv[2]) == "--check-forms";
  if (argc != 2 && argc != 4 && !check_forms) {
    std::cerr << "usage: cradlekeep-keys FACTS.tsv [--check DOC | --write DOC | --check-forms]\n";
    return 2;
  }
  std::map<std::string, Fact> facts;
  std::string error;
  if (!ReadFacts(argv[1], facts, error)) {
    std::cerr << "cradlekeep-keys: " << error << '\n';
    return 2;
  }
  std::size_t known = 0;
  if (!CheckNames(facts, known, error)) {
    std::cerr << "cradlekeep-keys: " << argv[1] << error << '\n';
    return 2;
  }
  if (check_forms) return CheckForms(facts);
  // The passes' facts sit beside the headers' facts.
  PassFacts passes;
  if (!ReadPasses((std::filesystem::path(argv[1]).parent_path() / "header-cleanup-passes.tsv").string(), passes,
                  error)) {
    std::cerr << "cradlekeep-keys: " << error << '\n';
    return 2;
  }
  const std::string table = Render(facts, passes);
  if (argc == 2) {
    std::cout << table;
    return 0;
  }
  const std::string mode = argv[2];
  if (mode == "--write") {
    std::ofstream(argv[3], std::ios::binary | std::ios::trunc) << table;
    return 0;
  }
  if (mode != "--check") {
    std::cerr << "cradlekeep-keys: unknown option " << mode << '\n';
    return 2;
  }
  std::ifstream in(argv[3], std::ios::binary);
  std::ostringstream doc;
  doc << in.rdbuf();
  if (CheckStated(doc.str(), facts, passes) != 0) return 1;
  if (doc.str() != table) {
    std::cerr << argv[3] << " is not the table the plugin's keys give; regenerate it with --write\n";
    return 1;
  }
  std::cout << argv[3] << ": " << known << " names, up to date\n";
  return 0;
}
