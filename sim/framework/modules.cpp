#include "sim/framework/modules.h"

#include <algorithm>

namespace simfw {

int Modules::Begin() {
  current_ = next_++;
  return current_;
}

void Modules::End(int module) {
  if (module == 0) return;
  unloaded_.push_back(module);
  if (current_ == module) current_ = 0;
}

bool Modules::Unloaded(int module) const {
  return module != 0 && std::find(unloaded_.begin(), unloaded_.end(), module) != unloaded_.end();
}

void Modules::Reset() {
  current_ = 0;
  unloaded_.clear();
  defects_.clear();
}

}  // namespace simfw
