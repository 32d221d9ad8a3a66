// The report of a played scenario: the log, the messages, the players and
// creatures, hooked calls and what the plugin left registered.
#include "tools/sim/report.h"

#include "sim/framework/framework.h"
#include "sim/game/items.h"
#include "sim/game/buffs.h"

namespace simtool {

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

ordered_json LogValue() {
  ordered_json log = ordered_json::array();
  for (const auto& record : simfw::Fw().logs.RecordsOf("Cradlekeep")) {
    log.push_back(ordered_json{{"level", record.level}, {"text", record.text}});
  }
  return log;
}

ordered_json MessagesValue() {
  ordered_json messages = ordered_json::array();
  for (const auto& m : simfw::Fw().utils.Messages()) {
    const bool server = m.member == "SendServerMessage_Impl";
    messages.push_back(ordered_json{
        {"player", m.player}, {"sender", m.sender}, {"text", m.text}, {"kind", server ? "server" : "chat"}});
  }
  return messages;
}

ordered_json PlayerValue(const sim::Game& game, const sim::Player& p) {
  ordered_json slots;
  for (const char* slot : {"riding", "mounted", "carried", "secondary"}) slots[slot] = SlotValue(game, p, slot);
  ordered_json inventory = ordered_json::array();
  if (p.online && p.inventory != nullptr) {
    for (const sim::Item* item : p.inventory->InventoryItems) {
      if (item != nullptr) inventory.push_back(ItemValue(game, item));
    }
  }
  ordered_json uploaded = ordered_json::array();
  for (const sim::Item* item : p.uploaded) uploaded.push_back(ItemValue(game, item));
  // As the game has them: the character's name and the controller's id
  // while the player is online.
  const std::string name = p.pawn != nullptr ? sim::TextOf(p.pawn->PlayerName) : p.name;
  const int64 linked_player_id = p.controller != nullptr ? p.controller->LinkedPlayerID : p.linked_player_id;
  return ordered_json{{"name", name},
                      {"linkedPlayerId", linked_player_id},
                      {"online", p.online},
                      {"transferring", p.controller != nullptr && p.controller->bIsTransferringCharacter != 0},
                      {"slots", slots},
                      {"inventory", inventory},
                      {"uploaded", uploaded},
                      {"buffs", BuffNames(p.online ? p.pawn : nullptr)}};
}

ordered_json CreatureValue(const sim::Game& game, const sim::Creature& c) {
  const sim::CreaturePlace place = game.PlaceOf(c);
  const bool in_world = place.where == "world" || place.where == "slot";
  const sim::DinoCharacter* actor = in_world ? c.actor() : nullptr;
  const sim::DinoId dino_id = game.DinoIdOf(c);
  return ordered_json{{"where", place.where},
                      {"player", OptionalText(place.player)},
                      {"dinoId", {dino_id.id1, dino_id.id2}},
                      {"buffs", BuffNames(actor)},
                      {"cryoSickness", sim::HasCryoSickness(actor)}};
}

ordered_json HookedCallsValue() {
  ordered_json hooked = ordered_json::object();
  for (const simfw::HookSlot* slot : simfw::Fw().registry.HookableSlots()) {
    if (slot->calls == 0 && slot->reached_game == 0) continue;
    hooked[slot->key] = ordered_json{{"calls", slot->calls}, {"reachedGame", slot->reached_game}};
  }
  return hooked;
}

}  // namespace

ordered_json BuildReport(const sim::Game& game, const std::vector<bool>& external_results, ordered_json journal) {
  auto& fw = simfw::Fw();
  ordered_json report;
  report["log"] = LogValue();
  report["journal"] = std::move(journal);
  report["messages"] = MessagesValue();
  ordered_json replies = ordered_json::array();
  for (const sim::RconReply& reply : game.RconReplies()) {
    replies.push_back(ordered_json{{"id", reply.id}, {"type", reply.type}, {"text", reply.text}});
  }
  report["rconReplies"] = replies;
  report["gameBuild"] = game.server().game_build;
  report["externalCaptureResults"] = external_results;
  ordered_json players = ordered_json::object();
  for (const auto& p : game.Players()) players[p->id] = PlayerValue(game, *p);
  report["players"] = players;
  ordered_json creatures = ordered_json::object();
  for (const auto& c : game.Creatures()) creatures[c->id] = CreatureValue(game, *c);
  report["creatures"] = creatures;
  report["lost"] = game.Lost();
  report["duplicated"] = game.Duplicated();
  report["leftBehind"] = game.LeftBehind();
  report["hookedCalls"] = HookedCallsValue();
  report["missingKeyRequests"] = fw.build.Requests();
  // How long those requests froze the game thread (simulated time).
  report["frameworkStallSeconds"] = static_cast<double>(fw.build.StalledNanoseconds()) / 1e9;
  report["plugin"] = ordered_json{{"hooks", fw.hooks.InstalledKeys()},
                                  {"consoleCommands", fw.commands.ConsoleCommandNames()},
                                  {"rconCommands", fw.commands.RconCommandNames()},
                                  {"tickCallbacks", fw.commands.TickCallbackIds()}};
  return report;
}

}  // namespace simtool
