// The parts of the plugin that a game build can take away, and which game
// keys each part needs.
//
// A game update can drop or rename any key of the catalogue (host/game/catalogue.h).
// Start-up checks every key against the running build; a part is on when
// the build has every key it needs and every part it stands on is on. A key
// the build lacks turns off only the parts that need it; the rest of the
// plugin runs. The table of keys and parts (game_parts.cpp) lists every key
// of the catalogue once, so it is also the list of every key the plugin can
// ever ask the framework for.
// Game thread only: binding changes the catalogue's members.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/game/members.h"

namespace ck::host {

enum class Part : std::uint8_t {
  kEngine,              // engine memory, names, weak pointers, classes, a controller's player character
  kTransferButton,      // the transfer-button trigger
  kTransferDialog,      // the transfer-dialog trigger
  kTransferConfirmation,
  kCharacterUpload,
  kForcedUpload,
  kDropNotReady,
  kItemsPlus,           // the Items+ transfer request
  kCarriedDetach,       // seeing the game empty the carried slot
  kMountedDetach,       // seeing the game empty a shoulder slot
  kRiddenSlot,          // finding companions: each slot on its own
  kMountedSlot,
  kCarriedSlot,
  kSecondarySlot,
  kPreviousMounted,
  kPreviousSecondary,
  kCompanionNames,
  kMountedClearing,     // emptying a shoulder slot after a capture
  kCarriedClearing,     // emptying the carried slot after a capture
  kInsertion,           // placing a pod in the player's inventory (with at least one way in)
  kPlainAdd,            // the three ways in
  kExtendedAdd,
  kForcedAdd,
  kScsCapture,
  kVanillaCapture,
  kMarker,              // reading and writing the temporary-pod marker
  kPodRemoval,          // removing emptied temporary pods from an inventory
  kPodUse,              // seeing a temporary pod used
  kUnCryoBroadcasts,    // seeing a creature released from a pod
  kCleanupPasses,       // the delayed clean-up passes
  kRecurringScan,       // the recurring scan of every online player's inventory
  kSicknessClearing,    // clearing cryo sickness and the cryo cooldown
  kRconCommands,        // the admin commands over RCON (their replies)
  kJournalIds,          // the ids the capture journal writes (never a capture's)
  kJournalServerName,   // the map's name, the journal file's default server name (never a capture's)
  kCount
};

inline constexpr std::size_t kPartCount = static_cast<std::size_t>(Part::kCount);

// A set of parts.
class PartSet {
 public:
  constexpr PartSet() = default;
  static constexpr PartSet All() { return PartSet((std::uint64_t{1} << kPartCount) - 1); }

  constexpr bool Has(Part part) const { return (bits_ & Bit(part)) != 0; }
  constexpr void Add(Part part) { bits_ |= Bit(part); }
  constexpr void Remove(Part part) { bits_ &= ~Bit(part); }
  constexpr bool Empty() const { return bits_ == 0; }
  // The parts of this set that are not in `other`.
  constexpr PartSet Minus(PartSet other) const { return PartSet(bits_ & ~other.bits_); }
  constexpr bool operator==(const PartSet&) const = default;

 private:
  constexpr explicit PartSet(std::uint64_t bits) : bits_(bits) {}
  static constexpr std::uint64_t Bit(Part part) { return std::uint64_t{1} << static_cast<unsigned>(part); }
  std::uint64_t bits_ = 0;
};

// How a part is called in the log: "the transfer button trigger", ...
std::string_view PartName(Part part);

// Where the framework keeps a key: functions and fields in the offsets
// cache, bit fields in the bit-field cache.
enum class KeyKind : std::uint8_t { kOffset, kBitField };

// One key of the catalogue and the parts that need it directly.
struct KeyNeed {
  const GameKey* member;
  KeyKind kind;
  PartSet parts;
};

// Every key of the catalogue, once each, in the catalogue's order.
std::span<const KeyNeed> GameKeyTable();

// The parts that are on when the build has exactly the keys marked in
// `present` (parallel to GameKeyTable()): a part is off when a key it needs
// is missing or a part it stands on is off.
PartSet PartsOn(const std::vector<bool>& present);

// The parts a missing key turns off by itself (the parts that need it, and
// the parts that stand on those).
PartSet PartsOffWithout(std::size_t key_index);

// "the transfer button trigger, the Items+ transfer trigger" for `parts`, in
// the order of Part; "everything" for every part.
std::string DescribeParts(PartSet parts);

// Binds every member of the catalogue to the running build: `present`
// parallel to GameKeyTable(), each present member under the catalogue's
// name, or every key present when it is empty (the build could not be
// checked: each member is then asked for under its names in turn, the next
// when the framework refuses one). Forgets every earlier answer of the
// framework.
void BindGameKeys(const std::vector<bool>& present);

// Binds every member to the name of `names` (parallel to GameKeyTable(), an
// index as for GameKey::NameKey, GameKey::kNoName for a member the build
// lacks). Forgets every earlier answer of the framework.
void BindGameKeyNames(const std::vector<std::size_t>& names);

}  // namespace ck::host
