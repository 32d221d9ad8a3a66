#include <gtest/gtest.h>

#include "host/engine/weak_pointer.h"
#include "sim/game/actors.h"
#include "asa/asa.h"
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

}  // namespace
