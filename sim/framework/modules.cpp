#include "sim/framework/modules.h"

#include <algorithm>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace simfw {

int Modules::Begin(const void* base) {
  current_ = next_++;
  if (base != nullptr) bases_.emplace_back(current_, base);
  return current_;
}

int Modules::BeginOther(std::string name) {
  const int module = next_++;
  others_.emplace_back(module, std::move(name));
  return module;
}

bool Modules::IsOther(int module) const {
  return std::any_of(others_.begin(), others_.end(), [&](const auto& other) { return other.first == module; });
}

void Modules::End(int module) {
  if (module == 0) return;
  unloaded_.push_back(module);
  if (current_ == module) current_ = 0;
}

bool Modules::Unloaded(int module) const {
  return module != 0 && std::find(unloaded_.begin(), unloaded_.end(), module) != unloaded_.end();
}

int Modules::OwnerOf(const void* code) const {
  // The latest claim or load wins: an address may be a new load's.
  for (auto it = claims_.rbegin(); it != claims_.rend(); ++it) {
    if (it->first == code) return it->second;
  }
  if (!bases_.empty()) {
    const void* base = BaseOf(code);
    for (auto it = bases_.rbegin(); it != bases_.rend(); ++it) {
      if (it->second == base && !Unloaded(it->first)) return it->first;
    }
  }
  return current_;
}

const void* Modules::BaseOf(const void* code) {
#if defined(_WIN32)
  // As the 2.03 framework finds a hook's owner (Hooks.cpp, SetHookInternal).
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCWSTR>(code), &module)) {
    return nullptr;
  }
  return module;
#else
  Dl_info info{};
  if (dladdr(code, &info) == 0) return nullptr;
  return info.dli_fbase;
#endif
}

void Modules::Reset() {
  current_ = 0;
  unloaded_.clear();
  defects_.clear();
  bases_.clear();
  claims_.clear();
  others_.clear();
}

}  // namespace simfw
