// Hooks on game functions (the framework's IHooks).
//
// SetHook puts a detour in front of the game function named by its key: the
// game then calls the detour, which reaches the previous target through
// `original`. Hooks are called in the reverse order of installation.
// DisableHook takes the detour out of the chain.
//
// Virtual slots, in the framework's order (API 2.01 to 2.03): 0 destructor,
// 1 DisableHook, 2 SetHookInternal.
#pragma once

#include <string>

#include "asa/api.h"

namespace AsaApi {

class ARK_API IHooks {
 public:
  virtual ~IHooks() = default;

  // True when the detour was installed; `*original` then holds the previous
  // target.
  template <typename T>
  bool SetHook(const std::string& func_name, LPVOID detour, T** original) {
    return SetHookInternal(func_name, detour, reinterpret_cast<LPVOID*>(original));
  }

  // True when the detour was found and taken out.
  virtual bool DisableHook(const std::string& func_name, LPVOID detour) = 0;

 private:
  virtual bool SetHookInternal(const std::string& func_name, LPVOID detour, LPVOID* original) = 0;
};

ARK_API IHooks& GetHooks();

}  // namespace AsaApi
