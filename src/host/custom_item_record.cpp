#include "host/custom_item_record.h"

#include "host/engine_array.h"
#include "host/engine_memory.h"

namespace ck::host {

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
    CopyTrivialArray(copy->SubPathString, soft.SubPathString);
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
