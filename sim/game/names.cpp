#include "sim/game/names.h"

#include "sim/framework/engine_text.h"

namespace sim {

namespace {

// The key of a name's entry: the engine folds ASCII letters.
std::string Folded(std::string_view text) {
  std::string key(text);
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return key;
}

}  // namespace

NameTable::NameTable() { Clear(); }

FName NameTable::Find(std::string_view text, bool add) {
  std::string key = Folded(text);
  auto it = index_.find(key);
  if (it != index_.end()) return FName{it->second, 0};
  if (!add) return FName{0, 0};
  const auto index = static_cast<int32>(entries_.size());
  entries_.emplace_back(text);
  index_.emplace(std::move(key), index);
  return FName{index, 0};
}

std::string NameTable::Text(const FName& name) const {
  if (name.ComparisonIndex < 0 || static_cast<std::size_t>(name.ComparisonIndex) >= entries_.size()) {
    return std::string();
  }
  const std::string& text = entries_[static_cast<std::size_t>(name.ComparisonIndex)];
  if (name.Number <= 0) return text;
  return text + "_" + std::to_string(name.Number - 1);
}

void NameTable::Clear() {
  entries_.clear();
  index_.clear();
  entries_.emplace_back("None");
  index_.emplace("none", 0);
}

NameTable& Names() {
  static NameTable table;
  return table;
}

void NameConstruct(FName* self, const char* text, EFindName mode) {
  if (self == nullptr) return;
  *self = Names().Find(text != nullptr ? text : "", mode == FNAME_Add);
}

void NameToString(const FName* self, FString* out) {
  if (out == nullptr) return;
  *out = simfw::FromUtf8(self != nullptr ? Names().Text(*self) : std::string());
}

}  // namespace sim
