#include "host/engine_array.h"

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

// Copies `source` into `target` (assumed empty) with fresh storage of exactly
// the source's count.
template <typename T>
void CopyTrivialArray(TArray<T>& target, const TArray<T>& source) {
  target = TArray<T>{nullptr, 0, 0};
  if (source.ArrayNum <= 0 || source.Data == nullptr) return;
  const uint64 bytes = sizeof(T) * static_cast<uint64>(source.ArrayNum);
  target.Data = static_cast<T*>(EngineRealloc(nullptr, bytes, 8));
  std::memcpy(target.Data, source.Data, bytes);
  target.ArrayNum = source.ArrayNum;
  target.ArrayMax = source.ArrayNum;
}

void CopyText(TArray<char16_t>& target, const TArray<char16_t>& source) { CopyTrivialArray(target, source); }

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
  CopyText(slot->Data, text.Data);
}

void AppendCustomItemData(TArray<FCustomItemData>& array, const FCustomItemData& entry) {
  auto* slot = static_cast<FCustomItemData*>(AppendSlot(&array, sizeof(FCustomItemData)));
  slot->CustomDataName = entry.CustomDataName;
  for (const FString& text : entry.CustomDataStrings) AppendString(slot->CustomDataStrings, text);
  CopyTrivialArray(slot->CustomDataFloats, entry.CustomDataFloats);
  for (const FSoftObjectPtr& soft : entry.CustomDataSoftClasses) {
    auto* copy = static_cast<FSoftObjectPtr*>(AppendSlot(&slot->CustomDataSoftClasses, sizeof(FSoftObjectPtr)));
    copy->WeakPtr = soft.WeakPtr;
    copy->TagAtLastTest = soft.TagAtLastTest;
    copy->PackageName = soft.PackageName;
    copy->AssetName = soft.AssetName;
    CopyText(copy->SubPathString, soft.SubPathString);
  }
  CopyTrivialArray(slot->CustomDataObjects, entry.CustomDataObjects);
  CopyTrivialArray(slot->CustomDataClasses, entry.CustomDataClasses);
  CopyTrivialArray(slot->CustomDataNames, entry.CustomDataNames);
  for (const FCustomItemByteArray& bytes : entry.CustomDataBytes.ByteArrays) {
    auto* copy = static_cast<FCustomItemByteArray*>(
        AppendSlot(&slot->CustomDataBytes.ByteArrays, sizeof(FCustomItemByteArray)));
    CopyTrivialArray(copy->Bytes, bytes.Bytes);
  }
  CopyTrivialArray(slot->CustomDataDoubles.Doubles, entry.CustomDataDoubles.Doubles);
}

void DestroyCustomItemData(FCustomItemData& entry) {
  for (FString& text : entry.CustomDataStrings) {
    EngineFree(text.Data.Data);
    text.Data = TArray<char16_t>{nullptr, 0, 0};
  }
  FreeArray(entry.CustomDataStrings);
  FreeArray(entry.CustomDataFloats);
  for (FSoftObjectPtr& soft : entry.CustomDataSoftClasses) FreeArray(soft.SubPathString);
  FreeArray(entry.CustomDataSoftClasses);
  FreeArray(entry.CustomDataObjects);
  FreeArray(entry.CustomDataClasses);
  FreeArray(entry.CustomDataNames);
  for (FCustomItemByteArray& bytes : entry.CustomDataBytes.ByteArrays) FreeArray(bytes.Bytes);
  FreeArray(entry.CustomDataBytes.ByteArrays);
  FreeArray(entry.CustomDataDoubles.Doubles);
  entry.CustomDataName = FName{0, 0};
}

}  // namespace ck::host
