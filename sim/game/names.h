// The engine's name table. As the engine's, it compares names without
// regard to letter case: one entry per name, which keeps the spelling it was
// first added with, so a name added again in other letters gets the same
// comparison index and comes back in the first spelling. Index 0 is "None".
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
  // The name for `text` (found whatever its letter case), adding an entry
  // when `add` and there is none. Without `add`, an unknown text gives the
  // none name {0, 0}.
  FName Find(std::string_view text, bool add);
  FName Add(std::string_view text) { return Find(text, true); }
  // The text of a name: its entry's first spelling, followed by "_N" when
  // the name's number is N + 1, as the engine writes it ("None" for index 0;
  // "" for an index out of range).
  std::string Text(const FName& name) const;
  void Clear();

 private:
  std::vector<std::string> entries_;
  std::unordered_map<std::string, int32> index_;  // by the text in lower case
};

NameTable& Names();

// The game's functions, as the key registry publishes them.
void NameConstruct(FName* self, const char* text, EFindName mode);
void NameToString(const FName* self, FString* out);

}  // namespace sim
