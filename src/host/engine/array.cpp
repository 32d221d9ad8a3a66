// Growing game-owned engine arrays through the engine allocator, as the
// engine grows its own.
#include "host/engine/array.h"

#include <cstdint>
#include <limits>

namespace ck::host {

namespace {

struct RawArray {
  void* data;
  int32 count;
  int32 capacity;
};
static_assert(sizeof(RawArray) == sizeof(TArray<int>));

}  // namespace

int32 GrownCapacity(int32 capacity, int32 new_count) {
  if (new_count <= capacity) return capacity;
  if (capacity == 0) return new_count > 4 ? new_count : 4;
  const int64 grown = static_cast<int64>(new_count) + 3 * static_cast<int64>(new_count) / 8 + 16;
  const int64 cap = std::numeric_limits<int32>::max();
  return static_cast<int32>(grown > cap ? cap : grown);
}

void* AppendSlot(void* array_header, std::size_t element_size) {
  auto* array = static_cast<RawArray*>(array_header);
  if (array->count == std::numeric_limits<int32>::max()) {
    throw std::length_error("engine array is full");
  }
  const int32 new_count = array->count + 1;
  if (new_count > array->capacity) {
    const int32 capacity = GrownCapacity(array->capacity, new_count);
    array->data = EngineRealloc(array->data, element_size * static_cast<uint64>(capacity), 8);
    array->capacity = capacity;
  }
  auto* slot = static_cast<unsigned char*>(array->data) + element_size * static_cast<std::size_t>(array->count);
  std::memset(slot, 0, element_size);
  array->count = new_count;
  return slot;
}

void AppendString(TArray<FString>& array, const FString& text) {
  auto* slot = static_cast<FString*>(AppendSlot(&array, sizeof(FString)));
  CopyTrivialArray(slot->Data, text.Data);
}

}  // namespace ck::host
