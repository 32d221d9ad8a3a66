#include "config/config_loader.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <span>
#include <string>
#include <vector>

#include "config/config_text.h"
#include "config/odd_values.h"
#include "config/plugin_config.h"
#include "config/setting_names.h"
#include "core/boundary.h"
#include "core/log.h"
#include "core/utf8_path.h"
#include "core/text.h"
#include "host/framework/module_path.h"

namespace ck::config {

namespace {

using nlohmann::json;

// The value under `key`, or null when the object lacks it, holds JSON null,
// or is no object at all.
const json* Present(const json& object, const char* key) {
  if (!object.is_object()) return nullptr;
  auto it = object.find(key);
  if (it == object.end() || it->is_null()) return nullptr;
  return &*it;
}

// A JSON value's kind as a setting's error names it.
const char* KindOf(const json& value) {
  switch (value.type()) {
    case json::value_t::boolean: return "a boolean";
    case json::value_t::string: return "a string";
    case json::value_t::array: return "a list";
    case json::value_t::object: return "an object";
    case json::value_t::null: return "null";
    default: return value.is_number() ? "a number" : "something else";
  }
}

// "setting 'CaptureCooldownSeconds' must be a number, got a string".
[[noreturn]] void WrongType(const std::string& setting, const json& value, const char* expected) {
  throw ConfigError("setting '" + setting + "' must be " + expected + ", got " + KindOf(value));
}

void Read(const json& object, const std::string& key, bool& field) {
  if (const json* value = Present(object, key.c_str())) {
    if (!value->is_boolean()) WrongType(key, *value, "true or false");
    field = value->get<bool>();
  }
}

void Read(const json& object, const std::string& key, double& field) {
  if (const json* value = Present(object, key.c_str())) {
    if (!value->is_number()) WrongType(key, *value, "a number");
    field = value->get<double>();
  }
}

void Read(const json& object, const std::string& key, std::string& field, const std::string& shown) {
  if (const json* value = Present(object, key.c_str())) {
    if (!value->is_string()) WrongType(shown, *value, "a string");
    field = value->get<std::string>();
  }
}

void Read(const json& object, const std::string& key, std::string& field) { Read(object, key, field, key); }

void Read(const json& object, const std::string& key, std::vector<std::string>& field) {
  if (const json* value = Present(object, key.c_str())) {
    if (!value->is_array()) WrongType(key, *value, "a list of strings");
    std::vector<std::string> list;
    for (const json& entry : *value) {
      if (!entry.is_string()) {
        throw ConfigError("setting '" + key + "' must be a list of strings, got " + KindOf(entry) + " in the list");
      }
      list.push_back(entry.get<std::string>());
    }
    field = std::move(list);
  }
}

// A warn line, also handed to the caller's notes when it keeps them.
void Note(std::vector<std::string>* notes, const std::string& line) {
  log::Warn("{}", line);
  if (notes != nullptr) notes->push_back(line);
}

// One warn line for each key of `object` the loader does not read, naming
// the setting it most likely meant. `prefix` is "Messages." inside Messages.
void NoteUnknownKeys(const json& object, std::span<const char* const> known, const std::string& prefix,
                     std::vector<std::string>* notes) {
  for (const auto& item : object.items()) {
    // A named copy, not a structured binding: clang 14 (the fuzz build)
    // cannot capture one in a lambda.
    const std::string& key = item.key();
    if (std::find_if(known.begin(), known.end(), [&](const char* name) { return key == name; }) != known.end()) {
      continue;
    }
    std::string nearest = NearestSettingName(key, known);
    // A message text written at the root instead of inside Messages.
    if (nearest.empty() && prefix.empty()) {
      nearest = NearestSettingName(key, kMessageSettingNames);
      if (!nearest.empty()) nearest = "Messages." + nearest;
    } else if (!nearest.empty()) {
      nearest = prefix + nearest;
    }
    std::string line = "Cradlekeep config ignores unknown setting `" + prefix + key + "`";
    if (!nearest.empty()) line += " (did you mean `" + nearest + "`?)";
    Note(notes, line);
  }
}

void NoteUnknownKeys(const json& root, std::vector<std::string>* notes) {
  if (!root.is_object()) return;
  NoteUnknownKeys(root, kRootSettingNames, "", notes);
  auto messages = root.find("Messages");
  if (messages != root.end() && messages->is_object()) NoteUnknownKeys(*messages, kMessageSettingNames, "Messages.", notes);
}

// "line L, column C" of the parser's message, when it names one: whether it
// lies before the comma.
bool ErrorBefore(const std::string& what, const TrailingComma& comma) {
  int line = 0;
  int column = 0;
  if (std::sscanf(what.c_str(), "%*[^l]line %d, column %d", &line, &column) != 2) return false;
  return line < comma.line || (line == comma.line && column < comma.column);
}

// The file's text as one JSON value, comments allowed. A parse error throws
// the parser's exception, or ConfigError in words for the two slips it
// describes worst: a comma before a closing bracket, and a byte UTF-8 does
// not allow.
json Parse(const std::string& text) {
  json root;
  std::exception_ptr failure;
  if (core::Attempt([&] { root = json::parse(text, nullptr, /*allow_exceptions=*/true, /*ignore_comments=*/true); },
                    failure)) {
    return root;
  }
  const std::string what = core::FailureText(failure);
  if (const auto comma = FindTrailingComma(text); comma && !ErrorBefore(what, *comma)) {
    throw ConfigError("the config file has a comma before the closing '" + std::string(1, comma->closing) +
                      "' at line " + std::to_string(comma->line) + ", column " + std::to_string(comma->column) +
                      (comma->closing == '}' ? ": JSON allows no comma after the last setting of an object"
                                             : ": JSON allows no comma after the last entry of a list") +
                      "; remove it");
  }
  if (const std::size_t at = what.find("at line "); what.find("ill-formed UTF-8 byte") != std::string::npos &&
                                                    at != std::string::npos) {
    throw ConfigError("the config file is not UTF-8 text: a byte UTF-8 does not allow " +
                      what.substr(at, what.find(':', at) - at) + "; save the file as UTF-8");
  }
  std::rethrow_exception(failure);
}

// The paths a load looks for the file at, as a warn line names them: the
// working directory's, and the one beside the plugin when that is another.
std::string PathsTried(const std::filesystem::path& plugin_folder) {
  std::string tried = kConfigPath;
  if (plugin_folder.empty()) return tried;
  const std::filesystem::path beside = (plugin_folder / "config.json").lexically_normal();
  std::error_code error;
  const std::filesystem::path here = std::filesystem::absolute(kConfigPath, error).lexically_normal();
  if (error || here != beside) {
    tried += " or " + core::Utf8FromPath(beside);
  }
  return tried;
}

void ReadAll(const json& root, PluginConfig& c) {
  Read(root, "Enabled", c.Enabled);
  Read(root, "DebugLogging", c.DebugLogging);
  Read(root, "CaptureCooldownSeconds", c.CaptureCooldownSeconds);
  Read(root, "ClearShoulderMountAfterCapture", c.ClearShoulderMountAfterCapture);
  Read(root, "CaptureOnTransferButton", c.CaptureOnTransferButton);
  Read(root, "ItemsPlusCompatibility", c.ItemsPlusCompatibility);
  Read(root, "TemporaryVanillaCryopods", c.TemporaryVanillaCryopods);
  Read(root, "AutoRemoveTemporaryVanillaCryopods", c.AutoRemoveTemporaryVanillaCryopods);
  Read(root, "TemporaryVanillaCryopodCleanupIntervalSeconds", c.TemporaryVanillaCryopodCleanupIntervalSeconds);
  Read(root, "ClearCryoSicknessFromTemporaryVanillaCryopods", c.ClearCryoSicknessFromTemporaryVanillaCryopods);
  Read(root, "CaptureMode", c.CaptureMode);
  Read(root, "ScsCryopodBlueprint", c.ScsCryopodBlueprint);
  Read(root, "ScsCaptureActorBlueprint", c.ScsCaptureActorBlueprint);
  Read(root, "VanillaCryopodBlueprint", c.VanillaCryopodBlueprint);
  Read(root, "CryoCooldownBuffBlueprint", c.CryoCooldownBuffBlueprint);
  Read(root, "CryoSicknessBuffBlueprint", c.CryoSicknessBuffBlueprint);
  Read(root, "ItemsPlusTransferNetExecCommand", c.ItemsPlusTransferNetExecCommand);
  Read(root, "ItemsPlusActorNameContains", c.ItemsPlusActorNameContains);
  Read(root, "JournalFolder", c.JournalFolder);
  Read(root, "JournalServerName", c.JournalServerName);
  Read(root, "JournalFileKilobytes", c.JournalFileKilobytes);
  Read(root, "JournalFilesKept", c.JournalFilesKept);
  if (root.is_object()) {
    auto messages = root.find("Messages");
    if (messages != root.end() && messages->is_object()) {
      Read(*messages, "Captured", c.Messages.Captured, "Messages.Captured");
      Read(*messages, "NoShoulderPet", c.Messages.NoShoulderPet, "Messages.NoShoulderPet");
      Read(*messages, "CaptureFailed", c.Messages.CaptureFailed, "Messages.CaptureFailed");
    }
  }
}

}  // namespace

std::string LoadConfiguration(PluginConfig& live, ClassCache& classes, std::vector<std::string>* notes,
                              bool missing_fails) {
  return LoadConfiguration(live, classes, host::InstalledPluginFolder(host::OwnModulePath()), notes, missing_fails);
}

std::string LoadConfiguration(PluginConfig& live, ClassCache& classes, const std::filesystem::path& plugin_folder,
                              std::vector<std::string>* notes, bool missing_fails) {
  PluginConfig loaded;

  std::string source = kConfigPath;
  std::string beside;  // the file read beside the plugin, when that one was read
  std::ifstream file(kConfigPath, std::ios::binary);
  if (!file.is_open() && !plugin_folder.empty()) {
    const std::filesystem::path other = plugin_folder / "config.json";
    file.open(other, std::ios::binary);
    if (file.is_open()) {
      beside = core::Utf8FromPath(other);
      source = beside + " (beside the plugin)";
    }
  }
  classes.Clear();
  if (!file.is_open()) {
    const std::string tried = PathsTried(plugin_folder);
    if (missing_fails) throw ConfigError("config not found at " + tried);
    log::Warn("Cradlekeep config not found at {}; using defaults", tried);
    source = "defaults (no file at " + tried + ")";
  } else {
    std::string encoding;
    const std::string text =
        DecodeConfigText(std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()), encoding);
    if (!encoding.empty()) {
      log::Info("Cradlekeep config is {} text (as Notepad saves \"Unicode\"); read as {}", encoding, encoding);
    }
    const json root = Parse(text);
    NoteUnknownKeys(root, notes);
    ReadAll(root, loaded);
    for (const std::string& line : OddValues(root, loaded)) Note(notes, line);
  }

  live = std::move(loaded);
  const std::string from = beside.empty() ? std::string() : " (beside the plugin: " + beside + ")";
  if (live.DebugLogging) {
    log::Info(
        "Cradlekeep config loaded{} enabled={} captureMode={} captureOnTransferButton={} itemsPlusCompatibility={} "
        "temporaryVanillaCryopods={} autoRemoveTemporaryVanillaCryopods={} "
        "temporaryVanillaCryopodCleanupIntervalSeconds={} clearCryoSicknessFromTemporaryVanillaCryopods={} "
        "debugLogging={}",
        from, live.Enabled, IsVanillaCaptureMode(live) ? "Cryo" : "SCS", live.CaptureOnTransferButton,
        live.ItemsPlusCompatibility, live.TemporaryVanillaCryopods, live.AutoRemoveTemporaryVanillaCryopods,
        live.TemporaryVanillaCryopodCleanupIntervalSeconds, live.ClearCryoSicknessFromTemporaryVanillaCryopods,
        live.DebugLogging);
  } else {
    log::Info("Cradlekeep config loaded{}", from);
  }
  return source;
}

std::filesystem::path ConfigFolder() {
  std::error_code error;
  const std::filesystem::path here(kConfigPath);
  if (std::filesystem::exists(here, error)) return here.parent_path();
  const std::filesystem::path plugin_folder = host::InstalledPluginFolder(host::OwnModulePath());
  if (!plugin_folder.empty() && std::filesystem::exists(plugin_folder / "config.json", error)) return plugin_folder;
  return here.parent_path();
}

}  // namespace ck::config
