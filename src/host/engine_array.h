// Appending to game-owned engine arrays.
//
// The engine's growth rule: when the new count would exceed the capacity, the
// capacity becomes max(4, new count) if it was 0, and otherwise
// new count + 3 * new count / 8 + 16, capped at the largest int32. The storage
// is reallocated through the engine allocator at alignment 8. Appended
// elements are deep copies: arrays inside them get storage of their own.
#pragma once

#include <cstring>
#include <stdexcept>
#include <type_traits>

#include "asa/engine_types.h"
#include "host/engine_memory.h"

namespace ck::host {

// The capacity an array of `capacity` slots takes to hold `new_count` elements.
int32 GrownCapacity(int32 capacity, int32 new_count);

// Makes room for one more element at the end (growing by the rule above) and
// returns the new slot, zero-filled; the count already includes it.
void* AppendSlot(void* array_header, std::size_t element_size);

// Appends a copy of a trivially copyable element.
template <typename T>
void AppendTrivial(TArray<T>& array, const T& value) {
  static_assert(std::is_trivially_copyable_v<T>);
  void* slot = AppendSlot(&array, sizeof(T));
  std::memcpy(slot, &value, sizeof(T));
}

// Appends a deep copy of a custom item data entry.
void AppendCustomItemData(TArray<FCustomItemData>& array, const FCustomItemData& entry);

// Appends a deep copy of an engine string.
void AppendString(TArray<FString>& array, const FString& text);

// Frees every buffer owned by the entry (nested arrays included) and zeroes it.
void DestroyCustomItemData(FCustomItemData& entry);

// Frees the array's storage and zeroes the header; elements own nothing.
template <typename T>
void FreeArray(TArray<T>& array) {
  EngineFree(array.Data);
  array = TArray<T>{nullptr, 0, 0};
}

}  // namespace ck::host
