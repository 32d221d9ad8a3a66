// The journal's files, from the game thread.
#include "journal/journal_store.h"

#include <optional>
#include <utility>

#include "config/config_loader.h"
#include "core/boundary.h"
#include "core/log.h"
#include "core/utf8_path.h"
#include "host/framework/engine_text.h"
#include "host/framework/framework.h"
#include "host/game/catalogue.h"
#include "journal/identities.h"
#include "journal/journal.h"
#include "journal/journal_entry.h"
#include "journal_files/file_system.h"
#include "journal_files/journal_names.h"
#include "journal_files/journal_tail.h"
#include "state/plugin_state.h"

namespace ck::journal {

namespace {

constexpr std::string_view kFallbackServer = "server";

// The map's name as the game has it, when this build may be asked.
std::optional<std::string> MapName() {
  if (!game::kWorldGetMapName.Present() || !MayAskForIds()) return std::nullopt;
  UWorld* world = host::CurrentWorld();
  if (world == nullptr) return std::nullopt;
  std::optional<std::string> name;
  core::Contain(
      [&] {
        host::EngineString result;
        game::kWorldGetMapName(world, result.get());
        name = host::FStringToUtf8(*result);
      },
      [](const char* what) { log::Warn("Cradlekeep journal could not read the {}: {}", "map's name", what); });
  if (name && name->empty()) return std::nullopt;
  return name;
}

// Fills the ring from the end of this server's files, oldest first.
void ReadBack(const FilesPlan& plan) {
  state::JournalFiles& files = state::Current().journal_files;
  const journal_files::TailLines tail =
      journal_files::ReadServerTail(journal_files::RealFileSystem(), plan.folder, plan.server, kReadBackBytes);
  if (!tail.error.empty()) {
    log::Warn("Cradlekeep journal could not read back {}: {}",
              journal_files::InFolder(plan.folder, journal_files::CurrentFileName(plan.server)), tail.error);
    return;
  }
  ReadEntries read = ReadAll(tail.lines);
  files.skipped_back += read.unreadable + (tail.cut_short ? 1 : 0);
  files.read_back = Restore(std::move(read.entries));
}

void StopWriter() noexcept {
  state::JournalFiles& files = state::Current().journal_files;
  if (files.writer == nullptr) return;
  files.writer->Stop();
  TellFileFaults();
  files.writer.reset();
}

}  // namespace

std::optional<FilesPlan> PlanFiles(const config::PluginConfig& settings) {
  FilesPlan plan;
  plan.folder = settings.JournalFolder.empty() ? core::Utf8FromPath(config::ConfigFolder() / "journal") : settings.JournalFolder;
  plan.file_bytes = config::JournalFileBytes(settings);
  plan.files_kept = config::JournalFilesKept(settings);
  if (!settings.JournalServerName.empty()) {
    plan.server = journal_files::ServerNameFrom(settings.JournalServerName);
    return plan;
  }
  if (host::CurrentWorld() == nullptr) return std::nullopt;
  const std::optional<std::string> map = MapName();
  if (map) {
    plan.server = journal_files::ServerNameFrom(*map);
    return plan;
  }
  plan.server = kFallbackServer;
  log::Warn(
      "Cradlekeep journal could not read the map's name on this game build; this server's journal file is named "
      "\"{}\": set JournalServerName to tell the servers of a cluster apart",
      kFallbackServer);
  return plan;
}

void OpenFiles(const FilesPlan& plan, bool read_back) {
  core::Contain(
      [&] {
        state::JournalFiles& files = state::Current().journal_files;
        files.server = plan.server;
        files.planned_folder = plan.folder;
        files.file_bytes = plan.file_bytes;
        files.files_kept = plan.files_kept;
        files.folder.clear();
        std::string error;
        if (!journal_files::RealFileSystem().MakeFolder(plan.folder, error)) {
          files.off_reason = error;
          log::Warn("Cradlekeep journal file is off: {}; the journal goes on in memory and in the log", error);
          return;
        }
        files.off_reason.clear();
        files.folder = plan.folder;
        // The thread and later reads use the folder as it is now, whatever
        // becomes of the working folder.
        std::error_code ignored;
        const std::filesystem::path absolute = std::filesystem::absolute(core::PathFromUtf8(plan.folder), ignored);
        files.io_folder = absolute.empty() ? plan.folder : core::Utf8FromPath(absolute);
        if (read_back) ReadBack(plan);
        journal_files::WriterSettings writer{files.io_folder, plan.server, plan.file_bytes, plan.files_kept};
        files.writer = std::make_unique<journal_files::Writer>(std::move(writer), journal_files::RealFileSystem());
        files.failures_told = 0;
        files.error_told.clear();
      },
      [&](const char* what) {
        state::Current().journal_files.off_reason = what;
        log::Warn("Cradlekeep journal file is off: {}; the journal goes on in memory and in the log", what);
      });
}

void StartFiles() {
  state::Current().journal_files.wanted = true;
  EnsureFilesOpen();
}

void EnsureFilesOpen() {
  if (!state::Running()) return;
  state::JournalFiles& files = state::Current().journal_files;
  if (!files.wanted || files.opened) return;
  core::Contain(
      [&] {
        const std::optional<FilesPlan> plan = PlanFiles(state::Current().settings);
        if (!plan) return;
        files.opened = true;
        OpenFiles(*plan, /*read_back=*/true);
      },
      [&](const char* what) {
        files.opened = true;
        files.off_reason = what;
        log::Warn("Cradlekeep journal file is off: {}; the journal goes on in memory and in the log", what);
      });
}

bool ApplyFiles() {
  state::JournalFiles& files = state::Current().journal_files;
  if (!files.opened) {
    EnsureFilesOpen();
    return false;
  }
  const std::optional<FilesPlan> plan = PlanFiles(state::Current().settings);
  if (!plan) return false;
  const FilesPlan running{files.folder.empty() ? files.planned_folder : files.folder, files.server, files.file_bytes,
                          files.files_kept};
  // A folder that failed is tried again, the same or not.
  if (running == *plan && files.writer != nullptr) return false;
  StopWriter();
  OpenFiles(*plan, false);
  return true;
}

void CloseFiles() {
  if (!state::Running()) return;
  StopWriter();
}

void WriteToFile(std::string stamped) {
  state::JournalFiles& files = state::Current().journal_files;
  if (files.writer == nullptr) return;
  files.writer->Enqueue(std::move(stamped));
  TellFileFaults();
}

void TellFileFaults() {
  core::Contain(
      [] {
        if (!state::Running()) return;
        state::JournalFiles& files = state::Current().journal_files;
        if (files.writer == nullptr) return;
        const journal_files::WriterCounts counts = files.writer->Counts();
        if (counts.failures <= files.failures_told) return;
        files.failures_told = counts.failures;
        // The same fault again (a file that stays held open, a disk that
        // stays full) is on the status, not told again.
        if (counts.last_error == files.error_told) return;
        files.error_told = counts.last_error;
        log::Warn("Cradlekeep journal file: {}; the journal goes on in memory and in the log", counts.last_error);
      },
      [](const char*) {});
}

std::string ServerName() {
  if (!state::Running() || state::Current().journal_files.server.empty()) return std::string(kFallbackServer);
  return state::Current().journal_files.server;
}

std::string FilesStatus() {
  EnsureFilesOpen();
  const state::JournalFiles& files = state::Current().journal_files;
  if (files.wanted && !files.opened) return "no file yet (its name comes from the map's, once the world is up)";
  if (files.writer == nullptr) {
    if (files.off_reason.empty()) return "no file";
    return "no file (" + files.off_reason + "): the journal is in memory and in the log";
  }
  const journal_files::WriterCounts counts = files.writer->Counts();
  std::string text = "file " + journal_files::InFolder(files.folder, journal_files::CurrentFileName(files.server)) +
                     ": " + std::to_string(counts.queued) + " queued, " +
                     std::to_string(counts.written) + " written, " +
                     std::to_string(counts.dropped_full + counts.dropped_failed) + " dropped";
  if (files.read_back > 0 || files.skipped_back > 0) {
    text += ", " + std::to_string(files.read_back) + " read back at start-up";
    if (files.skipped_back > 0) text += " (" + std::to_string(files.skipped_back) + " cut short or unreadable left out)";
  }
  text += "; last error: " + (counts.last_error.empty() ? std::string("none") : counts.last_error);
  return text;
}

}  // namespace ck::journal
