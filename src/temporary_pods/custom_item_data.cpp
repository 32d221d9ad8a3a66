#include "temporary_pods/custom_item_data.h"

#include <fmt/core.h>

#include "host/game/catalogue.h"
#include "host/engine/custom_item_record.h"
#include "host/engine/array.h"
#include "host/framework/engine_text.h"
#include "state/plugin_state.h"
#include "host/engine/names.h"

namespace ck::temporary_pods {

namespace {

// The comparison index of the marker's name once the name table holds it.
// The table only grows, so a found index stays right while the plugin runs;
// the name may be added at any time (a save holding marked pods), so not
// finding it is not remembered.
int32 MarkerIndex() {
  int32& index = state::Current().marker_index;
  if (index == 0) index = host::MakeName(kMarkerName, FNAME_Find).ComparisonIndex;
  return index;
}

template <typename T>
int32 CountOf(const void* record, const host::Field<TArray<T>>& field) {
  return field.In(record)->Num();
}

const TArray<FCustomItemData>* EntriesOf(UPrimalItem* item) { return game::kItemCustomItemDatas.In(item); }

int32 DoubleCount(const FCustomItemData& entry) {
  return CountOf(game::kCustomDataDoubles.In(&entry), game::kCustomItemDoubles);
}

const TArray<FCustomItemByteArray>* ByteArraysOf(const FCustomItemData& entry) {
  return game::kCustomItemByteArrays.In(game::kCustomDataBytes.In(&entry));
}

}  // namespace

std::string CustomDataEntryName(const FCustomItemData& entry) {
  return host::NameToUtf8(*game::kCustomDataName.In(&entry));
}

bool EntryHasPayload(const FCustomItemData& entry) {
  if (CountOf(&entry, game::kCustomDataStrings) > 0 || CountOf(&entry, game::kCustomDataFloats) > 0 ||
      CountOf(&entry, game::kCustomDataObjects) > 0 || CountOf(&entry, game::kCustomDataClasses) > 0 ||
      CountOf(&entry, game::kCustomDataNames) > 0 || CountOf(&entry, game::kCustomDataSoftClasses) > 0 ||
      CountOf(&entry, game::kCustomDataUniquePaintingIdMap) > 0 ||
      CountOf(&entry, game::kCustomDataPaintingRevisionMap) > 0) {
    return true;
  }
  if (DoubleCount(entry) > 0) return true;
  for (const FCustomItemByteArray& bytes : *ByteArraysOf(entry)) {
    if (CountOf(&bytes, game::kCustomItemBytes) > 0) return true;
  }
  return false;
}

MarkerTest::MarkerTest()
    : marker_index_(MarkerIndex()),
      entries_at_(game::kItemCustomItemDatas.OffsetIfResolved()),
      name_at_(game::kCustomDataName.OffsetIfResolved()) {}

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
    text += fmt::format("{} s={} f={} o={} c={} n={} b={} d={}", CustomDataEntryName(entry),
                        CountOf(&entry, game::kCustomDataStrings), CountOf(&entry, game::kCustomDataFloats),
                        CountOf(&entry, game::kCustomDataObjects), CountOf(&entry, game::kCustomDataClasses),
                        CountOf(&entry, game::kCustomDataNames), ByteArraysOf(entry)->Num(), DoubleCount(entry));
  }
  return text + "]";
}

void MarkTemporaryPod(UPrimalItem* item) {
  if (item == nullptr || !config::Current().TemporaryVanillaCryopods || IsTemporaryPod(item)) return;
  // Made in place in the item's own records: the name and text first, so
  // that nothing but the engine growing an array can fail once the record
  // is there, and then it is a record with the marker's name.
  const FName name = host::MakeName(kMarkerName, FNAME_Add);
  const auto text = host::MakeFString(kMarkerString);
  FCustomItemData& marker = host::AppendEmptyRecord(*game::kItemCustomItemDatas.In(item));
  *game::kCustomDataName.In(&marker) = name;
  host::AppendString(*game::kCustomDataStrings.In(&marker), *text);
  game::kItemUpdatedItem(item, false, false);
}

}  // namespace ck::temporary_pods
