// The settings record: every setting with its default. The running plugin
// holds one, replaced as a whole by the configuration load; only
// DebugLogging changes afterwards (through the debug console command).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ck::config {

struct MessageTexts {
  std::string Captured = "Prepared for transfer: {creature} (cryopod).";
  std::string NoShoulderPet;
  std::string CaptureFailed = "Cradle Keep failed to pod your shoulder pet. Check the server log.";
};

struct PluginConfig {
  bool Enabled = true;
  bool DebugLogging = false;
  bool ClearShoulderMountAfterCapture = true;
  bool CaptureOnTransferButton = true;
  bool ItemsPlusCompatibility = false;
  bool TemporaryVanillaCryopods = true;
  bool AutoRemoveTemporaryVanillaCryopods = true;
  bool ClearCryoSicknessFromTemporaryVanillaCryopods = true;
  double CaptureCooldownSeconds = 2.0;
  double TemporaryVanillaCryopodCleanupIntervalSeconds = 1.0;
  std::string CaptureMode = "SCS";
  std::string ScsCryopodBlueprint = "Blueprint'/SCS/SCSCryopod/PrimalItem_SCSCryopod.PrimalItem_SCSCryopod'";
  std::string ScsCaptureActorBlueprint = "Blueprint'/SCS/CCA_SCS.CCA_SCS'";
  std::string VanillaCryopodBlueprint =
      "Blueprint'/Game/Extinction/CoreBlueprints/Weapons/PrimalItem_WeaponEmptyCryopod.PrimalItem_WeaponEmptyCryopod'";
  std::string CryoCooldownBuffBlueprint =
      "Blueprint'/Game/Extinction/CoreBlueprints/Buffs/Buff_CryoCooldown.Buff_CryoCooldown'";
  std::string CryoSicknessBuffBlueprint =
      "Blueprint'/Game/Extinction/CoreBlueprints/Buffs/Buff_CryoSickness.Buff_CryoSickness'";
  std::string ItemsPlusTransferNetExecCommand = "EXECTransferRequest";
  std::vector<std::string> ItemsPlusActorNameContains = {"ItemsPlus", "ItemsPlusComBuff"};
  MessageTexts Messages;
  // The journal's files: the folder (empty: "journal" beside the config
  // file), the server's name in it (empty: from the map's name), the size a
  // file is rotated at and how many files of this server are kept.
  std::string JournalFolder;
  std::string JournalServerName;
  double JournalFileKilobytes = 1024;
  double JournalFilesKept = 4;
};

// The journal's file limits as they are used: JournalFileKilobytes within
// 16 to 1048576 (whole kilobytes, in bytes), JournalFilesKept within 2 to
// 100 (whole files).
[[nodiscard]] std::uint64_t JournalFileBytes(const PluginConfig& settings);
[[nodiscard]] int JournalFilesKept(const PluginConfig& settings);
inline constexpr double kLeastJournalFileKilobytes = 16;
inline constexpr double kMostJournalFileKilobytes = 1048576;
inline constexpr double kLeastJournalFilesKept = 2;
inline constexpr double kMostJournalFilesKept = 100;

// True when CaptureMode, lower-cased as a whole, is "cryo", "vanilla",
// "vanillacryo" or "vanilla cryo": the vanilla cryopod path. (The live
// settings are the running plugin's: state/plugin_state.h.)
[[nodiscard]] bool IsVanillaCaptureMode(const PluginConfig& settings);

}  // namespace ck::config
