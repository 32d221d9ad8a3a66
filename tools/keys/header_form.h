// How the framework's released headers call a game function: the form column
// of asaapi-2.03-headers.tsv, read and reduced to the calling classes of
// host/game/calling_form.h so that it compares with the catalogue's signatures.
//
// A form reads "member Result(Param,Param,...) File.h:Line" or "static ...":
// "member" when the headers pass the object (`this`) first, "static" when
// they pass nullptr; the types as the headers spell them (blanks inside a
// type are kept, so template arguments may hold ", " and "> >").
//
// Classing a header type: a pointer or reference is ptr; the scalar types
// are classed by their size; an enumeration is recognised by the engine's
// naming (E followed by a capital: EFindName, EServerOctreeGroup::Type) and
// is i32; the classes the headers pass by value are listed here, each with
// how MSVC passes it: in a register when trivially copyable and of 1, 2, 4 or
// 8 bytes (s8), by address otherwise (ptr). A class result by value is
// hidden. Any other type is refused by name, so that a new key's types get
// classed here on purpose.
#pragma once

#include <cctype>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "host/game/calling_form.h"

namespace ck::keys {

struct HeaderForm {
  bool member = false;
  std::string result;               // as the headers spell it
  std::vector<std::string> params;  // as the headers spell them, without the object
  std::string where;                // "Actor.h:5744"
};

namespace header_form_detail {

inline std::string_view Trim(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

inline bool StripPrefix(std::string_view& text, std::string_view prefix) {
  if (text.substr(0, prefix.size()) != prefix) return false;
  text.remove_prefix(prefix.size());
  return true;
}

// "File.h:Line".
inline bool IsPlace(std::string_view text) {
  const std::size_t colon = text.rfind(':');
  if (colon == std::string_view::npos || colon < 3 || text.substr(colon - 2, 2) != ".h") return false;
  if (colon + 1 == text.size()) return false;
  for (char c : text.substr(colon + 1)) {
    if (std::isdigit(static_cast<unsigned char>(c)) == 0) return false;
  }
  return text.find(' ') == std::string_view::npos;
}

struct KnownClass {
  std::string_view name;
  host::AbiClass as_parameter;
};

// The classes the headers pass by value, and how: FName {index, number} and
// FItemNetID {id1, id2} are trivially copyable 8-byte records; FString and
// FBPNetExecParams (which holds one) have their own copying and are larger;
// a vector of three doubles is 24 bytes.
inline constexpr KnownClass kKnownClasses[] = {
    {"FName", host::AbiClass::kS8},
    {"FItemNetID", host::AbiClass::kS8},
    {"FString", host::AbiClass::kPtr},
    {"FBPNetExecParams", host::AbiClass::kPtr},
    {"UE::Math::TVector<double>", host::AbiClass::kPtr},
};

// TSubclassOf<T> holds a TObjectPtr, whose copying is written by hand: not
// trivially copyable, so by address whatever its size.
inline constexpr std::string_view kByAddressTemplates[] = {"TSubclassOf<"};

struct Scalar {
  std::string_view name;
  host::AbiClass abi_class;
};

inline constexpr Scalar kScalars[] = {
    {"bool", host::AbiClass::kBool},
    {"float", host::AbiClass::kF32},
    {"double", host::AbiClass::kF64},
    {"int", host::AbiClass::kI32},
    {"unsigned int", host::AbiClass::kI32},
    {"int32", host::AbiClass::kI32},
    {"uint32", host::AbiClass::kI32},
    {"__int64", host::AbiClass::kI64},
    {"unsigned __int64", host::AbiClass::kI64},
    {"int64", host::AbiClass::kI64},
    {"uint64", host::AbiClass::kI64},
};

inline bool IsEnumerationName(std::string_view name) {
  if (name.size() < 2 || name[0] != 'E' || std::isupper(static_cast<unsigned char>(name[1])) == 0) return false;
  for (char c : name) {
    if (std::isalnum(static_cast<unsigned char>(c)) == 0 && c != '_' && c != ':') return false;
  }
  return true;
}

// Splits "A,B<C, D>,E" at the commas outside angle brackets and parentheses.
inline std::vector<std::string> SplitTopLevel(std::string_view text) {
  std::vector<std::string> parts;
  if (Trim(text).empty()) return parts;
  int depth = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '<' || c == '(') ++depth;
    if (c == '>' || c == ')') --depth;
    if (c == ',' && depth == 0) {
      parts.emplace_back(Trim(text.substr(start, i - start)));
      start = i + 1;
    }
  }
  parts.emplace_back(Trim(text.substr(start)));
  return parts;
}

}  // namespace header_form_detail

// Reads a form; false with `error` saying what is wrong when the text is not
// of the form's shape.
inline bool ParseHeaderForm(std::string_view text, HeaderForm& form, std::string& error) {
  using namespace header_form_detail;
  form = HeaderForm{};
  if (StripPrefix(text, "member ")) {
    form.member = true;
  } else if (!StripPrefix(text, "static ")) {
    error = "a form starts with \"member \" or \"static \"";
    return false;
  }
  // The result ends at the first parenthesis outside angle brackets.
  int angles = 0;
  std::size_t open = std::string_view::npos;
  for (std::size_t i = 0; i < text.size() && open == std::string_view::npos; ++i) {
    if (text[i] == '<') ++angles;
    if (text[i] == '>') --angles;
    if (text[i] == '(' && angles == 0) open = i;
  }
  if (open == std::string_view::npos) {
    error = "a form has a parameter list in parentheses";
    return false;
  }
  int depth = 0;
  std::size_t close = std::string_view::npos;
  for (std::size_t i = open; i < text.size() && close == std::string_view::npos; ++i) {
    if (text[i] == '(') ++depth;
    if (text[i] == ')' && --depth == 0) close = i;
  }
  if (close == std::string_view::npos || close + 1 >= text.size() || text[close + 1] != ' ') {
    error = "a form's parameter list is closed and followed by a blank and the header's place";
    return false;
  }
  form.result = Trim(text.substr(0, open));
  form.params = SplitTopLevel(text.substr(open + 1, close - open - 1));
  form.where = text.substr(close + 2);
  if (form.result.empty()) {
    error = "a form names its result type";
    return false;
  }
  for (const std::string& param : form.params) {
    if (param.empty()) {
      error = "a form's parameter list has an empty type";
      return false;
    }
  }
  if (!IsPlace(form.where)) {
    error = "a form ends with the header's place, File.h:Line, not '" + form.where + "'";
    return false;
  }
  return true;
}

// The class of one header type, as a result or as a parameter; false with
// `error` naming the type when it has no class here.
inline bool ClassifyHeaderType(std::string_view spelled, bool result, host::AbiClass& abi_class, std::string& error) {
  using namespace header_form_detail;
  std::string_view type = Trim(spelled);
  // A class handle travels by the address of a copy (by value or not) and
  // comes back through a result pointer: never as the class itself.
  std::string_view bare = type;
  while (StripPrefix(bare, "const ") || StripPrefix(bare, "struct ") || StripPrefix(bare, "class ")) {
  }
  if (bare.substr(0, 12) == "TSubclassOf<") {
    const bool by_value = !bare.empty() && bare.back() == '>';
    abi_class = result && by_value ? host::AbiClass::kHidden : host::AbiClass::kHandle;
    return true;
  }
  if (!type.empty() && (type.back() == '*' || type.back() == '&')) {
    abi_class = host::AbiClass::kPtr;
    return true;
  }
  while (StripPrefix(type, "const ") || StripPrefix(type, "struct ") || StripPrefix(type, "class ") ||
         StripPrefix(type, "enum ")) {
  }
  if (type.size() > 6 && type.substr(type.size() - 6) == " const") type = Trim(type.substr(0, type.size() - 6));
  if (type == "void") {
    if (result) {
      abi_class = host::AbiClass::kVoid;
      return true;
    }
    error = "a parameter of type void";
    return false;
  }
  for (const Scalar& scalar : kScalars) {
    if (type == scalar.name) {
      abi_class = scalar.abi_class;
      return true;
    }
  }
  if (IsEnumerationName(type)) {
    abi_class = host::AbiClass::kI32;
    return true;
  }
  bool known = false;
  host::AbiClass as_parameter = host::AbiClass::kPtr;
  for (const KnownClass& known_class : kKnownClasses) {
    if (type == known_class.name) {
      known = true;
      as_parameter = known_class.as_parameter;
    }
  }
  for (std::string_view prefix : kByAddressTemplates) {
    if (type.substr(0, prefix.size()) == prefix) known = true;
  }
  if (!known) {
    error = "no calling class for the type '" + std::string(spelled) + "' (class it in tools/keys/header_form.h)";
    return false;
  }
  abi_class = result ? host::AbiClass::kHidden : as_parameter;
  return true;
}

// The classes of a form in the order of the catalogue's signatures: the
// result, then ptr for the object of a member function, then each parameter.
inline bool ClassifyHeaderForm(const HeaderForm& form, std::vector<host::AbiClass>& classes, std::string& error) {
  classes.clear();
  host::AbiClass abi_class{};
  if (!ClassifyHeaderType(form.result, true, abi_class, error)) return false;
  classes.push_back(abi_class);
  if (form.member) classes.push_back(host::AbiClass::kPtr);
  for (const std::string& param : form.params) {
    if (!ClassifyHeaderType(param, false, abi_class, error)) return false;
    classes.push_back(abi_class);
  }
  return true;
}

}  // namespace ck::keys
