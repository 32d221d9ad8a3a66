// The cryopod mod as the game loads it: its pod and capture actor classes,
// the capture actors in the world, and their CaptureDino function.
#include <string>

#include "sim/framework/framework.h"
#include "sim/game/buffs.h"
#include "sim/game/custom_data.h"
#include "sim/game/engine_arrays.h"
#include "sim/game/hooked_functions.h"
#include "sim/game/items.h"
#include "sim/game/layout.h"
#include "sim/game/names.h"
#include "sim/game/game.h"

namespace sim {

namespace {

constexpr const char* kScsCryopodBlueprint = "Blueprint'/SCS/SCSCryopod/PrimalItem_SCSCryopod.PrimalItem_SCSCryopod'";
constexpr const char* kScsCaptureActorBlueprint = "Blueprint'/SCS/CCA_SCS.CCA_SCS'";

// The cryopod mod's CaptureDino: {creature, pod, flag, flag, padding}.
struct CaptureDinoBlock {
  DinoCharacter* creature;
  Item* pod;
  bool flag_a;
  bool flag_b;
  uint8 padding[6];
};
static_assert(sizeof(CaptureDinoBlock) == 24);

void CaptureDinoBody(Object* /*self*/, void* params) {
  auto* block = static_cast<CaptureDinoBlock*>(params);
  if (block == nullptr || block->creature == nullptr || block->pod == nullptr) return;
  if (!Objects().IsLive(block->creature)) return;
  std::string zeros;
  for (uint8 b : block->padding) zeros += std::to_string(b);
  Game::Current()->RecordArgs("CaptureDino", block->creature->creature_id + "," + block->pod->Name() + "," +
                                                 std::to_string(block->flag_a) + "," + std::to_string(block->flag_b) +
                                                 "," + zeros);
  CustomData data =
      MakeCryoData(block->creature->creature_id, DinoId{block->creature->DinoID1, block->creature->DinoID2});
  AppendCustomData(block->pod->CustomItemDatas, data);
  DestroyCustomData(data);
  Game::Current()->Event("the cryopod mod captures " + block->creature->creature_id);
  Game::Current()->DestroyActor(block->creature);
}

// A version of the mod whose CaptureDino takes another block: a caller that
// lays out the known block hands it values it reads wrongly. Here it takes
// the creature out of the world without saving it anywhere, so a call shows
// as a lost creature.
void OtherCaptureDinoBody(Object* /*self*/, void* params) {
  auto* block = static_cast<CaptureDinoBlock*>(params);
  Game::Current()->RecordArgs("CaptureDino", "a block of another layout");
  if (block == nullptr || block->creature == nullptr || !Objects().IsLive(block->creature)) return;
  Game::Current()->Event("the cryopod mod misreads its parameters and loses " + block->creature->creature_id);
  Game::Current()->DestroyActor(block->creature);
}

}  // namespace

void Game::MakeCryopodMod(Class* item, Class* actor) {
  AddBlueprint(kScsCryopodBlueprint, kScsCryopodClass, item);
  // The capture actor class carries CaptureDino, loaded again with it.
  const int parms_size = mods_.capture_dino_parms_size;
  const auto furnish = [parms_size](Class* cls) {
    auto* capture_dino = Objects().Create<Function>(Game::Current()->ClassNamed("Function"), "CaptureDino");
    capture_dino->ParmsSize = static_cast<uint16>(parms_size);
    capture_dino->body = parms_size == sizeof(CaptureDinoBlock) ? &CaptureDinoBody : &OtherCaptureDinoBody;
    cls->functions.push_back(capture_dino);
  };
  Class* capture_actor = AddBlueprint(kScsCaptureActorBlueprint, kScsCaptureActorClass, actor, furnish);
  for (int i = 0; i < mods_.capture_actors; ++i) {
    capture_actors_.push_back(Objects().Create<Actor>(capture_actor, "CCA_SCS_C_" + std::to_string(i)));
  }
}

}  // namespace sim
