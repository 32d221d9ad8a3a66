// The game's custom item data record (FCustomItemData) as the plugin makes
// and releases it. The plugin writes records only in the game's layout,
// which start-up compares with the offsets the running build gives (see
// kCustomItemDataMembers); it copies no record the game made.
// Game thread only: the engine allocator and the game's objects are not thread-safe.
#pragma once

#include <cstddef>

#include "asa/engine_types.h"
#include "host/game/members.h"

namespace ck::host {

// Appends an empty record to the array, in place, and returns it for the
// caller to fill. Throws when the engine cannot grow the array; the array is
// then unchanged.
FCustomItemData& AppendEmptyRecord(TArray<FCustomItemData>& array);

// Releases every buffer of a record and leaves it empty. The game's own move
// assignment from an empty record releases it the game's way; whatever that
// left (the call failed) is freed by the record's layout. Never throws.
void ReleaseRecord(FCustomItemData& entry) noexcept;

// A record owned by the caller (for the game to fill), released on every way out.
class OwnedCustomItemData {
 public:
  OwnedCustomItemData() : data_{} {}
  ~OwnedCustomItemData() { ReleaseRecord(data_); }
  OwnedCustomItemData(const OwnedCustomItemData&) = delete;
  OwnedCustomItemData& operator=(const OwnedCustomItemData&) = delete;
  FCustomItemData* get() { return &data_; }

 private:
  FCustomItemData data_;
};

// A member of the record (or of a record inside it) whose offset the game's
// offsets cache holds, and the offset the plugin's layout gives it.
struct RecordMember {
  const GameKey* member;
  std::ptrdiff_t offset;
};

// Every member of FCustomItemData and of the records inside it.
extern const RecordMember kCustomItemDataMembers[14];

}  // namespace ck::host
