// The game's own handling of engine arrays: grown and freed through the
// engine allocator, as the engine does it. Any array of the engine's shape
// ({data, count, capacity}) will do: the framework's TArray or the game
// records' own (sim/game/records.h).
#pragma once

#include <cstring>

#include "asa/engine_types.h"

namespace sim {

// Appends a zero-filled element and returns it.
template <template <typename> class Array, typename T>
T& AppendZeroed(Array<T>& array) {
  if (array.ArrayNum + 1 > array.ArrayMax) {
    const int32 capacity = array.ArrayMax == 0 ? 4 : array.ArrayNum + 1 + 3 * (array.ArrayNum + 1) / 8 + 16;
    array.Data = static_cast<T*>(FMemory::Realloc(array.Data, sizeof(T) * static_cast<uint64>(capacity), 8));
    array.ArrayMax = capacity;
  }
  T* slot = array.Data + array.ArrayNum;
  std::memset(static_cast<void*>(slot), 0, sizeof(T));
  ++array.ArrayNum;
  return *slot;
}

// Appends a bitwise copy of a plain value.
template <template <typename> class Array, typename T>
void AppendToEngineArray(Array<T>& array, const T& value) {
  T& slot = AppendZeroed(array);
  std::memcpy(static_cast<void*>(&slot), static_cast<const void*>(&value), sizeof(T));
}

// Removes the element at `index`, moving later ones down.
template <template <typename> class Array, typename T>
void RemoveFromEngineArray(Array<T>& array, int32 index) {
  if (index < 0 || index >= array.ArrayNum) return;
  std::memmove(static_cast<void*>(array.Data + index), array.Data + index + 1,
               sizeof(T) * static_cast<std::size_t>(array.ArrayNum - index - 1));
  --array.ArrayNum;
}

template <template <typename> class Array, typename T>
void FreeEngineArray(Array<T>& array) {
  FMemory::Free(array.Data);
  array = Array<T>{nullptr, 0, 0};
}

}  // namespace sim
