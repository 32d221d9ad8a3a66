// The admin commands: the status and the reload, on the console and over
// RCON, with their answers.
#include "plugin/admin_commands.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "capture/scs_capture.h"
#include "config/config_loader.h"
#include "core/boundary.h"
#include "core/log.h"
#include "host/framework/clock.h"
#include "host/framework/engine_text.h"
#include "host/framework/framework.h"
#include "host/framework/module_path.h"
#include "host/game/catalogue.h"
#include "host/game/parts.h"
#include "journal/journal_store.h"
#include "plugin/debug_command.h"
#include "plugin/hook_registry.h"
#include "plugin/hook_table.h"
#include "plugin/journal_command.h"
#include "plugin/lifecycle.h"
#include "plugin/version.h"
#include "state/plugin_state.h"
#include "temporary_pods/scan/auto_remove_scan.h"
#include "temporary_pods/cleanup_passes.h"

namespace ck::plugin {

namespace {

std::string Joined(const std::vector<std::string>& parts, const char* between) {
  std::string text;
  for (const std::string& part : parts) {
    if (!text.empty()) text += between;
    text += part;
  }
  return text;
}

const char* YesNo(bool value) { return value ? "yes" : "no"; }
const char* TrueFalse(bool value) { return value ? "true" : "false"; }

// Whether a capture actor is in the world now; what stands in the way when
// that cannot be known.
std::string CaptureActorText() {
  if (!state::PartOn(host::Part::kScsCapture)) {
    return std::string("unknown, ") + std::string(host::PartName(host::Part::kScsCapture)) +
           " is off on this game build";
  }
  std::string text;
  core::Contain([&] { text = YesNo(capture::FindScsCaptureActor() != nullptr); },
                [&](const char* what) { text = std::string("unknown, the search failed: ") + what; });
  return text;
}

std::string SettingsLine() {
  const config::PluginConfig& settings = config::Current();
  std::string mode = settings.CaptureMode + " (vanilla cryopods)";
  if (!config::IsVanillaCaptureMode()) {
    mode = settings.CaptureMode + " (SCS cryopods, capture actor in the world: " + CaptureActorText() + ")";
  }
  return std::string("Enabled=") + TrueFalse(settings.Enabled) + " CaptureMode=" + mode +
         " DebugLogging=" + TrueFalse(settings.DebugLogging);
}

std::string ConfigLine() {
  const state::PluginState& state = state::Current();
  if (!state.started && !state.start_failure.empty()) {
    return "config: did not load (" + state.start_failure + "); the plugin is idle until Cradlekeep.Reload loads it";
  }
  std::string line = "config: " + state.config_source;
  if (!state.reload_failure.empty()) {
    line += "; the last reload failed (" + state.reload_failure + "): the running settings are from the last good load";
  }
  if (!state.started && !state.start_stopped.empty()) {
    line += "; start-up stopped part-way (" + state.start_stopped + "): Cradlekeep.Reload completes it";
  }
  return line;
}

// The settings in force: none while the plugin waits for a loadable file.
std::string SettingsInForceLine() {
  if (!state::Current().started && !state::Current().start_failure.empty()) return "settings: none in force";
  return SettingsLine();
}

// What start-up found of the game build's keys.
std::string GameKeysText(const state::GameBuildSummary& build) {
  if (!build.checked) {
    std::string line = "game build: not checked (" + build.why + ")";
    // Members the framework refused since: what is off now.
    if (!build.missing.empty()) {
      line += "; missing since start-up: " + Joined(build.missing, ", ") + "; turned off: " +
              host::DescribeParts(host::PartSet::All().Minus(state::Current().parts_on));
    }
    return line;
  }
  const std::size_t keys = host::GameKeyTable().size();
  std::string line = "game build: ";
  if (build.missing.empty()) {
    line += "all " + std::to_string(keys) + " game keys present";
  } else {
    line += std::to_string(build.missing.size()) + " of " + std::to_string(keys) + " game keys missing (" +
            Joined(build.missing, ", ") + "); turned off: " +
            host::DescribeParts(host::PartSet::All().Minus(state::Current().parts_on));
  }
  if (!build.renamed.empty()) {
    line += "; " + std::to_string(build.renamed.size()) + " under another name (" + Joined(build.renamed, ", ") + ")";
  }
  return line;
}

std::string GameBuildLine() {
  const state::GameBuildSummary& build = state::Current().build;
  std::string line = GameKeysText(build);
  std::vector<std::string> off;
  for (const auto& [part, why] : build.turned_off) off.push_back(std::string(host::PartName(part)) + " (" + why + ")");
  if (!off.empty()) line += "; turned off while running: " + Joined(off, ", ");
  return line;
}

// Each configured class: loaded, not needed yet, or failed to load (with
// the path), so that a wrong path shows before a transfer meets it.
std::string ClassesLine() {
  const config::PluginConfig& settings = config::Current();
  config::ClassCache& classes = config::Classes();
  const struct {
    const char* name;
    const FWeakObjectPtr& held;
    const std::string& path;
  } entries[] = {
      {"vanilla cryopod", classes.VanillaCryopodClass, settings.VanillaCryopodBlueprint},
      {"SCS cryopod", classes.ScsCryopodClass, settings.ScsCryopodBlueprint},
      {"SCS capture actor", classes.ScsCaptureActorClass, settings.ScsCaptureActorBlueprint},
      {"cryo cooldown buff", classes.CryoCooldownBuffClass, settings.CryoCooldownBuffBlueprint},
      {"cryo sickness buff", classes.CryoSicknessBuffClass, settings.CryoSicknessBuffBlueprint},
  };
  std::vector<std::string> parts;
  for (const auto& entry : entries) {
    const bool failed =
        std::find(classes.failed_paths.begin(), classes.failed_paths.end(), entry.path) != classes.failed_paths.end();
    // Loaded once (the engine may collect it meanwhile; the next use loads
    // it again): the status asks the game nothing.
    const bool loaded = entry.held.ObjectIndex != 0 || entry.held.ObjectSerialNumber != 0;
    const char* how = loaded ? "loaded" : failed ? "failed to load" : "not yet needed";
    parts.push_back(std::string(entry.name) + " " + how + (failed ? " (" + entry.path + ")" : ""));
  }
  return "classes: " + Joined(parts, ", ");
}

std::string CountersLine() {
  const state::Counters& c = state::Current().counters;
  return "since start-up: captures " + std::to_string(c.captures_done) + " done, " +
         std::to_string(c.captures_failed) + " failed, " + std::to_string(c.refused_by_cooldown) +
         " refused by the cooldown; temporary pods " + std::to_string(c.pods_made) + " made, " +
         std::to_string(c.pods_removed) + " removed; clean-up passes pending " +
         std::to_string(temporary_pods::PendingCleanupPassCount());
}

// The clean-up of temporary pods at work: the recurring scan (off, or its
// interval, its round in progress or when the next is due, and a failed last
// round) and the delayed passes queued.
std::string CleanupLine() {
  return "clean-up: " + temporary_pods::DescribeScan(host::SteadyNowNanoseconds()) + "; delayed passes queued: " +
         std::to_string(temporary_pods::PendingCleanupPassCount());
}

// --- answering ----------------------------------------------------------------

using Command = std::vector<std::string> (*)(FString* line);

std::vector<std::string> Status(FString* /*line*/) { return StatusLines(); }
std::vector<std::string> Reload(FString* /*line*/) { return ReloadSettings(); }
std::vector<std::string> Debug(FString* line) { return {SwitchDebugLogging(line)}; }
std::vector<std::string> Journal(FString* line) { return JournalAnswer(line); }

// Runs a command inside the boundary; a failure is the answer.
std::vector<std::string> Run(Command command, FString* line, const char* name) {
  std::vector<std::string> lines;
  core::Contain([&] { lines = command(line); },
                [&](const char* what) {
                  lines = {std::string("Cradlekeep ") + name + " failed: " + what};
                  log::Error("{}", lines.front());
                });
  return lines;
}

// The answer goes to the log line by line, or only its first line when
// the rest is journal entries the log already holds.
void AnswerConsole(APlayerController* caller, const std::vector<std::string>& lines, bool log_head_only) {
  for (std::size_t i = 0; i < (log_head_only ? std::min<std::size_t>(lines.size(), 1) : lines.size()); ++i) {
    log::Info("{}", lines[i]);
  }
  if (caller == nullptr) return;
  const std::u16string text = host::Utf8ToUtf16(Joined(lines, "\n"));
  host::SendServerMessage(reinterpret_cast<AShooterPlayerController*>(caller), host::OwnModulePath(), text);
}

void AnswerRcon(RCONClientConnection* connection, RCONPacket* packet, const std::vector<std::string>& lines) {
  if (connection == nullptr || packet == nullptr) return;
  host::EngineString text = host::MakeFString(host::Utf8ToUtf16(Joined(lines, "\n")));
  game::kRconSendMessage(connection, packet->Id, 0, text.get());
}

template <Command kCommand>
void OnConsole(APlayerController* caller, FString* line, bool /*from_rcon*/) {
  if (!state::Running()) return;  // left registered after a failed unload
  const std::vector<std::string> lines = Run(kCommand, line, "admin command");
  core::Contain([&] { AnswerConsole(caller, lines, kCommand == &Journal); },
                [](const char* what) { log::Warn("Cradlekeep could not answer the admin: {}", what); });
}

template <Command kCommand>
void OnRcon(RCONClientConnection* connection, RCONPacket* packet, UWorld* /*world*/) {
  if (!state::Running()) return;
  FString* line = packet != nullptr ? &packet->Body : nullptr;
  const std::vector<std::string> lines = Run(kCommand, line, "RCON command");
  core::Contain([&] { AnswerRcon(connection, packet, lines); },
                [](const char* what) { log::Warn("Cradlekeep could not answer the RCON client: {}", what); });
}

void Register(const char* what, void (*add)()) {
  core::Contain(add, [&](const char* failure) { log::Warn("Cradlekeep {} registration failed: {}", what, failure); });
}

// Completes a start that stopped part-way; what the answer's first line
// gains: hooks that did not follow the new settings, or why the start is
// still not complete (also a warn line).
std::string CompleteStart() {
  std::vector<std::string> not_followed;
  if (state::Current().startup.hooks) not_followed = FollowConfiguredHooks();
  std::string failure;
  if (!core::Contain([] { CompleteStartup(); }, [&](const char* what) { failure = what; })) {
    log::Warn("Cradlekeep could not complete its start: {}", failure);
    not_followed.push_back("the start is still not complete (" + failure + ")");
  }
  return not_followed.empty() ? std::string() : "; not followed: " + Joined(not_followed, "; ");
}

}  // namespace

std::vector<std::string> StatusLines() {
  using Line = std::string (*)();
  const std::pair<const char*, Line> lines[] = {
      {"version", [] { return std::string("Cradlekeep ") + kVersion; }},
      {"config", ConfigLine},
      {"settings", SettingsInForceLine},
      {"game build", GameBuildLine},
      {"classes", ClassesLine},
      {"since start-up", CountersLine},
      {"clean-up", CleanupLine},
      {"journal", JournalStatusLine},
      {"hooks", HooksLine},
  };
  // Each line on its own: one that cannot be made says so, the rest stand.
  std::vector<std::string> status;
  for (const auto& entry : lines) {
    std::string line;
    core::Contain([&] { line = entry.second(); },
                  [&](const char* what) { line = std::string(entry.first) + ": could not be read (" + what + ")"; });
    status.push_back(std::move(line));
  }
  return status;
}

std::vector<std::string> ReloadSettings() {
  state::PluginState& state = state::Current();
  config::PluginConfig loaded;
  config::ClassCache classes;
  std::string source;
  std::string failure;
  std::vector<std::string> notes;  // keys the loader does not read
  // A file that went missing keeps what runs: only a start that has no
  // settings in force takes the defaults.
  const bool idle = !state.started && !state.start_failure.empty();
  if (!core::Contain([&] { source = config::LoadConfiguration(loaded, classes, &notes, /*missing_fails=*/!idle); },
                     [&](const char* what) { failure = what; })) {
    const char* stays = idle ? "the plugin stays idle" : "the running settings stay";
    const std::string why = std::string("Cradlekeep reload failed, ") + stays + ": " + failure;
    log::Warn("{}", why);
    if (!idle) state.reload_failure = failure;
    return {why};
  }
  state.reload_failure.clear();
  // The hooks both settings want stay where they are: no transfer meets the
  // plugin without them, and none is installed twice.
  state.settings = std::move(loaded);
  state.classes.Clear();
  state.config_source = source;
  std::vector<std::string> answer{"Cradlekeep reloaded the settings from " + source};
  answer.insert(answer.end(), notes.begin(), notes.end());
  if (state.usable_build && !state.started) {
    // A start that stopped part-way (its settings did not load, or a step
    // failed): the steps still to do now, each once.
    answer.front() += CompleteStart();
    if (state.started) answer.push_back(std::string("Cradlekeep loaded version ") + kVersion);
  } else if (state.usable_build) {
    std::vector<std::string> mended;
    std::vector<std::string> not_followed = FollowConfiguredHooks(&mended);
    for (const std::string& key : mended) answer.push_back("Cradlekeep installed the lost hook on " + key + " again");
    const std::string scan = temporary_pods::FollowAutoRemoveSettings();
    if (!scan.empty()) not_followed.push_back(scan);
    if (!not_followed.empty()) answer.front() += "; not followed: " + Joined(not_followed, "; ");
    if (const std::size_t dropped = temporary_pods::FollowCleanupSettings(); dropped > 0) {
      answer.push_back("Cradlekeep dropped " + std::to_string(dropped) +
                       " queued clean-up pass(es): the settings no longer remove temporary pods");
    }
    if (journal::ApplyFiles()) {
      answer.push_back("Cradlekeep journal: " + journal::FilesStatus());
    }
  }
  answer.push_back(SettingsLine());
  return answer;
}

void RegisterAdminCommands() {
  Register("admin console command", [] {
    host::AddConsoleCommand(u"Cradlekeep.Status", &OnConsole<&Status>);
    host::AddConsoleCommand(u"Cradlekeep.Reload", &OnConsole<&Reload>);
    host::AddConsoleCommand(u"Cradlekeep.Journal", &OnConsole<&Journal>);
  });
  // Without the reply function an RCON command could not answer.
  if (!state::PartOn(host::Part::kRconCommands)) return;
  Register("RCON command", [] {
    host::AddRconCommand(u"Cradlekeep.Status", &OnRcon<&Status>);
    host::AddRconCommand(u"Cradlekeep.Reload", &OnRcon<&Reload>);
    host::AddRconCommand(u"Cradlekeep.Journal", &OnRcon<&Journal>);
    host::AddRconCommand(u"ckpdebug", &OnRcon<&Debug>);
    host::AddRconCommand(u"ckp.debug", &OnRcon<&Debug>);
  });
}

}  // namespace ck::plugin
