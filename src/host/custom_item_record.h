// The game's custom item data record (FCustomItemData) as the plugin makes
// and copies it: deep copies into engine arrays, freeing every buffer it
// owns, and a record owned by the caller.
// Game thread only: the engine allocator and the game's objects are not thread-safe.
#pragma once

#include "asa/engine_types.h"

namespace ck::host {

// Appends a deep copy of a custom item data entry: every array inside gets
// storage of its own from the engine allocator.
void AppendCustomItemData(TArray<FCustomItemData>& array, const FCustomItemData& entry);

// Frees every buffer owned by the entry (nested arrays included) and zeroes it.
void DestroyCustomItemData(FCustomItemData& entry);

// A custom data record owned by the caller, freed on every way out.
class OwnedCustomItemData {
 public:
  OwnedCustomItemData() : data_{} {}
  ~OwnedCustomItemData() { DestroyCustomItemData(data_); }
  OwnedCustomItemData(const OwnedCustomItemData&) = delete;
  OwnedCustomItemData& operator=(const OwnedCustomItemData&) = delete;
  FCustomItemData* get() { return &data_; }

 private:
  FCustomItemData data_;
};

}  // namespace ck::host
