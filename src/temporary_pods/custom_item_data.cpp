#include "temporary_pods/custom_item_data.h"

#include <fmt/core.h>

#include "host/game_access.h"
#include "host/names.h"

namespace ck::temporary_pods {

namespace {

// These run for every item of every online player at each recurring scan:
// their keys are resolved once.
constinit host::FieldKey kCustomItemDatas("UPrimalItem.CustomItemDatas");
constinit host::FieldKey kEntryName("FCustomItemData.CustomDataName");
constinit host::FieldKey kStrings("FCustomItemData.CustomDataStrings");
constinit host::FieldKey kFloats("FCustomItemData.CustomDataFloats");
constinit host::FieldKey kObjects("FCustomItemData.CustomDataObjects");
constinit host::FieldKey kClasses("FCustomItemData.CustomDataClasses");
constinit host::FieldKey kNames("FCustomItemData.CustomDataNames");
constinit host::FieldKey kSoftClasses("FCustomItemData.CustomDataSoftClasses");
constinit host::FieldKey kDoublesRecord("FCustomItemData.CustomDataDoubles");
constinit host::FieldKey kDoubles("FCustomItemDoubles.Doubles");
constinit host::FieldKey kBytesRecord("FCustomItemData.CustomDataBytes");
constinit host::FieldKey kByteArrays("FCustomItemByteArrays.ByteArrays");
constinit host::FieldKey kBytes("FCustomItemByteArray.Bytes");

// The comparison index of the marker's name once the name table holds it.
// The table only grows, so a found index stays right for the process; the
// name may be added at any time (a save holding marked pods), so not finding
// it is not remembered.
int32 g_marker_index = 0;

int32 MarkerIndex() {
  if (g_marker_index == 0) g_marker_index = host::MakeName(kMarkerName, FNAME_Find).ComparisonIndex;
  return g_marker_index;
}

// Every engine array has its count at the same place; only counts are read.
int32 CountOf(const void* record, const host::FieldKey& key) { return key.In<TArray<uint8>>(record)->Num(); }

const TArray<FCustomItemData>* EntriesOf(UPrimalItem* item) { return kCustomItemDatas.In<TArray<FCustomItemData>>(item); }

int32 DoubleCount(const FCustomItemData& entry) {
  return CountOf(kDoublesRecord.In<FCustomItemDoubles>(&entry), kDoubles);
}

const TArray<FCustomItemByteArray>* ByteArraysOf(const FCustomItemData& entry) {
  return kByteArrays.In<TArray<FCustomItemByteArray>>(kBytesRecord.In<FCustomItemByteArrays>(&entry));
}

}  // namespace

void ForgetMarkerName() { g_marker_index = 0; }

std::string CustomDataEntryName(const FCustomItemData& entry) {
  return host::NameToUtf8(*kEntryName.In<FName>(&entry));
}

bool EntryHasPayload(const FCustomItemData& entry) {
  for (const host::FieldKey* key : {&kStrings, &kFloats, &kObjects, &kClasses, &kNames, &kSoftClasses}) {
    if (CountOf(&entry, *key) > 0) return true;
  }
  if (DoubleCount(entry) > 0) return true;
  for (const FCustomItemByteArray& bytes : *ByteArraysOf(entry)) {
    if (CountOf(&bytes, kBytes) > 0) return true;
  }
  return false;
}

MarkerTest::MarkerTest()
    : marker_index_(MarkerIndex()), entries_offset_(kCustomItemDatas.Offset()), name_offset_(kEntryName.Offset()) {}

bool MarkerTest::NameTextIsMarker(const FName& name) { return host::NameToUtf8(name) == kMarkerName; }

bool IsTemporaryPod(UPrimalItem* item) { return MarkerTest().IsTemporaryPod(item); }

bool HasCreaturePayload(UPrimalItem* item) {
  if (item == nullptr) return false;
  const TArray<FCustomItemData>& entries = *EntriesOf(item);
  if (entries.Num() == 0) return false;
  const MarkerTest marker;
  for (const FCustomItemData& entry : entries) {
    if (marker.IsMarkerEntry(entry)) continue;
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
    text += fmt::format("{} s={} f={} o={} c={} n={} b={} d={}", CustomDataEntryName(entry), CountOf(&entry, kStrings),
                        CountOf(&entry, kFloats), CountOf(&entry, kObjects), CountOf(&entry, kClasses),
                        CountOf(&entry, kNames), ByteArraysOf(entry)->Num(), DoubleCount(entry));
  }
  return text + "]";
}

}  // namespace ck::temporary_pods
