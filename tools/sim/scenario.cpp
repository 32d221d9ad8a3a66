#include "tools/sim/scenario.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "sim/framework/engine_text.h"
#include "sim/game/game_builds.h"
#include "tools/sim/actions.h"
#include "tools/sim/expectations.h"
#include "tools/sim/scenario_values.h"

namespace simtool {

using nlohmann::json;

namespace {

// The server's switches that take a plain true or false.
void ParseServerFlags(Scenario& s, const json& server, const std::string& where) {
  if (server.contains("forcedAddIgnoresLimit")) {
    s.server.forced_add_ignores_limit = Bool(s, server["forcedAddIgnoresLimit"], where + ".forcedAddIgnoresLimit");
  }
  if (server.contains("newItemsIgnoreRemoval")) {
    s.server.new_items_ignore_removal = Bool(s, server["newItemsIgnoreRemoval"], where + ".newItemsIgnoreRemoval");
  }
  if (server.contains("reuseControllerMemory")) {
    s.server.reuse_controller_memory = Bool(s, server["reuseControllerMemory"], where + ".reuseControllerMemory");
  }
}

void ParseServer(Scenario& s, const json& server) {
  const std::string where = "server";
  Object(s, server, where,
         {"tickRate", "clearSlotsOnConfirm", "uncryo", "broadcastsPerTick", "forcedAddIgnoresLimit", "missingKeys",
          "offsetsCache", "hooksDoNotThrow", "fieldOffsets", "gameBuild", "reuseControllerMemory",
          "newItemsIgnoreRemoval"});
  if (server.contains("tickRate")) {
    s.server.tick_rate = Int(s, server["tickRate"], where + ".tickRate");
    if (s.server.tick_rate <= 0 || s.server.tick_rate > 1000) Fail(s, where + ".tickRate", "must be from 1 to 1000");
  }
  if (server.contains("clearSlotsOnConfirm")) {
    s.server.clear_slots_on_confirm = Bool(s, server["clearSlotsOnConfirm"], where + ".clearSlotsOnConfirm");
  }
  if (server.contains("uncryo")) {
    s.server.uncryo = Text(s, server["uncryo"], where + ".uncryo");
    if (s.server.uncryo != "emptyInPlace" && s.server.uncryo != "replaceItem" && s.server.uncryo != "emptyLater") {
      Fail(s, where + ".uncryo", "must be emptyInPlace, replaceItem or emptyLater");
    }
  }
  if (server.contains("broadcastsPerTick")) {
    s.server.broadcasts_per_tick = Int(s, server["broadcastsPerTick"], where + ".broadcastsPerTick");
    if (s.server.broadcasts_per_tick < 0) Fail(s, where + ".broadcastsPerTick", "must be 0 or more");
  }
  if (server.contains("missingKeys")) s.server.missing_keys = Texts(s, server["missingKeys"], where + ".missingKeys");
  if (server.contains("offsetsCache")) {
    s.server.offsets_cache = Text(s, server["offsetsCache"], where + ".offsetsCache");
    if (s.server.offsets_cache != "present" && s.server.offsets_cache != "absent" &&
        s.server.offsets_cache != "corrupt") {
      Fail(s, where + ".offsetsCache", "must be \"present\", \"absent\" or \"corrupt\"");
    }
  }
  if (server.contains("hooksDoNotThrow")) {
    s.server.hooks_do_not_throw = Bool(s, server["hooksDoNotThrow"], where + ".hooksDoNotThrow");
  }
  if (server.contains("fieldOffsets")) {
    const json& offsets = server["fieldOffsets"];
    if (!offsets.is_object()) Fail(s, where + ".fieldOffsets", "must be an object of field keys and offsets");
    for (const auto& [key, offset] : offsets.items()) {
      const int value = Int(s, offset, where + ".fieldOffsets." + key);
      if (value < 0) Fail(s, where + ".fieldOffsets." + key, "must be 0 or more");
      s.server.field_offsets[key] = value;
    }
  }
  if (server.contains("gameBuild")) {
    s.server.game_build = Text(s, server["gameBuild"], where + ".gameBuild");
    try {
      sim::GameBuildNamed(s.server.game_build);
    } catch (const std::invalid_argument& e) {
      Fail(s, where + ".gameBuild", e.what());
    }
  }
  ParseServerFlags(s, server, where);
}

void ParseMods(Scenario& s, const json& mods) {
  const std::string where = "mods";
  Object(s, mods, where, {"cryopodMod", "captureActors", "captureDinoParmsSize"});
  if (mods.contains("cryopodMod")) s.mods.cryopod_mod = Bool(s, mods["cryopodMod"], where + ".cryopodMod");
  if (mods.contains("captureActors")) {
    s.mods.capture_actors = Int(s, mods["captureActors"], where + ".captureActors");
    if (s.mods.capture_actors < 0) Fail(s, where + ".captureActors", "must be 0 or more");
  }
  if (mods.contains("captureDinoParmsSize")) {
    s.mods.capture_dino_parms_size = Int(s, mods["captureDinoParmsSize"], where + ".captureDinoParmsSize");
    if (s.mods.capture_dino_parms_size <= 0 || s.mods.capture_dino_parms_size > 65535) {
      Fail(s, where + ".captureDinoParmsSize", "must be from 1 to 65535");
    }
  }
}

void ParseCreature(Scenario& s, const json& c, const std::string& where) {
  Object(s, c, where, {"id", "class", "name", "descriptiveName", "team", "at", "buffs", "cryoSickness", "dinoId"});
  sim::CreatureSpec spec;
  spec.id = Text(s, Need(s, c, "id", where), where + ".id");
  if (c.contains("class")) spec.class_name = Text(s, c["class"], where + ".class");
  if (c.contains("name")) spec.name = Text(s, c["name"], where + ".name");
  if (c.contains("descriptiveName")) spec.descriptive_name = Text(s, c["descriptiveName"], where + ".descriptiveName");
  if (c.contains("team")) spec.team = Int(s, c["team"], where + ".team");
  if (c.contains("at")) spec.at = Vector(s, c["at"], where + ".at");
  if (c.contains("buffs")) spec.buffs = Texts(s, c["buffs"], where + ".buffs");
  if (c.contains("cryoSickness")) spec.cryo_sickness = Bool(s, c["cryoSickness"], where + ".cryoSickness");
  if (c.contains("dinoId")) spec.dino_id = DinoIdPair(s, c["dinoId"], where + ".dinoId");
  s.creatures.push_back(spec);
}

// A player's inventory entries, in order, into `spec`.
void ParseInventory(Scenario& s, const json& list, const std::string& where, sim::PlayerSpec& spec) {
  if (!list.is_array()) Fail(s, where, "must be a list");
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string item_where = where + "[" + std::to_string(i) + "]";
    const json& entry = list[i];
    Object(s, entry, item_where,
           {"id", "class", "readyForUpload", "cryopodOf", "temporaryPod", "sameIdAs", "removalIgnored"});
    sim::ItemSpec item;
    item.id = Text(s, Need(s, entry, "id", item_where), item_where + ".id");
    if (entry.contains("class")) item.class_name = Text(s, entry["class"], item_where + ".class");
    if (entry.contains("readyForUpload")) item.ready_for_upload = Bool(s, entry["readyForUpload"], item_where + ".readyForUpload");
    if (entry.contains("cryopodOf")) item.cryopod_of = Text(s, entry["cryopodOf"], item_where + ".cryopodOf");
    if (entry.contains("temporaryPod")) item.temporary_pod = Bool(s, entry["temporaryPod"], item_where + ".temporaryPod");
    if (item.cryopod_of.empty() && item.temporary_pod) Fail(s, item_where, "only a cryopod (cryopodOf) can be a temporary pod");
    if (entry.contains("sameIdAs")) {
      item.same_id_as = Text(s, entry["sameIdAs"], item_where + ".sameIdAs");
      const bool earlier = std::any_of(spec.inventory.begin(), spec.inventory.end(),
                                       [&](const sim::ItemSpec& before) { return before.id == item.same_id_as; });
      if (!earlier) Fail(s, item_where + ".sameIdAs", "no earlier entry '" + item.same_id_as + "' in this inventory");
    }
    if (entry.contains("removalIgnored")) {
      item.removal_ignored = Bool(s, entry["removalIgnored"], item_where + ".removalIgnored");
    }
    spec.inventory.push_back(item);
  }
}

void ParsePlayer(Scenario& s, const json& p, const std::string& where) {
  Object(s, p, where,
         {"id", "team", "at", "slots", "inventory", "buffs", "cheatManager", "inventoryLimit", "pawn", "fillerItems",
          "name", "linkedPlayerId"});
  sim::PlayerSpec spec;
  spec.id = Text(s, Need(s, p, "id", where), where + ".id");
  if (p.contains("name")) spec.name = Text(s, p["name"], where + ".name");
  if (p.contains("linkedPlayerId")) spec.linked_player_id = Int64(s, p["linkedPlayerId"], where + ".linkedPlayerId");
  if (p.contains("team")) spec.team = Int(s, p["team"], where + ".team");
  if (p.contains("at")) spec.at = Vector(s, p["at"], where + ".at");
  if (p.contains("cheatManager")) spec.cheat_manager = Bool(s, p["cheatManager"], where + ".cheatManager");
  if (p.contains("buffs")) spec.buffs = Texts(s, p["buffs"], where + ".buffs");
  if (p.contains("fillerItems")) {
    spec.filler_items = Int(s, p["fillerItems"], where + ".fillerItems");
    if (spec.filler_items < 0 || spec.filler_items > 1'000'000) {
      Fail(s, where + ".fillerItems", "must be 0 to 1000000");
    }
  }
  if (p.contains("inventoryLimit")) {
    spec.inventory_limit = Int(s, p["inventoryLimit"], where + ".inventoryLimit");
    if (*spec.inventory_limit < 0) Fail(s, where + ".inventoryLimit", "must be 0 or more");
  }
  if (p.contains("pawn")) {
    spec.pawn = Text(s, p["pawn"], where + ".pawn");
    if (spec.pawn != "character" && spec.pawn != "spectator" && spec.pawn != "none") {
      Fail(s, where + ".pawn", "must be \"character\", \"spectator\" or \"none\"");
    }
  }
  if (p.contains("slots")) {
    const json& slots = p["slots"];
    if (!slots.is_object()) Fail(s, where + ".slots", "must be an object");
    for (const auto& item : slots.items()) {
      const std::string slot_where = where + ".slots." + item.key();
      if (std::find(std::begin(sim::Game::kSlotNames), std::end(sim::Game::kSlotNames), item.key()) ==
          std::end(sim::Game::kSlotNames)) {
        Fail(s, slot_where, "unknown slot");
      }
      if (item.value().is_null()) continue;
      spec.slots[item.key()] = Text(s, item.value(), slot_where);
    }
  }
  if (p.contains("inventory")) ParseInventory(s, p["inventory"], where + ".inventory", spec);
  s.players.push_back(spec);
}

void ParseWorld(Scenario& s, const json& world) {
  Object(s, world, "world", {"map", "players", "creatures"});
  if (world.contains("map")) s.world.map_name = Text(s, world["map"], "world.map");
  if (world.contains("creatures")) {
    const json& list = world["creatures"];
    if (!list.is_array()) Fail(s, "world.creatures", "must be a list");
    for (std::size_t i = 0; i < list.size(); ++i) ParseCreature(s, list[i], "world.creatures[" + std::to_string(i) + "]");
  }
  if (world.contains("players")) {
    const json& list = world["players"];
    if (!list.is_array()) Fail(s, "world.players", "must be a list");
    for (std::size_t i = 0; i < list.size(); ++i) ParsePlayer(s, list[i], "world.players[" + std::to_string(i) + "]");
  }
  std::set<std::string> creature_ids;
  for (const auto& c : s.creatures) {
    if (!creature_ids.insert(c.id).second) Fail(s, "world.creatures", "creature '" + c.id + "' is defined twice");
  }
  std::set<std::string> player_ids;
  for (std::size_t i = 0; i < s.players.size(); ++i) {
    const auto& p = s.players[i];
    if (!player_ids.insert(p.id).second) Fail(s, "world.players", "player '" + p.id + "' is defined twice");
    for (const auto& [slot, creature] : p.slots) {
      if (!creature_ids.count(creature)) {
        Fail(s, "world.players[" + std::to_string(i) + "].slots." + slot, "no creature '" + creature + "'");
      }
    }
    for (std::size_t k = 0; k < p.inventory.size(); ++k) {
      const auto& item = p.inventory[k];
      const std::string where = "world.players[" + std::to_string(i) + "].inventory[" + std::to_string(k) + "]";
      if (!item.cryopod_of.empty() && !creature_ids.count(item.cryopod_of)) {
        Fail(s, where + ".cryopodOf", "no creature '" + item.cryopod_of + "'");
      }
    }
  }
}

void ParseSteps(Scenario& s, const json& steps) {
  if (!steps.is_array()) Fail(s, "steps", "must be a list");
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const std::string where = "steps[" + std::to_string(i) + "]";
    const json& step = steps[i];
    if (!step.is_object() || step.size() != 1) Fail(s, where, "must be an object with exactly one action key");
    const std::string& name = step.begin().key();
    const Action* action = FindAction(name);
    if (action == nullptr) Fail(s, where, "unknown action '" + name + "'");
    action->validate(s, step.begin().value(), where + "." + name);
    s.steps.push_back(Step{action, step.begin().value(), where});
  }
  if (!s.steps.empty() && s.steps.front().action->name == "loadPlugin" && s.steps.front().value == false) {
    s.load_plugin_first = false;
  }
}

// {"<build>": {<expect keys>}}: what holds instead on that game build.
void ParseExpectOnBuild(Scenario& s, const json& builds) {
  if (!builds.is_object()) Fail(s, "expectOnBuild", "must be an object of game builds and expectations");
  for (const auto& [build, expect] : builds.items()) {
    try {
      sim::GameBuildNamed(build);
    } catch (const std::invalid_argument& e) {
      Fail(s, "expectOnBuild." + build, e.what());
    }
    ValidateExpect(s, expect);
    s.expect_on_build[build] = expect;
  }
}

}  // namespace

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ScenarioError(path + ": cannot be read");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

Scenario ParseScenario(const std::string& text, const std::string& name) {
  Scenario s;
  s.name = name;
  json root;
  try {
    root = json::parse(text, nullptr, true, true);
  } catch (const json::parse_error& e) {
    throw ScenarioError(name + ": not valid JSON: " + e.what());
  }
  Object(s, root, "top level",
         {"description", "config", "configText", "configEncoding", "configBesidePlugin", "server", "mods", "world", "steps",
          "expect", "expectOnBuild"});
  if (root.contains("description")) s.description = Text(s, root["description"], "description");
  if (root.contains("config") && root.contains("configText")) Fail(s, "top level", "has both 'config' and 'configText'");
  if (root.contains("config")) {
    if (!root["config"].is_object()) Fail(s, "config", "must be an object");
    s.config_file = root["config"].dump(2);
  }
  if (root.contains("configText")) s.config_file = Text(s, root["configText"], "configText");
  if (root.contains("configEncoding")) {
    if (!s.config_file) Fail(s, "configEncoding", "needs 'config' or 'configText'");
    s.config_file = EncodeConfigText(s, *s.config_file, Text(s, root["configEncoding"], "configEncoding"));
  }
  if (root.contains("configBesidePlugin")) {
    if (!root["configBesidePlugin"].is_object()) Fail(s, "configBesidePlugin", "must be an object");
    s.config_beside_plugin = root["configBesidePlugin"].dump(2);
  }
  if (root.contains("server")) ParseServer(s, root["server"]);
  if (root.contains("mods")) ParseMods(s, root["mods"]);
  if (root.contains("world")) ParseWorld(s, root["world"]);
  ParseSteps(s, Need(s, root, "steps", "top level"));
  if (root.contains("expect")) {
    ValidateExpect(s, root["expect"]);
    s.expect_everywhere = root["expect"];
  }
  if (root.contains("expectOnBuild")) ParseExpectOnBuild(s, root["expectOnBuild"]);
  PlayOnGameBuild(s, s.server.game_build);
  return s;
}

std::string EncodeConfigText(const Scenario& s, const std::string& text, const std::string& encoding) {
  if (encoding == "utf-8") return text;
  if (encoding == "utf-8-bom") return "\xEF\xBB\xBF" + text;
  if (encoding != "utf-16le" && encoding != "utf-16be") {
    Fail(s, "configEncoding", "must be \"utf-8\", \"utf-8-bom\", \"utf-16le\" or \"utf-16be\"");
  }
  const bool little = encoding == "utf-16le";
  std::string bytes = little ? "\xFF\xFE" : "\xFE\xFF";
  for (const char16_t unit : simfw::Utf16FromUtf8(text)) {
    const char low = static_cast<char>(unit & 0xFF);
    const char high = static_cast<char>(unit >> 8);
    bytes += little ? low : high;
    bytes += little ? high : low;
  }
  return bytes;
}

void PlayOnGameBuild(Scenario& scenario, const std::string& build) {
  try {
    sim::GameBuildNamed(build);
  } catch (const std::invalid_argument& e) {
    throw ScenarioError(scenario.name + ": " + e.what());
  }
  scenario.server.game_build = build;
  scenario.expect = scenario.expect_everywhere;
  const auto own = scenario.expect_on_build.find(build);
  if (own == scenario.expect_on_build.end()) return;
  for (const auto& [key, value] : own->second.items()) scenario.expect[key] = value;
}

Scenario LoadScenarioFile(const std::string& path) {
  return ParseScenario(ReadFile(path), std::filesystem::path(path).filename().string());
}

}  // namespace simtool
