#include <gtest/gtest.h>

#include <string>

#include "host/engine/class_loading.h"
#include "sim/game/game.h"
#include "support/sim_world.h"

namespace {

using ClassLoadingTest = cktest::SimWorldTest;

const std::string kPodPath =
    "Blueprint'/Game/Extinction/CoreBlueprints/Weapons/PrimalItem_WeaponEmptyCryopod.PrimalItem_WeaponEmptyCryopod'";

UClass* AsEngineClass(sim::Class* cls) { return reinterpret_cast<UClass*>(cls); }

TEST_F(ClassLoadingTest, AClassIsLoadedOnceAndKeptWhileTheEngineHasIt) {
  FWeakObjectPtr cache{0, 0};
  UClass* first = ck::host::LoadCachedClass(cache, kPodPath);
  EXPECT_EQ(first, AsEngineClass(game().ClassByBlueprint(kPodPath)));
  EXPECT_EQ(ck::host::LoadCachedClass(cache, kPodPath), first);
  // Held by the cache, the class is found without the path.
  EXPECT_EQ(ck::host::LoadCachedClass(cache, "no such path"), first);
  EXPECT_EQ(fw().memory.LiveBlocks(), 0);
}

TEST_F(ClassLoadingTest, AClassTheEngineCollectedIsLoadedAgainAsTheNewClassObject) {
  FWeakObjectPtr cache{0, 0};
  UClass* first = ck::host::LoadCachedClass(cache, kPodPath);
  (void)game().CollectClasses();
  UClass* again = ck::host::LoadCachedClass(cache, kPodPath);
  ASSERT_NE(again, nullptr);
  EXPECT_NE(again, first);
  EXPECT_EQ(again, AsEngineClass(game().ClassByBlueprint(kPodPath)));
  EXPECT_TRUE(fw().modules.Defects().empty());
}

TEST_F(ClassLoadingTest, APathThatLoadsNothingLeavesTheCacheEmptyForTheNextTry) {
  FWeakObjectPtr cache{0, 0};
  EXPECT_EQ(ck::host::LoadCachedClass(cache, "Blueprint'/Game/Nowhere.Nowhere'"), nullptr);
  EXPECT_EQ(cache.ObjectSerialNumber, 0);
  EXPECT_EQ(ck::host::LoadCachedClass(cache, kPodPath), AsEngineClass(game().ClassByBlueprint(kPodPath)));
}

}  // namespace
