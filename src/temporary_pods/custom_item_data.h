// Reading an item's custom data, and the temporary-pod marker: an entry
// named exactly "CradlekeepTemporaryCryopod" holding the one string
// "Cradlekeep". A pod made by the plugin carries it; any item, wherever it
// is found, can be tested by itself.
// Game thread only: every call reads the game's objects or the plugin's state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "asa/engine_types.h"
#include "host/game/catalogue.h"

namespace ck::temporary_pods {

inline constexpr const char* kMarkerName = "CradlekeepTemporaryCryopod";
inline constexpr const char16_t* kMarkerString = u"Cradlekeep";

// The entry's name as UTF-8 text.
std::string CustomDataEntryName(const FCustomItemData& entry);

// True when one of the entry's arrays holds an element: strings, floats,
// objects, classes, names, soft classes, doubles, or the bytes of any of its
// byte arrays (a byte-array list whose arrays are all empty holds nothing).
[[nodiscard]] bool EntryHasPayload(const FCustomItemData& entry);

// Appends the temporary-pod marker to a new pod, when TemporaryVanillaCryopods
// is on and the item carries none yet, and tells the game the item changed.
void MarkTemporaryPod(UPrimalItem* item);

// True when an entry's name text is exactly the marker name. False for null.
[[nodiscard]] bool IsTemporaryPod(UPrimalItem* item);

// The marker test with what it needs resolved up front, for loops over many
// items. An entry whose name's comparison index differs from the marker's
// cannot be the marker and needs no text at all; only the rare candidates are
// compared as exact text (the engine folds letter case into the index).
class MarkerTest {
 public:
  MarkerTest();
  bool IsMarkerName(const FName& name) const {
    return name.ComparisonIndex == marker_index_ && marker_index_ != 0 && NameTextIsMarker(name);
  }
  bool IsMarkerEntry(const FCustomItemData& entry) const { return IsMarkerName(*game::kCustomDataName.In(&entry)); }
  bool IsTemporaryPod(UPrimalItem* item) const {
    if (item == nullptr || marker_index_ == 0) return false;
    if (entries_at_ < 0 || name_at_ < 0) [[unlikely]] return IsTemporaryPodResolving(item);
    // Walk the names only: one load and one comparison per entry.
    const auto& entries =
        *reinterpret_cast<const TArray<FCustomItemData>*>(reinterpret_cast<std::uintptr_t>(item) + entries_at_);
    return game::kCustomDataName.AnyOfAt(name_at_, entries, [this](const FName& name) { return IsMarkerName(name); });
  }

 private:
  static bool NameTextIsMarker(const FName& name);
  // The same test through the catalogue, which resolves the offsets on
  // first use.
  bool IsTemporaryPodResolving(UPrimalItem* item) const {
    return game::kCustomDataName.AnyOf(*game::kItemCustomItemDatas.In(item),
                                       [this](const FName& name) { return IsMarkerName(name); });
  }
  int32 marker_index_;
  // The offsets of an item's custom data and of an entry's name, as resolved
  // when the test was made; -1 for one not resolved yet.
  std::intptr_t entries_at_;
  std::intptr_t name_at_;
};

// True when an entry other than the marker holds payload. False for null.
bool HasCreaturePayload(UPrimalItem* item);

// "marker=<bool> payload=<bool> customData=[<name> s=<n> f=<n> o=<n> c=<n>
// n=<n> b=<n> d=<n>; ...]", or "item=null".
std::string DescribeCustomItemData(UPrimalItem* item);

}  // namespace ck::temporary_pods
