// Test support: a started plugin on a world with one player whose slots hold
// companions, and ways to look at what the player got.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "sim/framework/engine_text.h"
#include "sim/game/items.h"
#include "support/plugin_fixture.h"
#include "capture/attached_companion.h"

namespace cktest {

class CaptureTest : public PluginTest {
 protected:
  // Starts the plugin with this config text on a world whose player "ava"
  // (team 1001) has the given slots filled with the named creatures.
  void StartWorld(const std::string& config, const std::vector<std::pair<std::string, std::string>>& slots,
                  const std::vector<sim::CreatureSpec>& creatures) {
    for (const auto& c : creatures) game().AddCreature(c);
    sim::PlayerSpec ava;
    ava.id = "ava";
    for (const auto& [slot, creature] : slots) ava.slots[slot] = creature;
    game().AddPlayer(ava);
    WriteConfig(config);
    Start();
  }

  static sim::CreatureSpec Creature(const std::string& id, const std::string& cls = "Otter_Character_BP_C",
                                    const std::string& name = "") {
    sim::CreatureSpec spec;
    spec.id = id;
    spec.class_name = cls;
    spec.name = name;
    return spec;
  }

  sim::Player& Ava() { return *game().FindPlayer("ava"); }
  AShooterCharacter* Pawn() { return reinterpret_cast<AShooterCharacter*>(Ava().pawn); }
  AShooterPlayerController* Controller() { return reinterpret_cast<AShooterPlayerController*>(Ava().controller); }
  APrimalDinoCharacter* Dino(const std::string& id) {
    return reinterpret_cast<APrimalDinoCharacter*>(game().FindCreature(id)->actor());
  }

  ck::capture::AttachedCompanion Companion(const std::string& id, bool mounted = true, bool carried = false,
                                            bool secondary = false) {
    return ck::capture::AttachedCompanion{Dino(id), mounted, carried, secondary};
  }

  std::string Where(const std::string& creature) { return game().PlaceOf(*game().FindCreature(creature)).where; }

  std::vector<sim::Item*> Items() {
    std::vector<sim::Item*> items;
    for (sim::Item* item : Ava().inventory->InventoryItems) items.push_back(item);
    return items;
  }

  std::vector<std::string> MessageTexts() {
    std::vector<std::string> texts;
    for (const auto& m : fw().utils.Messages()) texts.push_back(m.text);
    return texts;
  }

  // The plugin's log lines from `from_sequence` on and the player messages,
  // in the order they happened: "warn: text", "message: text".
  // The log lines and the player's messages since MarkTimeline, in order;
  // the capture journal's lines are left to JournalLines.
  std::vector<std::string> Timeline() {
    std::vector<std::pair<uint64_t, std::string>> events;
    for (const auto& r : fw().logs.RecordsOf("Cradlekeep")) {
      if (r.sequence > start_sequence_ && r.text.rfind("Cradlekeep journal ", 0) != 0) {
        events.emplace_back(r.sequence, r.level + ": " + r.text);
      }
    }
    for (const auto& m : fw().utils.Messages()) events.emplace_back(m.sequence, "message: " + m.text);
    std::sort(events.begin(), events.end());
    std::vector<std::string> out;
    for (auto& e : events) out.push_back(e.second);
    return out;
  }

  // The capture journal's lines since MarkTimeline, in order.
  std::vector<std::string> JournalLines() {
    std::vector<std::string> lines;
    for (const auto& r : fw().logs.RecordsOf("Cradlekeep")) {
      if (r.sequence > start_sequence_ && r.text.rfind("Cradlekeep journal ", 0) == 0) lines.push_back(r.text);
    }
    return lines;
  }

  // Forget the start-up lines in Timeline().
  void MarkTimeline() { start_sequence_ = simfw::NextSequence(); }

 private:
  uint64_t start_sequence_ = 0;
};

}  // namespace cktest
