#include "config/odd_values.h"

#include <algorithm>
#include <cmath>

#include <fmt/core.h>
#include <nlohmann/json.hpp>

#include "core/text.h"
#include "journal_files/journal_names.h"

namespace ck::config {

namespace {

const char* KindName(const nlohmann::json& value) {
  switch (value.type()) {
    case nlohmann::json::value_t::boolean: return "a boolean";
    case nlohmann::json::value_t::string: return "a string";
    case nlohmann::json::value_t::array: return "a list";
    default: return value.is_number() ? "a number" : "something else";
  }
}

void AddModeNote(const PluginConfig& c, std::vector<std::string>& notes) {
  if (IsVanillaCaptureMode(c) || core::ToLowerCopy(c.CaptureMode) == "scs") return;
  notes.push_back(fmt::format(
      "Cradlekeep config setting `CaptureMode` is \"{}\", none of the accepted spellings (SCS; Cryo, Vanilla, "
      "VanillaCryo or Vanilla Cryo for the game's own cryopods): SCS cryopods are used",
      c.CaptureMode));
}

void AddItemsPlusNotes(const PluginConfig& c, std::vector<std::string>& notes) {
  if (c.ItemsPlusTransferNetExecCommand.empty()) {
    notes.push_back(
        "Cradlekeep config setting `ItemsPlusTransferNetExecCommand` is empty: it matches every net-exec command");
  }
  const auto& parts = c.ItemsPlusActorNameContains;
  if (std::any_of(parts.begin(), parts.end(), [](const std::string& part) { return part.empty(); })) {
    notes.push_back("Cradlekeep config setting `ItemsPlusActorNameContains` has an empty entry: it matches every actor");
  }
}

void AddJournalNotes(const PluginConfig& c, std::vector<std::string>& notes) {
  if (!c.JournalServerName.empty() && !journal_files::IsServerName(c.JournalServerName)) {
    notes.push_back(fmt::format(
        "Cradlekeep config setting `JournalServerName` is {}, not a server name (1 to {} letters, digits, _ "
        "and -): the journal uses \"{}\"",
        nlohmann::json(c.JournalServerName).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace),
        journal_files::kMostServerNameBytes,
        journal_files::ServerNameFrom(c.JournalServerName)));
  }
  if (c.JournalFileKilobytes != std::floor(c.JournalFileKilobytes) ||
      c.JournalFileKilobytes < kLeastJournalFileKilobytes || c.JournalFileKilobytes > kMostJournalFileKilobytes) {
    notes.push_back(fmt::format(
        "Cradlekeep config setting `JournalFileKilobytes` is {}, not a whole number from {} to {}: journal files are "
        "rotated at {} kilobytes",
        c.JournalFileKilobytes, kLeastJournalFileKilobytes, kMostJournalFileKilobytes, JournalFileBytes(c) / 1024));
  }
  if (c.JournalFilesKept != std::floor(c.JournalFilesKept) || c.JournalFilesKept < kLeastJournalFilesKept ||
      c.JournalFilesKept > kMostJournalFilesKept) {
    notes.push_back(fmt::format(
        "Cradlekeep config setting `JournalFilesKept` is {}, not a whole number from {} to {}: {} journal files are "
        "kept",
        c.JournalFilesKept, kLeastJournalFilesKept, kMostJournalFilesKept, JournalFilesKept(c)));
  }
}

}  // namespace

std::vector<std::string> OddValues(const nlohmann::json& root, const PluginConfig& loaded) {
  std::vector<std::string> notes;
  if (!root.is_object()) {
    if (!root.is_null()) {
      notes.push_back(fmt::format("Cradlekeep config's top level is {}, not an object: every setting keeps its default",
                                  KindName(root)));
    }
    return notes;
  }
  const PluginConfig& c = loaded;
  const double interval = c.TemporaryVanillaCryopodCleanupIntervalSeconds;
  if (interval > 0 && interval < 1) {
    notes.push_back(fmt::format(
        "Cradlekeep config setting `TemporaryVanillaCryopodCleanupIntervalSeconds` is {}: the recurring scan runs "
        "every 1 second, its shortest interval",
        interval));
  } else if (interval < 0) {
    notes.push_back(fmt::format(
        "Cradlekeep config setting `TemporaryVanillaCryopodCleanupIntervalSeconds` is {}: a negative interval turns "
        "the recurring scan off, as 0 does",
        interval));
  }
  if (c.CaptureCooldownSeconds < 0) {
    notes.push_back(fmt::format(
        "Cradlekeep config setting `CaptureCooldownSeconds` is {}: a negative cooldown is no cooldown, as 0 is",
        c.CaptureCooldownSeconds));
  }
  AddModeNote(c, notes);
  AddItemsPlusNotes(c, notes);
  AddJournalNotes(c, notes);
  if (const auto messages = root.find("Messages"); messages != root.end() && !messages->is_object() &&
                                                   !messages->is_null()) {
    notes.push_back(fmt::format(
        "Cradlekeep config setting `Messages` is {}, not an object: the default messages are used",
        KindName(*messages)));
  }
  return notes;
}

}  // namespace ck::config
