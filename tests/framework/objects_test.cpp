#include <gtest/gtest.h>

#include "sim/game/names.h"

#include <algorithm>
#include <string>
#include <vector>

#include "host/engine/weak_pointer.h"
#include "sim/game/actors.h"
#include "asa/asa.h"
#include "sim/game/buffs.h"
#include "support/sim_world.h"

namespace {

using ObjectsTest = cktest::SimWorldTest;

TEST_F(ObjectsTest, AWeakPointerGoesStaleWhenItsObjectIsDestroyed) {
  sim::CreatureSpec spec;
  spec.id = "splash";
  game().AddCreature(spec);
  sim::DinoCharacter* dino = game().FindCreature("splash")->actor();
  const FWeakObjectPtr weak = sim::Objects().WeakOf(dino);
  EXPECT_EQ(ck::host::ResolveWeak(&weak), reinterpret_cast<UObject*>(dino));
  sim::Objects().Destroy(dino);
  EXPECT_EQ(ck::host::ResolveWeak(&weak), nullptr);
  sim::Objects().Collect();
  // A new object may take the freed index; the old weak pointer stays stale.
  sim::CreatureSpec other;
  other.id = "other";
  game().AddCreature(other);
  EXPECT_EQ(ck::host::ResolveWeak(&weak), nullptr);
}

TEST_F(ObjectsTest, ClassesKnowTheirAncestry) {
  sim::CreatureSpec spec;
  spec.id = "splash";
  spec.class_name = "Otter_Character_BP_C";
  game().AddCreature(spec);
  const sim::Class* otter = game().ClassNamed("Otter_Character_BP_C");
  ASSERT_NE(otter, nullptr);
  EXPECT_TRUE(otter->IsChildOf(game().ClassNamed("PrimalDinoCharacter")));
  EXPECT_TRUE(otter->IsChildOf(game().ClassNamed("Actor")));
  EXPECT_FALSE(otter->IsChildOf(game().ClassNamed("ShooterCharacter")));
}

constexpr const char* kSicknessPath =
    "Blueprint'/Game/Extinction/CoreBlueprints/Buffs/Buff_CryoSickness.Buff_CryoSickness'";

TEST_F(ObjectsTest, AClassLoadedByPathThatNothingUsesIsCollectedAndLoadsAgainElsewhere) {
  sim::Class* before = game().ClassByBlueprint(kSicknessPath);
  ASSERT_NE(before, nullptr);
  const FWeakObjectPtr weak = sim::Objects().WeakOf(before);
  const std::vector<std::string> collected = game().CollectClasses();
  EXPECT_NE(std::find(collected.begin(), collected.end(), sim::kCryoSicknessBuff), collected.end());
  EXPECT_EQ(ck::host::ResolveWeak(&weak), nullptr);
  EXPECT_TRUE(before->collected);
  EXPECT_EQ(game().ClassNamed(sim::kCryoSicknessBuff), nullptr);
  sim::Class* after = game().ClassByBlueprint(kSicknessPath);
  ASSERT_NE(after, nullptr);
  EXPECT_NE(after, before);
  EXPECT_EQ(game().ClassNamed(sim::kCryoSicknessBuff), after);
}

TEST_F(ObjectsTest, AClassAnObjectUsesIsNotCollected) {
  sim::CreatureSpec spec;
  spec.id = "splash";
  spec.cryo_sickness = true;
  game().AddCreature(spec);
  sim::Class* sickness = game().ClassByBlueprint(kSicknessPath);
  const std::vector<std::string> collected = game().CollectClasses();
  EXPECT_EQ(std::find(collected.begin(), collected.end(), sim::kCryoSicknessBuff), collected.end());
  EXPECT_EQ(game().ClassByBlueprint(kSicknessPath), sickness);
  EXPECT_FALSE(sickness->collected);
}

TEST_F(ObjectsTest, AGameFunctionHandedACollectedClassIsADefect) {
  sim::Class* before = game().ClassByBlueprint(kSicknessPath);
  (void)game().CollectClasses();
  EXPECT_TRUE(fw().modules.Defects().empty());
  EXPECT_FALSE(sim::Game::Usable(before, "HasBuff"));
  ASSERT_EQ(fw().modules.Defects().size(), 1u);
  EXPECT_EQ(fw().modules.Defects()[0],
            "the game's HasBuff is handed class Buff_CryoSickness, which the engine collected");
  EXPECT_TRUE(sim::Game::Usable(game().ClassByBlueprint(kSicknessPath), "HasBuff"));
}

// As the engine's: a name compares without regard to letter case and keeps
// the spelling it was first made with; its number shows as a suffix.
TEST_F(ObjectsTest, NamesFoldLetterCaseAndKeepTheirFirstSpelling) {
  sim::NameTable& names = sim::Names();
  const FName first = names.Add("MarkerName");
  const FName again = names.Add("MARKERNAME");
  EXPECT_EQ(again.ComparisonIndex, first.ComparisonIndex);
  EXPECT_EQ(names.Text(again), "MarkerName");
  EXPECT_EQ(names.Find("markername", false).ComparisonIndex, first.ComparisonIndex);
  EXPECT_EQ(names.Text(FName{first.ComparisonIndex, 3}), "MarkerName_2");
  EXPECT_EQ(names.Find("NoSuchName", false).ComparisonIndex, 0);
  EXPECT_EQ(names.Text(FName{0, 0}), "None");
}

}  // namespace
