#include "bench_world.h"

#include <fstream>

#include "sim/framework/framework.h"
#include "state/plugin_state.h"
#include "plugin/lifecycle.h"
#include "sim/game/items.h"
#include "sim/game/names.h"

namespace ckbench {

BenchWorld::BenchWorld(const char* config, sim::ServerSettings server, sim::ModSettings mods) {
  previous_ = std::filesystem::current_path();
  scratch_ = std::filesystem::temp_directory_path() / ("cradlekeep-bench-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
  std::filesystem::create_directories(scratch_ / "ArkApi/Plugins/Cradlekeep");
  std::filesystem::current_path(scratch_);
  game_ = std::make_unique<sim::Game>(server, mods);
  simfw::Fw().build.WriteCache(scratch_, simfw::Fw().registry, simfw::OffsetsCacheState::kPresent);
  ck::state::Begin();
  if (config != nullptr) {
    std::ofstream("ArkApi/Plugins/Cradlekeep/config.json") << config;
    ck::plugin::Startup();
    started_ = true;
  }
}

BenchWorld::~BenchWorld() {
  if (started_) ck::plugin::Teardown();
  ck::state::End();
  game_.reset();
  std::filesystem::current_path(previous_);
  std::filesystem::remove_all(scratch_);
}

sim::Player& BenchWorld::AddPlayer(const std::string& id) {
  sim::PlayerSpec spec;
  spec.id = id;
  game_->AddPlayer(spec);
  return *game_->FindPlayer(id);
}

void BenchWorld::FillInventory(sim::Player& player, int items) {
  sim::Class* stone = game_->ClassNamed("PrimalItem");
  for (int i = 0; i < items; ++i) {
    sim::Item* item = game_->NewItem(stone);
    for (const char* name : {"ItemStats", "CraftedBy"}) {
      sim::CustomData entry{};
      sim::SetName(entry, name);
      sim::AppendCustomData(item->CustomItemDatas, entry);
    }
    player.inventory->Place(item);
  }
}

}  // namespace ckbench
