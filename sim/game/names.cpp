#include "sim/game/names.h"

#include "sim/framework/engine_text.h"

namespace sim {

NameTable::NameTable() { Clear(); }

FName NameTable::Find(std::string_view text, bool add) {
  auto it = index_.find(std::string(text));
  if (it != index_.end()) return FName{it->second, 0};
  if (!add) return FName{0, 0};
  const auto index = static_cast<int32>(entries_.size());
  entries_.emplace_back(text);
  index_.emplace(std::string(text), index);
  return FName{index, 0};
}

const std::string& NameTable::Text(const FName& name) const {
  static const std::string empty;
  if (name.ComparisonIndex < 0 || static_cast<std::size_t>(name.ComparisonIndex) >= entries_.size()) {
    return empty;
  }
  return entries_[static_cast<std::size_t>(name.ComparisonIndex)];
}

void NameTable::Clear() {
  entries_.clear();
  index_.clear();
  entries_.emplace_back("None");
  index_.emplace("None", 0);
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
