#include "temporary_pods/custom_item_data.h"

#include <fmt/core.h>

#include "host/game_access.h"
#include "host/names.h"

namespace ck::temporary_pods {

namespace {

// Every engine array has its count at the same place; only counts are read.
int32 CountOf(const void* record, const char* key) {
  return host::FieldPtr<TArray<uint8>>(record, key)->Num();
}

const TArray<FCustomItemData>* EntriesOf(UPrimalItem* item) {
  return host::FieldPtr<TArray<FCustomItemData>>(item, "UPrimalItem.CustomItemDatas");
}

int32 DoubleCount(const FCustomItemData& entry) {
  return CountOf(host::FieldPtr<FCustomItemDoubles>(&entry, "FCustomItemData.CustomDataDoubles"),
                 "FCustomItemDoubles.Doubles");
}

const TArray<FCustomItemByteArray>* ByteArraysOf(const FCustomItemData& entry) {
  return host::FieldPtr<TArray<FCustomItemByteArray>>(
      host::FieldPtr<FCustomItemByteArrays>(&entry, "FCustomItemData.CustomDataBytes"),
      "FCustomItemByteArrays.ByteArrays");
}

bool IsMarkerEntry(const FCustomItemData& entry) { return CustomDataEntryName(entry) == kMarkerName; }

}  // namespace

std::string CustomDataEntryName(const FCustomItemData& entry) {
  return host::NameToUtf8(*host::FieldPtr<FName>(&entry, "FCustomItemData.CustomDataName"));
}

bool EntryHasPayload(const FCustomItemData& entry) {
  for (const char* key : {"FCustomItemData.CustomDataStrings", "FCustomItemData.CustomDataFloats",
                          "FCustomItemData.CustomDataObjects", "FCustomItemData.CustomDataClasses",
                          "FCustomItemData.CustomDataNames", "FCustomItemData.CustomDataSoftClasses"}) {
    if (CountOf(&entry, key) > 0) return true;
  }
  if (DoubleCount(entry) > 0) return true;
  for (const FCustomItemByteArray& bytes : *ByteArraysOf(entry)) {
    if (CountOf(&bytes, "FCustomItemByteArray.Bytes") > 0) return true;
  }
  return false;
}

bool IsTemporaryPod(UPrimalItem* item) {
  if (item == nullptr) return false;
  for (const FCustomItemData& entry : *EntriesOf(item)) {
    if (IsMarkerEntry(entry)) return true;
  }
  return false;
}

bool HasCreaturePayload(UPrimalItem* item) {
  if (item == nullptr) return false;
  for (const FCustomItemData& entry : *EntriesOf(item)) {
    if (IsMarkerEntry(entry)) continue;
    if (EntryHasPayload(entry)) return true;
  }
  return false;
}

std::string DescribeCustomItemData(UPrimalItem* item) {
  if (item == nullptr) return "item=null";
  std::string text = fmt::format("marker={} payload={} customData=[", IsTemporaryPod(item), HasCreaturePayload(item));
  bool first = true;
  for (const FCustomItemData& entry : *EntriesOf(item)) {
    if (!first) text += "; ";
    first = false;
    text += fmt::format("{} s={} f={} o={} c={} n={} b={} d={}", CustomDataEntryName(entry),
                        CountOf(&entry, "FCustomItemData.CustomDataStrings"),
                        CountOf(&entry, "FCustomItemData.CustomDataFloats"),
                        CountOf(&entry, "FCustomItemData.CustomDataObjects"),
                        CountOf(&entry, "FCustomItemData.CustomDataClasses"),
                        CountOf(&entry, "FCustomItemData.CustomDataNames"), ByteArraysOf(entry)->Num(),
                        DoubleCount(entry));
  }
  return text + "]";
}

}  // namespace ck::temporary_pods
