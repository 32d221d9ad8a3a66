// What a game build without some keys leaves of the plugin, and that the
// plugin never asks the framework for a key the build lacks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/game/catalogue.h"
#include "host/game/cache_check/build_check.h"
#include "host/game/parts.h"
#include "support/sim_world.h"

namespace {

using ck::host::GameKeyTable;
using ck::host::Part;
using ck::host::PartSet;

// `present` for a build that lacks exactly these keys.
std::vector<bool> BuildWithout(std::initializer_list<std::string> missing) {
  std::vector<bool> present;
  for (const auto& need : GameKeyTable()) {
    bool lacks = false;
    for (const std::string& key : missing) lacks = lacks || key == need.member->Key();
    present.push_back(!lacks);
  }
  return present;
}

std::size_t IndexOf(const std::string& key) {
  const auto table = GameKeyTable();
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (key == table[i].member->Key()) return i;
  }
  ADD_FAILURE() << key << " is not in the table";
  return table.size();
}

TEST(GamePartsTest, EveryKeyOnceAndEveryPartNeedsAKeyOrAnotherPart) {
  const auto table = GameKeyTable();
  std::vector<std::string> keys;
  for (const auto& need : table) {
    EXPECT_FALSE(need.parts.Empty()) << need.member->Key() << " serves no part";
    for (const std::string& seen : keys) EXPECT_NE(seen, need.member->Key());
    keys.emplace_back(need.member->Key());
  }
  EXPECT_EQ(ck::host::PartsOn(std::vector<bool>(table.size(), true)), PartSet::All());
  // Each part goes off without some key: no part is on whatever the build.
  for (std::size_t p = 0; p < ck::host::kPartCount; ++p) {
    bool can_go = false;
    for (std::size_t i = 0; i < table.size() && !can_go; ++i) {
      can_go = ck::host::PartsOffWithout(i).Has(static_cast<Part>(p));
    }
    EXPECT_TRUE(can_go) << ck::host::PartName(static_cast<Part>(p));
  }
}

TEST(GamePartsTest, AMissingKeyTurnsOffOnlyWhatNeedsIt) {
  const PartSet on = ck::host::PartsOn(BuildWithout({"UVictoryCore.GetCryoDinoData(UObject*,APrimalDinoCharacter*)"}));
  EXPECT_FALSE(on.Has(Part::kVanillaCapture));
  for (Part part : {Part::kScsCapture, Part::kInsertion, Part::kMarker, Part::kPodRemoval, Part::kTransferButton,
                    Part::kMountedSlot, Part::kSicknessClearing}) {
    EXPECT_TRUE(on.Has(part)) << ck::host::PartName(part);
  }
  EXPECT_EQ(ck::host::DescribeParts(ck::host::PartsOffWithout(
                IndexOf("UVictoryCore.GetCryoDinoData(UObject*,APrimalDinoCharacter*)"))),
            "vanilla capture");
}

TEST(GamePartsTest, WhatStandsOnAMissingPartGoesWithIt) {
  // The marker serves vanilla capture and every clean-up path; SCS capture
  // does not need it.
  const PartSet on = ck::host::PartsOn(BuildWithout({"FCustomItemData.CustomDataName"}));
  for (Part part : {Part::kMarker, Part::kVanillaCapture, Part::kPodRemoval, Part::kPodUse, Part::kUnCryoBroadcasts,
                    Part::kCleanupPasses, Part::kRecurringScan}) {
    EXPECT_FALSE(on.Has(part)) << ck::host::PartName(part);
  }
  EXPECT_TRUE(on.Has(Part::kScsCapture));
  // Without the engine's keys nothing is on.
  EXPECT_TRUE(ck::host::PartsOn(BuildWithout({"FMemory.Free(void*)"})) == PartSet());
}

TEST(GamePartsTest, APodGoesInByAnyWayThatIsLeft) {
  const std::string plain = "UPrimalInventoryComponent.AddItemObject(UPrimalItem*)";
  const std::string extended =
      "UPrimalInventoryComponent.AddItemObjectEx(UPrimalItem*,bool,bool,bool,bool,bool,bool,AShooterCharacter*,bool,"
      "UPrimalItem*,bool)";
  const std::string forced =
      "UPrimalItem.AddToInventory(UPrimalInventoryComponent*,bool,bool,FItemNetID*,bool,bool,bool,bool,bool,bool)";
  const PartSet two_left = ck::host::PartsOn(BuildWithout({plain, extended}));
  EXPECT_FALSE(two_left.Has(Part::kPlainAdd));
  EXPECT_TRUE(two_left.Has(Part::kInsertion));
  EXPECT_TRUE(two_left.Has(Part::kVanillaCapture));
  const PartSet none_left = ck::host::PartsOn(BuildWithout({plain, extended, forced}));
  EXPECT_FALSE(none_left.Has(Part::kInsertion));
  EXPECT_FALSE(none_left.Has(Part::kVanillaCapture));
  EXPECT_FALSE(none_left.Has(Part::kScsCapture));
  EXPECT_TRUE(none_left.Has(Part::kTransferButton)) << "the trigger still tells the player";
}

// The cache folder as text, with forward slashes.
std::string CacheRootFor(const std::u16string& module) {
  const std::u8string text = ck::host::FrameworkCacheRoot(module).generic_u8string();
  return std::string(text.begin(), text.end());
}

TEST(GamePartsTest, TheFrameworkCacheIsFoundBesideTheInstalledPlugin) {
  EXPECT_EQ(CacheRootFor(u"C:/Server/ShooterGame/Binaries/Win64/ArkApi/Plugins/Cradlekeep/Cradlekeep.dll"),
            "C:/Server/ShooterGame/Binaries/Win64/ArkApi/Cache");
  EXPECT_EQ(CacheRootFor(u"/srv/ark/ArkApi/plugins/Cradlekeep/Cradlekeep.dll"), "/srv/ark/ArkApi/Cache")
      << "the folder's name is compared as Windows compares it";
  EXPECT_EQ(CacheRootFor(u"/build/bin/libcradlekeep.so"), "ArkApi/Cache") << "elsewhere, below the working directory";
  EXPECT_EQ(CacheRootFor(u""), "ArkApi/Cache");
}

// A member bound as missing throws at its first use and never reaches the
// framework, whose answer would be a stall and a bare rethrow.
class GameKeyBindingTest : public cktest::SimWorldTest {
 protected:
  void TearDown() override {
    ck::host::BindGameKeys({});
    SimWorldTest::TearDown();
  }
};

TEST_F(GameKeyBindingTest, AMissingMemberIsNeverAskedFor) {
  fw().build.SetMissingKeys({"APrimalCharacter.MountedDino", "APrimalDinoCharacter.Destroy(bool,bool)",
                             "UPrimalInventoryComponent.bCanInventoryItems"});
  ck::host::BindGameKeys(
      BuildWithout({"APrimalCharacter.MountedDino", "APrimalDinoCharacter.Destroy(bool,bool)",
                    "UPrimalInventoryComponent.bCanInventoryItems"}));
  char object[4096] = {};
  EXPECT_FALSE(ck::game::kCharacterMountedDino.Present());
  EXPECT_THROW(ck::game::kCharacterMountedDino.In(object), ck::host::MissingGameKey);
  EXPECT_THROW(ck::game::kDinoDestroy(nullptr, false, false), ck::host::MissingGameKey);
  EXPECT_THROW((void)ck::game::kInventoryCanInventoryItems.Read(object), ck::host::MissingGameKey);
  EXPECT_EQ(ck::game::kCharacterMountedDino.In(nullptr), nullptr) << "a null object is still never looked up";
  EXPECT_TRUE(fw().build.Requests().empty());
  EXPECT_EQ(fw().clock.Now(), simfw::SimClock::kStartNanoseconds) << "no stall";
}

TEST_F(GameKeyBindingTest, BindingForgetsWhatTheFrameworkAnsweredBefore) {
  char object[4096] = {};
  auto* field = ck::game::kCharacterCarryingDino.In(object);
  ASSERT_NE(field, nullptr);
  ck::host::BindGameKeys(BuildWithout({"APrimalCharacter.CarryingDino"}));
  EXPECT_THROW(ck::game::kCharacterCarryingDino.In(object), ck::host::MissingGameKey)
      << "an offset kept from an earlier build is not used for a build without the key";
  ck::host::BindGameKeys({});
  EXPECT_EQ(ck::game::kCharacterCarryingDino.In(object), field);
}

TEST_F(GameKeyBindingTest, AFunctionTheFrameworkAnswersNullForIsMissingFromThenOn) {
  fw().build.SetMissingKeys({"APrimalDinoCharacter.Destroy(bool,bool)"});
  fw().build.SetHooksDoNotThrow(true);
  ck::host::BindGameKeys({});
  EXPECT_THROW(ck::game::kDinoDestroy(nullptr, false, false), ck::host::MissingGameKey);
  EXPECT_THROW(ck::game::kDinoDestroy(nullptr, false, false), ck::host::MissingGameKey);
  EXPECT_EQ(fw().build.Requests().size(), 1u) << "asked once, then known to be missing";
  EXPECT_FALSE(ck::game::kDinoDestroy.Present());
}

}  // namespace
