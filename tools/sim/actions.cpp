#include "tools/sim/actions.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <optional>

#include "sim/framework/faults.h"
#include "sim/framework/framework.h"
#include "tools/sim/scenario_values.h"

namespace simtool {

using nlohmann::json;

namespace {

// Checks shared by several actions.

// `{"upload": "ava"}`: the value names a player.
void ValidatePlayer(const Scenario& s, const json& v, const std::string& where) { Player(s, v, where); }

void ValidateText(const Scenario& s, const json& v, const std::string& where) { Text(s, v, where); }

// `{"player": P, "<flag>": true}`, the flag optional.
void ValidatePlayerAndFlag(const Scenario& s, const json& v, const std::string& where, const char* flag) {
  Object(s, v, where, {"player", flag});
  Player(s, Need(s, v, "player", where), where + ".player");
  if (v.contains(flag)) Bool(s, v[flag], where + "." + flag);
}

void ValidateAccept(const Scenario& s, const json& v, const std::string& where) {
  ValidatePlayerAndFlag(s, v, where, "accept");
}

void ValidateViewing(const Scenario& s, const json& v, const std::string& where) {
  ValidatePlayerAndFlag(s, v, where, "viewing");
}

void ValidateValue(const Scenario& s, const json& v, const std::string& where) {
  ValidatePlayerAndFlag(s, v, where, "value");
}

// The value's "slot", which must be one of `slots`, spelled out in `choices`.
void ValidateSlot(const Scenario& s, const json& v, const std::string& where,
                  std::initializer_list<std::string_view> slots, const char* choices) {
  const std::string slot = Text(s, Need(s, v, "slot", where), where + ".slot");
  if (std::find(slots.begin(), slots.end(), slot) == slots.end()) {
    Fail(s, where + ".slot", std::string("must be ") + choices);
  }
}

// The actions' own checks.

void ValidateNetExec(const Scenario& s, const json& v, const std::string& where) {
  Object(s, v, where, {"player", "command", "actor"});
  Player(s, Need(s, v, "player", where), where + ".player");
  Text(s, Need(s, v, "command", where), where + ".command");
  if (v.contains("actor") && !v["actor"].is_null()) Text(s, v["actor"], where + ".actor");
}

void ValidateClearSlot(const Scenario& s, const json& v, const std::string& where) {
  Object(s, v, where, {"player", "slot"});
  Player(s, Need(s, v, "player", where), where + ".player");
  ValidateSlot(s, v, where, {"mounted", "secondary", "carried"}, "mounted, secondary or carried");
}

void ValidateAttach(const Scenario& s, const json& v, const std::string& where) {
  Object(s, v, where, {"player", "slot", "creature"});
  Player(s, Need(s, v, "player", where), where + ".player");
  ValidateSlot(s, v, where, {"riding", "mounted", "secondary", "carried"}, "riding, mounted, secondary or carried");
  CreatureId(s, Need(s, v, "creature", where), where + ".creature");
}

void ValidateUseItem(const Scenario& s, const json& v, const std::string& where) {
  Object(s, v, where, {"player", "podOf", "item", "withActor", "releaseFails", "gameMode", "from"});
  Player(s, Need(s, v, "player", where), where + ".player");
  if (v.contains("from")) Player(s, v["from"], where + ".from");
  if (v.contains("podOf") == v.contains("item")) Fail(s, where, "needs either 'podOf' or 'item'");
  if (v.contains("podOf")) CreatureId(s, v["podOf"], where + ".podOf");
  if (v.contains("item")) Text(s, v["item"], where + ".item");
  if (v.contains("withActor")) Bool(s, v["withActor"], where + ".withActor");
  if (v.contains("releaseFails")) Bool(s, v["releaseFails"], where + ".releaseFails");
  if (v.contains("gameMode")) {
    const std::string game_mode = Text(s, v["gameMode"], where + ".gameMode");
    if (game_mode != "current" && game_mode != "replaced") Fail(s, where + ".gameMode", "must be current or replaced");
  }
}

void ValidateSeconds(const Scenario& s, const json& v, const std::string& where) {
  if (!v.is_number() || v.get<double>() < 0 || v.get<double>() > 1e7) {
    Fail(s, where, "must be a number of seconds from 0 to 10000000");
  }
}

// {"path": "<a relative path below the working folder>", "text": "..."}.
void ValidateWriteFile(const Scenario& s, const json& v, const std::string& where) {
  Object(s, v, where, {"path", "text"});
  const std::string path = Text(s, Need(s, v, "path", where), where + ".path");
  Text(s, Need(s, v, "text", where), where + ".text");
  const std::filesystem::path p(std::u8string(path.begin(), path.end()));
  const bool climbs = std::any_of(p.begin(), p.end(), [](const std::filesystem::path& part) { return part == ".."; });
  if (path.empty() || p.is_absolute() || p.has_root_name() || p.has_root_directory() || climbs) {
    Fail(s, where + ".path", "must be a relative path that stays below the working folder");
  }
}

// Writes the file as another program would: its folders made, its text as
// given (no line end added).
void PlayWriteFile(Stage& /*stage*/, const json& v) {
  const std::string path = v["path"].get<std::string>();
  const std::filesystem::path p(std::u8string(path.begin(), path.end()));
  if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << v["text"].get<std::string>();
}

void ValidateConfigObject(const Scenario& s, const json& v, const std::string& where) {
  if (!v.is_object()) Fail(s, where, "must be an object");
}

// "line" (the server console) or {"line": "...", "player": P} (P as admin).
void ValidateConsole(const Scenario& s, const json& v, const std::string& where) {
  if (v.is_string()) return;
  Object(s, v, where, {"line", "player"});
  Text(s, Need(s, v, "line", where), where + ".line");
  if (v.contains("player")) Player(s, v["player"], where + ".player");
}

// "command" (an authenticated client) or {"command": "...", "authenticated": true}.
void ValidateRcon(const Scenario& s, const json& v, const std::string& where) {
  if (v.is_string()) return;
  Object(s, v, where, {"command", "authenticated"});
  Text(s, Need(s, v, "command", where), where + ".command");
  if (v.contains("authenticated")) Bool(s, v["authenticated"], where + ".authenticated");
}

void ValidateFault(const Scenario& s, const json& v, const std::string& where) {
  Object(s, v, where, {"key", "mode", "at", "repeat", "target"});
  Text(s, Need(s, v, "key", where), where + ".key");
  if (v.contains("mode")) {
    const std::string mode = Text(s, v["mode"], where + ".mode");
    if (mode != "throw" && mode != "throwUnknown" && mode != "fail") {
      Fail(s, where + ".mode", "must be throw, throwUnknown or fail");
    }
  }
  if (v.contains("at") && (Int(s, v["at"], where + ".at") < 1)) Fail(s, where + ".at", "must be 1 or more");
  if (v.contains("repeat")) Bool(s, v["repeat"], where + ".repeat");
  if (v.contains("target")) Text(s, v["target"], where + ".target");
}

// The key names a framework operation or a game function the world registered.
void ValidateFaultKey(const Scenario& s, const json& v, const std::string& where) {
  static constexpr std::string_view kOperations[] = {
      "IHooks.SetHook",           "IHooks.DisableHook",         "IHooks.Reattach",            "ICommands.AddConsoleCommand",
      "ICommands.RemoveConsoleCommand", "ICommands.AddOnTickCallback", "ICommands.RemoveOnTickCallback",
      "ICommands.AddRconCommand", "ICommands.RemoveRconCommand", "ICommands.RemoveAllCommandsFromModule"};
  const std::string key = v.at("key").get<std::string>();
  const bool operation = std::find(std::begin(kOperations), std::end(kOperations), key) != std::end(kOperations);
  if (!operation && !simfw::Fw().registry.Knows(key)) {
    Fail(s, where + ".key", "no game function or framework operation '" + key + "'");
  }
}

// {"name": "shop", "hooks": ["<key>", ...], "behaviour": "passThrough" | "block"}
void ValidateOtherPlugin(const Scenario& s, const json& v, const std::string& where) {
  Object(s, v, where, {"name", "hooks", "behaviour"});
  if (Text(s, Need(s, v, "name", where), where + ".name").empty()) Fail(s, where + ".name", "must not be empty");
  const json& hooks = Need(s, v, "hooks", where);
  if (!hooks.is_array() || hooks.empty()) Fail(s, where + ".hooks", "must be a non-empty list of hook keys");
  for (std::size_t i = 0; i < hooks.size(); ++i) Text(s, hooks[i], where + ".hooks[" + std::to_string(i) + "]");
  if (v.contains("behaviour")) {
    const std::string behaviour = Text(s, v["behaviour"], where + ".behaviour");
    if (behaviour != "passThrough" && behaviour != "block") Fail(s, where + ".behaviour", "must be passThrough or block");
  }
}

// Each key names a hookable game function of the built world.
void ValidateOtherPluginHooks(const Scenario& s, const json& v, const std::string& where) {
  const json& hooks = v.at("hooks");
  for (std::size_t i = 0; i < hooks.size(); ++i) {
    const std::string key = hooks[i].get<std::string>();
    if (simfw::Fw().registry.Hookable(key) == nullptr) {
      Fail(s, where + ".hooks[" + std::to_string(i) + "]", "no hookable game function '" + key + "'");
    }
  }
}

void PlayOtherPlugin(Stage& stage, const json& v) {
  const std::string name = v.at("name").get<std::string>();
  const bool blocks = v.value("behaviour", std::string("passThrough")) == "block";
  stage.Say("[game] the framework loads the plugin " + name + (blocks ? ", which blocks" : ", which passes on") +
            " the calls it hooks");
  stage.Others().Load(name, v.at("hooks").get<std::vector<std::string>>(), blocks);
}

void PlayUnloadOtherPlugin(Stage& stage, const json& v) {
  const std::string name = v.get<std::string>();
  stage.Say("[game] the framework unloads the plugin " + name);
  stage.Others().Unload(name);
}

// Playing.

sim::Player& PlayerIn(Stage& stage, const json& id) { return *stage.World().FindPlayer(id.get<std::string>()); }

void PlayNetExec(Stage& stage, const json& v) {
  std::optional<std::string> actor;
  if (v.contains("actor") && !v["actor"].is_null()) actor = v["actor"].get<std::string>();
  stage.World().NetExec(PlayerIn(stage, v.at("player")), v.at("command").get<std::string>(), actor);
}

void PlayExternalCapture(Stage& stage, const json& v) {
  const bool result = stage.CaptureForTransfer(PlayerIn(stage, v));
  stage.Say(std::string("[sim] Cradlekeep_CaptureForTransfer returned ") + (result ? "true" : "false"));
}

void PlayAttach(Stage& stage, const json& v) {
  sim::Game& game = stage.World();
  game.Attach(PlayerIn(stage, v.at("player")), v.at("slot").get<std::string>(),
              *game.FindCreature(v.at("creature").get<std::string>()));
}

void PlayUseItem(Stage& stage, const json& v) {
  sim::Game& game = stage.World();
  sim::Player& player = PlayerIn(stage, v.at("player"));
  // The item may lie in another player's inventory, which the request then names.
  sim::Player& holder = v.contains("from") ? PlayerIn(stage, v.at("from")) : player;
  sim::Item* item = game.FindPlayerItem(holder, v.value("item", std::string()), v.value("podOf", std::string()));
  game.UseItem(player, item, v.value("withActor", false), v.value("releaseFails", false),
               v.value("gameMode", std::string("current")) == "replaced", holder.inventory);
}

void PlayConsole(Stage& stage, const json& v) {
  if (v.is_string()) {
    stage.World().TypeConsoleLine(v.get<std::string>(), nullptr);
    return;
  }
  stage.World().TypeConsoleLine(v.at("line").get<std::string>(),
                                v.contains("player") ? &PlayerIn(stage, v["player"]) : nullptr);
}

// An RCON client sends the line; what it is answered goes to the report.
void PlayRcon(Stage& stage, const json& v) {
  if (v.is_string()) {
    stage.World().ReceiveRconPacket(v.get<std::string>(), true);
    return;
  }
  stage.World().ReceiveRconPacket(v.at("command").get<std::string>(), v.value("authenticated", true));
}

// A garbage collection of the classes loaded by path that nothing uses.
void PlayCollectClasses(Stage& stage, const json& v) {
  if (!v.get<bool>()) return;
  sim::Game& game = stage.World();
  const std::vector<std::string> collected = game.CollectClasses();
  if (collected.empty()) game.Event("the engine collects no class: every class loaded by path is in use");
  for (const std::string& name : collected) game.Event("the engine collects class " + name + ", which nothing uses");
}

void PlayFault(Stage&, const json& v) {
  simfw::FaultSpec spec;
  spec.key = v.at("key").get<std::string>();
  if (v.contains("target")) spec.target = v["target"].get<std::string>();
  const std::string mode = v.value("mode", std::string("throw"));
  spec.mode = mode == "fail"           ? simfw::FaultMode::kFail
              : mode == "throwUnknown" ? simfw::FaultMode::kThrowUnknown
                                       : simfw::FaultMode::kThrow;
  spec.at = v.value("at", 1);
  spec.repeat = v.value("repeat", false);
  simfw::Fw().faults.Arm(spec);
}

// Every action, in the order the scenario contract lists them.
const Action kActions[] = {
    {"transferButton", ValidatePlayer, nullptr,
     [](Stage& stage, const json& v) { stage.World().TransferButton(PlayerIn(stage, v)); }},
    {"dialogResult", ValidateAccept, nullptr,
     [](Stage& stage, const json& v) {
       stage.World().DialogResult(PlayerIn(stage, v.at("player")), v.value("accept", true));
     }},
    {"confirmTransfer", ValidateAccept, nullptr,
     [](Stage& stage, const json& v) {
       stage.World().ConfirmTransfer(PlayerIn(stage, v.at("player")), v.value("accept", true));
     }},
    {"upload", ValidatePlayer, nullptr, [](Stage& stage, const json& v) { stage.World().Upload(PlayerIn(stage, v)); }},
    {"forceUpload", ValidatePlayer, nullptr,
     [](Stage& stage, const json& v) { stage.World().ForceUpload(PlayerIn(stage, v)); }},
    {"dropNotReady", ValidatePlayer, nullptr,
     [](Stage& stage, const json& v) { stage.World().DropNotReady(PlayerIn(stage, v)); }},
    {"netExec", ValidateNetExec, nullptr, PlayNetExec},
    {"externalCapture", ValidatePlayer, nullptr, PlayExternalCapture},
    {"clearSlot", ValidateClearSlot, nullptr,
     [](Stage& stage, const json& v) {
       stage.World().ClearSlot(PlayerIn(stage, v.at("player")), v.at("slot").get<std::string>());
     }},
    {"attach", ValidateAttach, nullptr, PlayAttach},
    {"uploadTerminal", ValidateViewing, nullptr,
     [](Stage& stage, const json& v) {
       stage.World().SetUploadTerminal(PlayerIn(stage, v.at("player")), v.value("viewing", true));
     }},
    {"setTransferring", ValidateValue, nullptr,
     [](Stage& stage, const json& v) {
       stage.World().SetTransferring(PlayerIn(stage, v.at("player")), v.value("value", true));
     }},
    {"useItem", ValidateUseItem, nullptr, PlayUseItem},
    {"download", ValidatePlayer, nullptr,
     [](Stage& stage, const json& v) { stage.World().Download(PlayerIn(stage, v)); }},
    {"leave", ValidatePlayer, nullptr, [](Stage& stage, const json& v) { stage.World().Leave(PlayerIn(stage, v)); }},
    {"advance", ValidateSeconds, nullptr, [](Stage& stage, const json& v) { stage.World().Advance(v.get<double>()); }},
    {"console", ValidateConsole, nullptr, PlayConsole},
    {"rcon", ValidateRcon, nullptr, PlayRcon},
    {"unloadPlugin", ValidateBool, nullptr,
     [](Stage& stage, const json& v) {
       if (v.get<bool>()) stage.UnloadPlugin();
     }},
    {"loadPlugin", ValidateBool, nullptr,
     [](Stage& stage, const json& v) {
       if (v.get<bool>()) stage.LoadPlugin();
     }},
    {"automaticReload", ValidateBool, nullptr,
     [](Stage& stage, const json& v) {
       if (v.get<bool>()) stage.ReloadAutomatically();
     }},
    {"shutdown", ValidateBool, nullptr,
     [](Stage& stage, const json& v) {
       if (v.get<bool>()) stage.ShutDown();
     }},
    {"collectClasses", ValidateBool, nullptr, PlayCollectClasses},
    {"replaceGameMode", ValidateBool, nullptr,
     [](Stage& stage, const json& v) {
       if (v.get<bool>()) stage.World().ReplaceGameMode();
     }},
    {"writeConfig", ValidateConfigObject, nullptr, [](Stage& stage, const json& v) { stage.WriteConfig(v.dump(2)); }},
    {"writeConfigText", ValidateText, nullptr,
     [](Stage& stage, const json& v) { stage.WriteConfig(v.get<std::string>()); }},
    {"removeConfig", ValidateBool, nullptr,
     [](Stage& stage, const json& v) {
       if (v.get<bool>()) stage.RemoveConfig();
     }},
    {"writeFile", ValidateWriteFile, nullptr, PlayWriteFile},
    {"fault", ValidateFault, ValidateFaultKey, PlayFault},
    {"otherPlugin", ValidateOtherPlugin, ValidateOtherPluginHooks, PlayOtherPlugin},
    {"unloadOtherPlugin", ValidateText, nullptr, PlayUnloadOtherPlugin},
};

}  // namespace

const Action* FindAction(std::string_view name) {
  const auto found =
      std::find_if(std::begin(kActions), std::end(kActions), [&](const Action& a) { return a.name == name; });
  return found == std::end(kActions) ? nullptr : found;
}

}  // namespace simtool
