// The engine's name table. One entry per exact spelling, so that a name's
// text comes back exactly as it was added. Index 0 is "None".
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "asa/engine_types.h"

namespace sim {

class NameTable {
 public:
  NameTable();
  // The name for `text`, adding an entry when `add` and there is none.
  // Without `add`, an unknown text gives the none name {0, 0}.
  FName Find(std::string_view text, bool add);
  FName Add(std::string_view text) { return Find(text, true); }
  // The text of a name ("None" for index 0; "" for an index out of range).
  const std::string& Text(const FName& name) const;
  void Clear();

 private:
  std::vector<std::string> entries_;
  std::unordered_map<std::string, int32> index_;
};

NameTable& Names();

// The game's functions, as the key registry publishes them.
void NameConstruct(FName* self, const char* text, EFindName mode);
void NameToString(const FName* self, FString* out);

}  // namespace sim
