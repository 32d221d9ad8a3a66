#include "tools/sim/report.h"

#include <algorithm>

#include "sim/framework/framework.h"
#include "sim/game/items.h"
#include "sim/game/buffs.h"

namespace simtool {

using nlohmann::json;
using nlohmann::ordered_json;

namespace {

ordered_json OptionalText(const std::optional<std::string>& text) {
  return text ? ordered_json(*text) : ordered_json(nullptr);
}

ordered_json SlotValue(const sim::Game& game, const sim::Player& player, const char* slot) {
  const sim::DinoCharacter* creature = game.SlotCreature(player, slot);
  if (creature == nullptr || creature->creature_id.empty()) return nullptr;
  return creature->creature_id;
}

ordered_json ItemValue(const sim::Game& game, const sim::Item* item) {
  const std::string creature = sim::PayloadCreature(item);
  ordered_json value{{"class", item->ClassPrivate != nullptr ? item->ClassPrivate->Name() : std::string()},
                     {"itemId", {item->ItemID.ItemID1, item->ItemID.ItemID2}},
                     {"temporaryPod", sim::HasEntryNamed(item, sim::kMarkerName)},
                     {"creature", creature.empty() ? ordered_json(nullptr) : ordered_json(creature)},
                     {"readyForUpload", game.IsReadyToUpload(item)}};
  if (!item->entry_id.empty()) value["id"] = item->entry_id;
  return value;
}

ordered_json BuffNames(const sim::Character* character) {
  ordered_json names = ordered_json::array();
  if (character == nullptr) return names;
  for (const sim::Object* buff : character->Buffs) names.push_back(buff->ClassPrivate->Name());
  return names;
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

std::vector<std::string> Strings(const json& list) {
  std::vector<std::string> out;
  for (const auto& v : list) out.push_back(v.get<std::string>());
  return out;
}

std::string Join(const std::vector<std::string>& v) {
  std::string out = "[";
  for (std::size_t i = 0; i < v.size(); ++i) out += (i ? ", " : "") + json(v[i]).dump();
  return out + "]";
}

}  // namespace

ordered_json BuildReport(const sim::Game& game, const std::vector<bool>& external_results) {
  auto& fw = simfw::Fw();
  ordered_json report;

  ordered_json log = ordered_json::array();
  for (const auto& record : fw.logs.RecordsOf("Cradlekeep")) {
    log.push_back(ordered_json{{"level", record.level}, {"text", record.text}});
  }
  report["log"] = log;

  ordered_json messages = ordered_json::array();
  for (const auto& m : fw.utils.Messages()) {
    messages.push_back(ordered_json{{"player", m.player}, {"sender", m.sender}, {"text", m.text}});
  }
  report["messages"] = messages;
  report["externalCaptureResults"] = external_results;

  ordered_json players = ordered_json::object();
  for (const auto& p : game.Players()) {
    ordered_json slots;
    for (const char* slot : {"riding", "mounted", "carried", "secondary"}) slots[slot] = SlotValue(game, *p, slot);
    ordered_json inventory = ordered_json::array();
    if (p->online && p->inventory != nullptr) {
      for (const sim::Item* item : p->inventory->InventoryItems) {
        if (item != nullptr) inventory.push_back(ItemValue(game, item));
      }
    }
    ordered_json uploaded = ordered_json::array();
    for (const sim::Item* item : p->uploaded) uploaded.push_back(ItemValue(game, item));
    players[p->id] = ordered_json{{"online", p->online},
                                  {"transferring", p->controller != nullptr && p->controller->bIsTransferringCharacter != 0},
                                  {"slots", slots},
                                  {"inventory", inventory},
                                  {"uploaded", uploaded},
                                  {"buffs", BuffNames(p->online ? p->pawn : nullptr)}};
  }
  report["players"] = players;

  ordered_json creatures = ordered_json::object();
  for (const auto& c : game.Creatures()) {
    const sim::CreaturePlace place = game.PlaceOf(*c);
    const bool in_world = place.where == "world" || place.where == "slot";
    const sim::DinoCharacter* actor = in_world ? c->actor() : nullptr;
    creatures[c->id] = ordered_json{{"where", place.where},
                                    {"player", OptionalText(place.player)},
                                    {"buffs", BuffNames(actor)},
                                    {"cryoSickness", sim::HasCryoSickness(actor)}};
  }
  report["creatures"] = creatures;
  report["lost"] = game.Lost();
  report["leftBehind"] = game.LeftBehind();
  ordered_json hooked = ordered_json::object();
  for (const simfw::HookSlot* slot : fw.registry.HookableSlots()) {
    if (slot->calls == 0 && slot->reached_game == 0) continue;
    hooked[slot->key] = ordered_json{{"calls", slot->calls}, {"reachedGame", slot->reached_game}};
  }
  report["hookedCalls"] = hooked;
  report["plugin"] = ordered_json{{"hooks", fw.hooks.InstalledKeys()},
                                  {"consoleCommands", fw.commands.ConsoleCommandNames()},
                                  {"tickCallbacks", fw.commands.TickCallbackIds()}};
  return report;
}

std::vector<std::string> CheckExpectations(const json& expect, const ordered_json& report) {
  std::vector<std::string> failures;
  std::vector<std::string> texts;
  for (const auto& line : report["log"]) texts.push_back(line["text"].get<std::string>());

  for (const char* key : {"lost", "leftBehind"}) {
    if (!expect.contains(key)) continue;
    const auto want = Sorted(Strings(expect[key]));
    const auto got = Sorted(Strings(report[key]));
    if (want != got) failures.push_back(std::string(key) + ": expected " + Join(want) + ", got " + Join(got));
  }
  if (expect.contains("logContains")) {
    for (const auto& want : Strings(expect["logContains"])) {
      if (std::find(texts.begin(), texts.end(), want) == texts.end()) {
        failures.push_back("logContains: no log line " + json(want).dump());
      }
    }
  }
  if (expect.contains("logLacks")) {
    for (const auto& unwanted : Strings(expect["logLacks"])) {
      for (const auto& text : texts) {
        if (text.find(unwanted) != std::string::npos) {
          failures.push_back("logLacks: log line " + json(text).dump() + " contains " + json(unwanted).dump());
        }
      }
    }
  }
  if (expect.contains("logEquals")) {
    const auto want = Strings(expect["logEquals"]);
    if (want != texts) failures.push_back("logEquals: expected " + Join(want) + ", got " + Join(texts));
  }
  if (expect.contains("messages")) {
    std::size_t next = 0;
    const auto& got = report["messages"];
    for (const auto& want : expect["messages"]) {
      bool found = false;
      while (next < got.size()) {
        const auto& m = got[next++];
        if (m["player"] == want["player"] && m["text"] == want["text"]) {
          found = true;
          break;
        }
      }
      if (!found) {
        failures.push_back("messages: no message " + want["text"].dump() + " to " + want["player"].dump() +
                           " in that order");
        break;
      }
    }
  }
  if (expect.contains("creatures")) {
    for (const auto& item : expect["creatures"].items()) {
      const std::string got = report["creatures"][item.key()]["where"].get<std::string>();
      if (got != item.value().get<std::string>()) {
        failures.push_back("creatures." + item.key() + ": expected " + item.value().dump() + ", got \"" + got + "\"");
      }
    }
  }
  for (const char* key : {"hooks", "consoleCommands", "tickCallbacks"}) {
    if (!expect.contains(key)) continue;
    const auto want = Strings(expect[key]);
    const auto got = Strings(report["plugin"][key]);
    if (want != got) failures.push_back(std::string(key) + ": expected " + Join(want) + ", got " + Join(got));
  }
  if (expect.contains("externalCaptureResults") && expect["externalCaptureResults"] != report["externalCaptureResults"]) {
    failures.push_back("externalCaptureResults: expected " + expect["externalCaptureResults"].dump() + ", got " +
                       report["externalCaptureResults"].dump());
  }
  if (expect.contains("hookedCallsReachGame") && expect["hookedCallsReachGame"].get<bool>()) {
    for (const auto& item : report["hookedCalls"].items()) {
      if (item.value()["calls"] != item.value()["reachedGame"]) {
        failures.push_back("hookedCallsReachGame: " + item.key() + " was called " + item.value()["calls"].dump() +
                           " time(s) and reached the game " + item.value()["reachedGame"].dump() + " time(s)");
      }
    }
  }
  if (expect.contains("playerBuffs")) {
    for (const auto& item : expect["playerBuffs"].items()) {
      const auto& got = report["players"][item.key()]["buffs"];
      if (got != item.value()) failures.push_back("playerBuffs." + item.key() + ": expected " + item.value().dump() + ", got " + got.dump());
    }
  }
  if (expect.contains("creatureBuffs")) {
    for (const auto& item : expect["creatureBuffs"].items()) {
      const auto& got = report["creatures"][item.key()]["buffs"];
      if (got != item.value()) failures.push_back("creatureBuffs." + item.key() + ": expected " + item.value().dump() + ", got " + got.dump());
    }
  }
  if (expect.contains("inventoryCount")) {
    for (const auto& item : expect["inventoryCount"].items()) {
      const auto got = report["players"][item.key()]["inventory"].size();
      if (got != item.value().get<std::size_t>()) {
        failures.push_back("inventoryCount." + item.key() + ": expected " + item.value().dump() + ", got " + std::to_string(got));
      }
    }
  }
  if (expect.contains("engineMemoryBalanced")) {
    const bool balanced = report["engineMemory"]["liveBlocks"].get<long long>() == 0;
    if (balanced != expect["engineMemoryBalanced"].get<bool>()) {
      failures.push_back("engineMemoryBalanced: " + std::to_string(report["engineMemory"]["liveBlocks"].get<long long>()) +
                         " engine block(s) still live");
    }
  }
  return failures;
}

}  // namespace simtool
