// Making and releasing the game's custom item data records in an item's
// own array.
#include "host/engine/custom_item_record.h"

#include <exception>

#include "core/boundary.h"
#include "core/log.h"
#include "host/engine/array.h"
#include "host/framework/engine_allocator.h"
#include "host/game/catalogue.h"

namespace ck::host {

namespace {

// Frees what a record still owns, by its layout.
void FreeRecordBuffers(FCustomItemData& entry) {
  for (FCustomItemByteArray& bytes : entry.CustomDataBytes.ByteArrays) FreeArray(bytes.Bytes);
  FreeArray(entry.CustomDataBytes.ByteArrays);
  FreeArray(entry.CustomDataDoubles.Doubles);
  for (FString& text : entry.CustomDataStrings) {
    EngineFree(text.Data.Data);
    text.Data = TArray<char16_t>{nullptr, 0, 0};
  }
  FreeArray(entry.CustomDataStrings);
  FreeArray(entry.CustomDataFloats);
  FreeArray(entry.CustomDataObjects);
  FreeArray(entry.CustomDataClasses);
  FreeArray(entry.CustomDataNames);
  FreeArray(entry.UniquePaintingIdMap);
  FreeArray(entry.PaintingRevisionMap);
  for (TSoftClassPtr<UObject>& soft : entry.CustomDataSoftClasses) {
    TArray<char16_t>& path = soft.SoftObjectPtr.ObjectID.SubPathString.Data;
    EngineFree(path.Data);
    path = TArray<char16_t>{nullptr, 0, 0};
  }
  FreeArray(entry.CustomDataSoftClasses);
  entry.CustomDataName = FName{0, 0};
}

bool Owns(const FCustomItemData& entry) {
  return entry.CustomDataBytes.ByteArrays.Data != nullptr || entry.CustomDataDoubles.Doubles.Data != nullptr ||
         entry.CustomDataStrings.Data != nullptr || entry.CustomDataFloats.Data != nullptr ||
         entry.CustomDataObjects.Data != nullptr || entry.CustomDataClasses.Data != nullptr ||
         entry.CustomDataNames.Data != nullptr || entry.UniquePaintingIdMap.Data != nullptr ||
         entry.PaintingRevisionMap.Data != nullptr || entry.CustomDataSoftClasses.Data != nullptr;
}

}  // namespace

FCustomItemData& AppendEmptyRecord(TArray<FCustomItemData>& array) {
  return *static_cast<FCustomItemData*>(AppendSlot(&array, sizeof(FCustomItemData)));
}

void ReleaseRecord(FCustomItemData& entry) noexcept {
  if (!Owns(entry)) return;
  std::exception_ptr failure;
  core::Attempt(
      [&] {
        FCustomItemData empty{};
        game::kCustomItemDataMoveAssign(&entry, &empty);
      },
      failure);
  if (failure) {
    log::Warn("Cradlekeep could not release an item data record the game's way ({}); freed it by its layout",
              core::FailureText(failure));
  }
  FreeRecordBuffers(entry);
}

#define CK_MEMBER(Key, Record, member) RecordMember{&game::Key, static_cast<std::ptrdiff_t>(offsetof(Record, member))}
const RecordMember kCustomItemDataMembers[14] = {
    CK_MEMBER(kCustomDataBytes, FCustomItemData, CustomDataBytes),
    CK_MEMBER(kCustomDataDoubles, FCustomItemData, CustomDataDoubles),
    CK_MEMBER(kCustomDataStrings, FCustomItemData, CustomDataStrings),
    CK_MEMBER(kCustomDataFloats, FCustomItemData, CustomDataFloats),
    CK_MEMBER(kCustomDataObjects, FCustomItemData, CustomDataObjects),
    CK_MEMBER(kCustomDataClasses, FCustomItemData, CustomDataClasses),
    CK_MEMBER(kCustomDataNames, FCustomItemData, CustomDataNames),
    CK_MEMBER(kCustomDataUniquePaintingIdMap, FCustomItemData, UniquePaintingIdMap),
    CK_MEMBER(kCustomDataPaintingRevisionMap, FCustomItemData, PaintingRevisionMap),
    CK_MEMBER(kCustomDataName, FCustomItemData, CustomDataName),
    CK_MEMBER(kCustomDataSoftClasses, FCustomItemData, CustomDataSoftClasses),
    CK_MEMBER(kCustomItemDoubles, FCustomItemDoubles, Doubles),
    CK_MEMBER(kCustomItemByteArrays, FCustomItemByteArrays, ByteArrays),
    CK_MEMBER(kCustomItemBytes, FCustomItemByteArray, Bytes),
};
#undef CK_MEMBER

}  // namespace ck::host
