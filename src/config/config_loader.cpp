#include "config/config_loader.h"

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "config/plugin_config.h"
#include "core/log.h"
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

std::string LoadConfiguration(PluginConfig& live, ClassCache& classes) {
  return LoadConfiguration(live, classes, host::InstalledPluginFolder(host::OwnModulePath()));
}

std::string LoadConfiguration(PluginConfig& live, ClassCache& classes, const std::filesystem::path& plugin_folder) {
  PluginConfig loaded;
  classes.Clear();

  std::string source = kConfigPath;
  std::string beside;  // the file read beside the plugin, when that one was read
  std::ifstream file(kConfigPath, std::ios::binary);
  if (!file.is_open() && !plugin_folder.empty()) {
    const std::filesystem::path other = plugin_folder / "config.json";
    file.open(other, std::ios::binary);
    if (file.is_open()) {
      const std::u8string text = other.generic_u8string();
      beside.assign(text.begin(), text.end());
      source = beside + " (beside the plugin)";
    }
  }
  if (!file.is_open()) {
    log::Warn("Cradlekeep config not found at {}; using defaults", kConfigPath);
    source = std::string("defaults (no file at ") + kConfigPath + ")";
  } else {
    const json root = json::parse(file, nullptr, /*allow_exceptions=*/true, /*ignore_comments=*/true);
    ReadAll(root, loaded);
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

}  // namespace ck::config
