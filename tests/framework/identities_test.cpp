// What the simulated game knows a player, a creature and its world by: the
// controller's LinkedPlayerID, the character's PlayerName, the creature's
// DinoID1 and DinoID2 and the world's GetMapName(), published by key on
// every known game build, and the creature's id saved in its cryo data and
// given back on release.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "sim/framework/engine_text.h"
#include "sim/game/custom_data.h"
#include "sim/game/items.h"
#include "support/sim_world.h"
#include "tools/sim/scenario.h"

namespace {

constexpr const char* kIdentityKeys[] = {"AShooterPlayerController.LinkedPlayerID", "AShooterCharacter.PlayerName",
                                         "APrimalDinoCharacter.DinoID1", "APrimalDinoCharacter.DinoID2"};

class IdentitiesTest : public cktest::SimWorldTest {
 protected:
  template <typename T>
  T& Field(const void* object, const char* key) {
    return *static_cast<T*>(fw().registry.FieldAddress(object, key));
  }

  sim::Player& AddAva(sim::PlayerSpec spec = {}) {
    spec.id = "ava";
    game().AddPlayer(spec);
    return *game().FindPlayer("ava");
  }

  // What the function of UWorld.GetMapName() answers for the game's world,
  // read into `result`, which the caller frees.
  void GetMapName(FString& result) {
    using GetMapNameFn = FString* (*)(UWorld*, FString*);
    const auto get = reinterpret_cast<GetMapNameFn>(fw().registry.FunctionAddress(kMapNameKey));
    EXPECT_EQ(get(reinterpret_cast<UWorld*>(game().world()), &result), &result);
  }

  static constexpr const char* kMapNameKey = "UWorld.GetMapName()";
};

TEST_F(IdentitiesTest, EveryKnownBuildHasTheFields) {
  for (const char* key : kIdentityKeys) {
    EXPECT_TRUE(fw().registry.IsField(key)) << key;
    for (const std::string& build : sim::KnownGameBuilds()) {
      EXPECT_EQ(sim::GameBuildNamed(build).absent.count(key), 0u) << key << " on " << build;
    }
  }
}

TEST_F(IdentitiesTest, EveryKnownBuildHasTheMapName) {
  EXPECT_TRUE(fw().registry.Knows(kMapNameKey));
  EXPECT_FALSE(fw().registry.IsField(kMapNameKey));
  for (const std::string& build : sim::KnownGameBuilds()) {
    EXPECT_EQ(sim::GameBuildNamed(build).absent.count(kMapNameKey), 0u) << build;
  }
}

TEST_F(IdentitiesTest, TheWorldIsOnTheIslandUnlessTheScenarioNamesItsMap) {
  {
    FString island;
    GetMapName(island);
    EXPECT_EQ(simfw::ToUtf8(island), "TheIsland_WP");
  }
  game_.reset();
  const simtool::Scenario scenario =
      simtool::ParseScenario(R"({"world": {"map": "Ragnarok_WP"}, "steps": []})", "ragnarok.json");
  game_ = std::make_unique<sim::Game>(scenario.server, scenario.mods, scenario.world);
  FString ragnarok;
  GetMapName(ragnarok);
  EXPECT_EQ(simfw::ToUtf8(ragnarok), "Ragnarok_WP");
  EXPECT_EQ(ragnarok.Data.ArrayNum, 12) << "the count includes the terminating zero";
}

TEST_F(IdentitiesTest, TheMapNameIsEngineMemoryTheCallerFrees) {
  const int64 before = fw().memory.LiveBlocks();
  {
    FString name;
    GetMapName(name);
    EXPECT_EQ(simfw::ToUtf8(name), "TheIsland_WP");
    EXPECT_EQ(fw().memory.LiveBlocks(), before + 1);
  }
  EXPECT_EQ(fw().memory.LiveBlocks(), before);
}

TEST_F(IdentitiesTest, APlayerIsKnownByTheGivenNameAndId) {
  sim::PlayerSpec spec;
  spec.name = "Ava Stormborn";
  spec.linked_player_id = 123;
  const sim::Player& ava = AddAva(spec);
  EXPECT_EQ(Field<int64>(ava.controller, "AShooterPlayerController.LinkedPlayerID"), 123);
  const auto& name = Field<sim::rec::FString>(ava.pawn, "AShooterCharacter.PlayerName");
  EXPECT_EQ(sim::TextOf(name), "Ava Stormborn");
  EXPECT_EQ(name.Data.ArrayNum, 14) << "the count includes the terminating zero";
}

TEST_F(IdentitiesTest, APlayerWithoutThemIsKnownByItsIdAndAFixedNumber) {
  const sim::Player& ava = AddAva();
  EXPECT_EQ(sim::TextOf(Field<sim::rec::FString>(ava.pawn, "AShooterCharacter.PlayerName")), "ava");
  const int64 id = Field<int64>(ava.controller, "AShooterPlayerController.LinkedPlayerID");
  EXPECT_EQ(id, sim::DefaultLinkedPlayerId("ava"));
  EXPECT_GE(id, 100'000'000);
  EXPECT_LT(id, 1'000'000'000);
  EXPECT_NE(sim::DefaultLinkedPlayerId("bob"), id);
}

TEST_F(IdentitiesTest, TheNameIsEngineMemoryThatGoesWithTheCharacter) {
  const int64 before = fw().memory.LiveBlocks();
  sim::Player& ava = AddAva();
  game().Leave(ava);
  sim::Objects().Collect();
  const int64 after_leaving = fw().memory.LiveBlocks();
  game().Download(ava);  // a new character, with the name again
  EXPECT_EQ(sim::TextOf(Field<sim::rec::FString>(ava.pawn, "AShooterCharacter.PlayerName")), "ava");
  EXPECT_EQ(fw().memory.LiveBlocks(), after_leaving + 1);
  game().Leave(ava);
  sim::Objects().Collect();
  EXPECT_EQ(fw().memory.LiveBlocks(), after_leaving);
  EXPECT_GE(after_leaving, before);
}

TEST_F(IdentitiesTest, ACreatureCarriesItsIdIntoItsCryoDataAndBackOut) {
  sim::CreatureSpec splash;
  splash.id = "splash";
  splash.dino_id = sim::DinoId{11, 22};
  game().AddCreature(splash);
  sim::CreatureSpec rex;
  rex.id = "rex";
  game().AddCreature(rex);
  const sim::DinoCharacter* actor = game().FindCreature("splash")->actor();
  EXPECT_EQ(Field<uint32>(actor, "APrimalDinoCharacter.DinoID1"), 11u);
  EXPECT_EQ(Field<uint32>(actor, "APrimalDinoCharacter.DinoID2"), 22u);
  EXPECT_EQ(game().DinoIdOf(*game().FindCreature("rex")), sim::DefaultDinoId("rex"));

  sim::PlayerSpec spec;
  sim::ItemSpec pod;
  pod.id = "pod";
  pod.cryopod_of = "splash";
  spec.inventory.push_back(pod);
  sim::Player& ava = AddAva(spec);
  sim::Item* item = game().FindPlayerItem(ava, "pod", "");
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(sim::PayloadCreature(item), "splash");
  EXPECT_EQ(sim::PayloadDinoId(item), (sim::DinoId{11, 22}));
  const auto pods = game().HeldPods();
  ASSERT_EQ(pods.size(), 1u);
  EXPECT_EQ(pods[0].linked_player_id, sim::DefaultLinkedPlayerId("ava"));
  EXPECT_EQ(game().DinoIdOf(*game().FindCreature("splash")), (sim::DinoId{11, 22})) << "from the pod's data";

  game().UseItem(ava, item, false, false);
  const sim::DinoCharacter* released = game().FindCreature("splash")->actor();
  ASSERT_NE(released, nullptr);
  EXPECT_NE(released, actor);
  EXPECT_EQ(Field<uint32>(released, "APrimalDinoCharacter.DinoID1"), 11u);
  EXPECT_EQ(Field<uint32>(released, "APrimalDinoCharacter.DinoID2"), 22u);
  EXPECT_TRUE(game().HeldPods().empty());
}

TEST_F(IdentitiesTest, TheReleaseTakesTheIdFromTheSavedStateNotFromTheScenario) {
  sim::CreatureSpec splash;
  splash.id = "splash";
  game().AddCreature(splash);
  sim::Player& ava = AddAva();
  sim::Item* pod = game().NewItem(game().ClassForGame(sim::Game::kVanillaCryopodClass));
  sim::CustomData data = sim::MakeCryoData("splash", sim::DinoId{7, 8});
  sim::AppendCustomData(pod->CustomItemDatas, data);
  sim::DestroyCustomData(data);
  ava.inventory->Place(pod);
  sim::Objects().Destroy(game().FindCreature("splash")->actor());
  EXPECT_EQ(game().DinoIdOf(*game().FindCreature("splash")), (sim::DinoId{7, 8})) << "from the pod's data";
  game().UseItem(ava, pod, false, false);
  EXPECT_EQ(game().DinoIdOf(*game().FindCreature("splash")), (sim::DinoId{7, 8}));
}

TEST_F(IdentitiesTest, APodIsTheHoldersThroughAnUploadAndBack) {
  sim::CreatureSpec splash;
  splash.id = "splash";
  game().AddCreature(splash);
  sim::PlayerSpec spec;
  spec.linked_player_id = 42;
  sim::ItemSpec pod;
  pod.id = "pod";
  pod.cryopod_of = "splash";
  spec.inventory.push_back(pod);
  sim::Player& ava = AddAva(spec);
  game().Upload(ava);
  auto pods = game().HeldPods();
  ASSERT_EQ(pods.size(), 1u);
  EXPECT_TRUE(pods[0].uploaded);
  EXPECT_EQ(pods[0].player, "ava");
  EXPECT_EQ(pods[0].linked_player_id, 42);
  game().Download(ava);
  pods = game().HeldPods();
  ASSERT_EQ(pods.size(), 1u);
  EXPECT_FALSE(pods[0].uploaded);
  EXPECT_EQ(pods[0].creature, "splash");
}

}  // namespace
