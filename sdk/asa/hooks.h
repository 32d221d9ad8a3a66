// Hooks on game functions.
//
// SetHook puts a detour in front of the game function: the game then calls the
// detour, which reaches the previous target through `original`. The last hook
// installed runs first. DisableHook takes the detour out of the chain and nulls
// its original pointer.
#pragma once

#include <string>

#include "asa/api.h"

namespace AsaApi {

class IHooks {
 public:
  virtual ~IHooks() = default;

  // True when the detour was found and taken out.
  virtual bool DisableHook(const std::string& key, void* detour) = 0;

  template <typename T>
  bool SetHook(const std::string& key, T detour, T* original) {
    return SetHookInternal(key, reinterpret_cast<void*>(detour), reinterpret_cast<void**>(original));
  }

  // True when the detour was installed; `original` then holds the previous target.
  virtual bool SetHookInternal(const std::string& key, void* detour, void** original) = 0;
};

ASAAPI_API IHooks& GetHooks();

}  // namespace AsaApi
