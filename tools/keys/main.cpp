// cradlekeep-keys: writes the table of every game key the plugin uses
// (docs/game-keys.md) from the plugin's own table of keys and parts and the
// facts about the framework's released headers (asaapi-2.03-headers.tsv),
// and compares the catalogue's function signatures with the headers' calls.
//
//   cradlekeep-keys FACTS.tsv               prints the table
//   cradlekeep-keys FACTS.tsv --check DOC   fails (exit 1) when DOC is not the table
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

bool ReadFacts(const std::string& path, std::map<std::string, Fact>& facts, std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = "cannot read " + path;
    return false;
  }
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string key;
    Fact fact;
    std::getline(fields, key, '\t');
    std::getline(fields, fact.status, '\t');
    std::getline(fields, fact.form, '\t');
    std::getline(fields, fact.spelling, '\t');
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
  }
  return true;
}

// A function key has a form exactly when the headers declare it; a field or
// bit field has none.
bool CheckFormPresence(const ck::host::KeyNeed& need, const Fact& fact, std::string& error) {
  const bool function = !need.member->Form().empty();
  const bool wanted = function && fact.status != "absent";
  if (HasForm(fact) == wanted) return true;
  error = std::string(need.member->Key()) + (wanted ? " is a function the headers declare: it needs a form"
                                                    : function ? " is absent from the headers: its form is -"
                                                               : " is a field: its form is -");
  return false;
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
  for (const ck::host::KeyNeed& need : ck::host::GameKeyTable()) {
    const std::span<const ck::host::AbiClass> form = need.member->Form();
    if (form.empty()) continue;
    ++functions;
    const std::string key = need.member->Key();
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

std::string Render(const std::map<std::string, Fact>& facts) {
  std::ostringstream out;
  out << "# The game keys Cradlekeep uses\n\n"
         "Generated by `cradlekeep-keys` from the plugin's table of keys and parts\n"
         "(`src/host/game/parts.cpp`) and `tools/keys/asaapi-2.03-headers.tsv`; the test\n"
         "`docs.game_keys` fails when this file is out of date (regenerate it with\n"
         "`build/default/bin/cradlekeep-keys tools/keys/asaapi-2.03-headers.tsv --write docs/game-keys.md`).\n\n"
         "At start-up the plugin checks every key below against the running game\n"
         "build's offsets (the framework's cache) and never asks for one the build\n"
         "lacks. A missing key turns off the parts in its row; the rest of the\n"
         "plugin runs. \"Framework 2.03 headers\" says\n"
         "whether the released framework's public headers (API 2.03) declare the key:\n"
         "they are generated from the game but leave members out, so \"no\" is a\n"
         "warning, not proof that a build lacks the key. \"2.03 call\" is how those\n"
         "headers call a function key (`member` with the object, `static` without;\n"
         "the types as they spell them, and where); the test `docs.calling_forms`\n"
         "compares it with the plugin's own signature of the function.\n\n"
         "| key | kind | turned off when the build lacks it | framework 2.03 headers | 2.03 call |\n"
         "|---|---|---|---|---|\n";
  const auto table = ck::host::GameKeyTable();
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
        << " |\n";
  }
  return out.str();
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
  for (const ck::host::KeyNeed& need : ck::host::GameKeyTable()) {
    const auto fact = facts.find(need.member->Key());
    if (fact == facts.end()) {
      std::cerr << "cradlekeep-keys: " << argv[1] << " says nothing of " << need.member->Key() << '\n';
      return 2;
    }
    if (!CheckFormPresence(need, fact->second, error)) {
      std::cerr << "cradlekeep-keys: " << argv[1] << ": " << error << '\n';
      return 2;
    }
    ++known;
  }
  if (known != facts.size()) {
    std::cerr << "cradlekeep-keys: " << argv[1] << " names keys the plugin does not use\n";
    return 2;
  }
  if (check_forms) return CheckForms(facts);
  const std::string table = Render(facts);
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
  if (doc.str() != table) {
    std::cerr << argv[3] << " is not the table the plugin's keys give; regenerate it with --write\n";
    return 1;
  }
  std::cout << argv[3] << ": " << known << " keys, up to date\n";
  return 0;
}
