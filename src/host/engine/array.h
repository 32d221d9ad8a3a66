// Appending to game-owned engine arrays.
//
// The engine's growth rule: when the new count would exceed the capacity, the
// capacity becomes max(4, new count) if it was 0, and otherwise
// new count + 3 * new count / 8 + 16, capped at the largest int32. The storage
// is reallocated through the engine allocator at alignment 8. Appended
// elements are deep copies: arrays inside them get storage of their own.
// (Custom item data records: host/engine/custom_item_record.h.)
// Game thread only: the engine allocator and the game's objects are not thread-safe.
#pragma once

#include <cstring>
#include <stdexcept>
#include <type_traits>

#include "asa/engine_types.h"
#include "host/framework/engine_allocator.h"

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

// Copies `source` into `target` (assumed empty) with fresh storage of exactly
// the source's count, from the engine allocator.
template <typename T>
void CopyTrivialArray(TArray<T>& target, const TArray<T>& source) {
  static_assert(std::is_trivially_copyable_v<T>);
  target = TArray<T>{nullptr, 0, 0};
  if (source.ArrayNum <= 0 || source.Data == nullptr) return;
  const uint64 bytes = sizeof(T) * static_cast<uint64>(source.ArrayNum);
  target.Data = static_cast<T*>(EngineRealloc(nullptr, bytes, 8));
  std::memcpy(target.Data, source.Data, bytes);
  target.ArrayNum = source.ArrayNum;
  target.ArrayMax = source.ArrayNum;
}

// Appends a deep copy of an engine string.
void AppendString(TArray<FString>& array, const FString& text);

// Frees the array's storage and zeroes the header; elements own nothing.
template <typename T>
void FreeArray(TArray<T>& array) {
  EngineFree(array.Data);
  array = TArray<T>{nullptr, 0, 0};
}

}  // namespace ck::host
