// The simulated framework serves a game build as the released framework
// does: a key the build lacks is answered with the critical line, a 10 s
// stall and a bare rethrow (or null, for a function, with HooksDoNotThrow),
// and its offsets cache on disk is the framework's.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "asa/asa.h"
#include "host/game/cache_check/offsets_cache.h"
#include "support/sim_world.h"

namespace {

void Detour() {}

class GameBuildTest : public cktest::SimWorldTest {
 protected:
  std::vector<simfw::LogRecord> FrameworkLines() { return fw().logs.RecordsOf("AsaApi"); }
};

TEST_F(GameBuildTest, AMissingKeyStallsTheCallerThenRaisesWithNothingInFlight) {
  fw().build.SetMissingKeys({"APrimalCharacter.MountedDino", "UPrimalInventoryComponent.bCanInventoryItems",
                             "APrimalDinoCharacter.Destroy(bool,bool)"});
  const int64 start = fw().clock.Now();
  char object[64] = {};
  EXPECT_THROW(::GetAddress(object, "APrimalCharacter.MountedDino"), simfw::BareRethrow);
  EXPECT_THROW(::GetBitField(object, "UPrimalInventoryComponent.bCanInventoryItems"), simfw::BareRethrow);
  EXPECT_THROW(::GetAddress("APrimalDinoCharacter.Destroy(bool,bool)"), simfw::BareRethrow);
  EXPECT_EQ(fw().clock.Now() - start, 3 * simfw::GameBuild::kStallNanoseconds) << "10 s for each request";
  EXPECT_EQ(fw().build.Requests(), (std::vector<std::string>{"APrimalCharacter.MountedDino",
                                                             "UPrimalInventoryComponent.bCanInventoryItems",
                                                             "APrimalDinoCharacter.Destroy(bool,bool)"}));
  const auto lines = FrameworkLines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].level, "critical");
  EXPECT_EQ(lines[0].text, "Failed to get the offset of 'APrimalCharacter.MountedDino'.\nRequested by: plugin Cradlekeep");
  EXPECT_EQ(lines[1].text,
            "Failed to get the bitfield address of 'UPrimalInventoryComponent.bCanInventoryItems'.\n"
            "Requested by: plugin Cradlekeep");
  EXPECT_TRUE(lines[0].flushed);
  EXPECT_NE(::GetAddress("APrimalDinoCharacter.GetPrivateStaticClass()"), nullptr) << "the other keys are there";
}

TEST_F(GameBuildTest, HooksDoNotThrowAnswersNullForFunctionsAndRefusesTheHook) {
  fw().build.SetMissingKeys({"APrimalDinoCharacter.Destroy(bool,bool)",
                             "AShooterPlayerController.TryToForceUploadCharacter_Implementation()",
                             "APrimalCharacter.MountedDino"});
  fw().build.SetHooksDoNotThrow(true);
  const int64 start = fw().clock.Now();
  EXPECT_EQ(::GetAddress("APrimalDinoCharacter.Destroy(bool,bool)"), nullptr);
  void* original = nullptr;
  EXPECT_FALSE(AsaApi::GetHooks().SetHook("AShooterPlayerController.TryToForceUploadCharacter_Implementation()",
                                          reinterpret_cast<void*>(&Detour), &original));
  EXPECT_EQ(fw().clock.Now(), start) << "no stall";
  EXPECT_EQ(FrameworkLines().back().text,
            "[Cradlekeep] AShooterPlayerController.TryToForceUploadCharacter_Implementation() does not exist");
  char object[64] = {};
  EXPECT_THROW(::GetAddress(object, "APrimalCharacter.MountedDino"), simfw::BareRethrow)
      << "a field still stalls and throws";
}

TEST_F(GameBuildTest, TheCacheOnDiskHoldsWhatTheBuildHas) {
  const auto root = std::filesystem::temp_directory_path() / "cradlekeep-game-build-test";
  std::filesystem::remove_all(root);
  fw().build.SetMissingKeys({"APrimalCharacter.MountedDino", "UPrimalInventoryComponent.bCanInventoryItems"});
  fw().build.WriteCache(root, fw().registry, simfw::OffsetsCacheState::kPresent);
  std::string why;
  const auto folder = ck::host::FindActiveCacheFolder(root / "ArkApi" / "Cache", why);
  ASSERT_TRUE(folder) << why;
  const std::string_view offsets[] = {"APrimalCharacter.MountedDino", "APrimalCharacter.CarryingDino",
                                      "APrimalDinoCharacter.Destroy(bool,bool)"};
  std::vector<bool> present;
  ASSERT_TRUE(ck::host::ScanCacheKeys(*folder / "cached_offsets.cache", 8, offsets, present).readable);
  EXPECT_EQ(present, (std::vector<bool>{false, true, true}));
  const std::string_view bits[] = {"UPrimalInventoryComponent.bCanInventoryItems", "APrimalBuff.bCausesCryoSickness"};
  ASSERT_TRUE(ck::host::ScanCacheKeys(*folder / "cached_bitfields.cache", 32, bits, present).readable);
  EXPECT_EQ(present, (std::vector<bool>{false, true}));

  fw().build.WriteCache(root, fw().registry, simfw::OffsetsCacheState::kCorrupt);
  EXPECT_FALSE(ck::host::ScanCacheKeys(*folder / "cached_offsets.cache", 8, offsets, present).readable);
  std::filesystem::remove_all(root);
}

}  // namespace
