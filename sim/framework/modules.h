// The plugin libraries the framework has loaded, and what it did with them.
//
// Every registration a plugin makes (a hook, a console or RCON command, a
// tick callback) belongs to the module that was loaded when it was made, as
// the released framework (API 2.03) records the calling module with each.
// The framework's own commands belong to no module (0). Each load of a
// library is a module of its own, even at the same address.
//
// Once a module is unloaded its code is gone: a call into it, or the
// destruction of a callback whose code lived there, would take a real server
// down. The framework notes each such event here as a defect naming it
// instead of doing it; a run with any defect fails.
#pragma once

#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "asa/api.h"

namespace simfw {

class ASAAPI_API Modules {
 public:
  // A new module, current from now on: what is registered belongs to it.
  // `base`: where its library is loaded (BaseOf of its code), when known.
  int Begin(const void* base = nullptr);
  // Another plugin of a scenario (the otherPlugin step), a module of its
  // own whose detours are the simulator's code: claimed one by one. Not
  // current.
  int BeginOther(std::string name);
  void Claim(const void* code, int module) { claims_.emplace_back(code, module); }
  bool IsOther(int module) const;
  // The module that holds `code`: a claimed detour's, else the loaded
  // module whose library holds it, else the current module.
  int OwnerOf(const void* code) const;
  // The load address of the library (or executable) that holds `code`.
  static const void* BaseOf(const void* code);
  // The module is unloaded; nothing is current.
  void End(int module);
  int Current() const { return current_; }
  bool Unloaded(int module) const;
  bool AnyUnloaded() const { return !unloaded_.empty(); }

  void NoteDefect(std::string text) { defects_.push_back(std::move(text)); }
  const std::vector<std::string>& Defects() const { return defects_; }

  // Keeps an object whose destruction would run code of an unloaded module,
  // for the rest of the process (never destroyed).
  template <typename T>
  static void Keep(T&& object) {
    // Held from a static, so that the process still refers to it.
    static auto* kept = new std::vector<std::decay_t<T>*>();
    kept->push_back(new std::decay_t<T>(std::forward<T>(object)));
  }

  void Reset();

 private:
  int next_ = 1;
  int current_ = 0;
  std::vector<std::pair<int, const void*>> bases_;
  std::vector<std::pair<const void*, int>> claims_;
  std::vector<std::pair<int, std::string>> others_;
  std::vector<int> unloaded_;
  std::vector<std::string> defects_;
};

}  // namespace simfw
