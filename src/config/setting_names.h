// The names of the settings the loader reads, and the known name an unknown
// key most likely meant. No game and no framework: plain text rules.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace ck::config {

// The keys of the file's root object the loader reads, in its order
// ("Messages" holds the message texts).
inline constexpr const char* kRootSettingNames[] = {
    "Enabled",
    "DebugLogging",
    "CaptureCooldownSeconds",
    "ClearShoulderMountAfterCapture",
    "CaptureOnTransferButton",
    "ItemsPlusCompatibility",
    "TemporaryVanillaCryopods",
    "AutoRemoveTemporaryVanillaCryopods",
    "TemporaryVanillaCryopodCleanupIntervalSeconds",
    "ClearCryoSicknessFromTemporaryVanillaCryopods",
    "CaptureMode",
    "ScsCryopodBlueprint",
    "ScsCaptureActorBlueprint",
    "VanillaCryopodBlueprint",
    "CryoCooldownBuffBlueprint",
    "CryoSicknessBuffBlueprint",
    "ItemsPlusTransferNetExecCommand",
    "ItemsPlusActorNameContains",
    "JournalFolder",
    "JournalServerName",
    "JournalFileKilobytes",
    "JournalFilesKept",
    "Messages",
};

// The keys of the "Messages" object the loader reads.
inline constexpr const char* kMessageSettingNames[] = {"Captured", "NoShoulderPet", "CaptureFailed"};

// The name of `known` that `key` most likely meant: the same name in other
// letter case, or the nearest within a slip of the hand (letters left out,
// added, changed or swapped: at most one in four of the name's letters, and
// at least one). Empty when none is that near; the first of equally near.
[[nodiscard]] std::string NearestSettingName(std::string_view key, std::span<const char* const> known);

}  // namespace ck::config
