// A simulated server for benchmarks: a fresh world, the plugin started (or
// not) on it from a config text, in a scratch working directory.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "sim/game/game.h"

namespace ckbench {

class BenchWorld {
 public:
  // `config` null: the plugin is not started.
  BenchWorld(const char* config, sim::ServerSettings server = {}, sim::ModSettings mods = {});
  ~BenchWorld();

  sim::Game& game() { return *game_; }
  sim::Player& AddPlayer(const std::string& id);
  // Fills the player's inventory with plain items, each carrying two custom
  // data entries that are not the temporary-pod marker.
  void FillInventory(sim::Player& player, int items);

 private:
  std::filesystem::path previous_;
  std::filesystem::path scratch_;
  std::unique_ptr<sim::Game> game_;
  bool started_ = false;
};

}  // namespace ckbench
