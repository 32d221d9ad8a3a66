#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "host/game/catalogue.h"
#include "sim/game/hooked_functions.h"
#include "state/plugin_state.h"
#include "sim/game/buffs.h"
#include "support/capture_fixture.h"
#include "temporary_pods/scan/auto_remove_scan.h"
#include "temporary_pods/cleanup_passes.h"
#include "temporary_pods/cryo_sickness.h"
#include "temporary_pods/uncryo_delegates.h"
#include "temporary_pods/uncryo_observation.h"

namespace {

using namespace ck::temporary_pods;

class CleanupTest : public cktest::CaptureTest {
 protected:
  void StartPods(const std::string& config) {
    sim::CreatureSpec splash = Creature("splash");
    game().AddCreature(splash);
    sim::PlayerSpec ava;
    ava.id = "ava";
    sim::ItemSpec pod;
    pod.id = "pod";
    pod.cryopod_of = "splash";
    pod.temporary_pod = true;
    ava.inventory.push_back(pod);
    game().AddPlayer(ava);
    WriteConfig(config);
    Start();
    MarkTimeline();
  }
  sim::Item* PodItem() { return Items().empty() ? nullptr : Items()[0]; }
  void Seconds(double s) { game().Advance(s); }
  std::vector<std::string> LinesContaining(const std::string& part) {
    std::vector<std::string> out;
    for (const auto& line : Timeline()) {
      if (line.find(part) != std::string::npos) out.push_back(line);
    }
    return out;
  }
};

// A use queues fourteen passes, due 0.5, 1, 1.5, 2, 3, 4.5, 6, 8, 10, 12.5,
// 15, 20, 25 and 30 s after it; the pass that removes the pod cancels the
// ones still waiting for that pod.
TEST_F(CleanupTest, PassesFallDueOnTheirScheduleAndPassFiveCancelsNine) {
  StartPods(R"({"CaptureMode": "Vanilla", "DebugLogging": true, "TemporaryVanillaCryopodCleanupIntervalSeconds": 0})");
  sim::Item* pod = PodItem();
  ScheduleCleanupPasses(Controller(), pod->ItemID);
  EXPECT_EQ(PendingCleanupPassCount(), 14u);
  Seconds(0.49);
  EXPECT_TRUE(LinesContaining("delayed pass 1 ").empty()) << "not due before 0.5 s";
  Seconds(0.01);
  EXPECT_EQ(LinesContaining("delayed pass 1 removed").size(), 1u) << "due at exactly 0.5 s";
  Seconds(2.4);  // 2.9 s: passes 2 to 4 (1, 1.5 and 2 s) have run
  EXPECT_EQ(PendingCleanupPassCount(), 10u) << "14 - 4";
  sim::EmptyCryoData(pod);
  Seconds(0.1);  // 3.0 s: pass 5 removes the pod and cancels passes 6 to 14
  EXPECT_EQ(PendingCleanupPassCount(), 0u);
  EXPECT_EQ(LinesContaining("canceled"),
            std::vector<std::string>{"info: Cradlekeep canceled 9 pending targeted temporary vanilla cryopod cleanup "
                                     "pass(es) for itemId=(1, 1592590343)"});
  EXPECT_TRUE(Items().empty());
  EXPECT_FALSE(CleanupTickRegistered()) << "the tick removed itself on the tick of the last pass";
  EXPECT_TRUE(fw().commands.TickCallbackIds().empty());
}

// A new use of a pod starts its passes over in place of the ones still
// waiting: a release that keeps failing leaves fourteen passes pending, not
// fourteen more per use. Another pod's passes are its own.
TEST_F(CleanupTest, ANewUseOfThePodReplacesItsWaitingPassesAndLeavesOtherPodsAlone) {
  StartPods(R"({"CaptureMode": "Vanilla", "DebugLogging": true, "TemporaryVanillaCryopodCleanupIntervalSeconds": 0})");
  sim::Item* pod = PodItem();
  sim::Item* other = game().NewItem(game().ClassNamed(sim::Game::kVanillaCryopodClass));
  sim::CustomData data = sim::MakeCryoData("moss");
  sim::AppendCustomData(other->CustomItemDatas, data);
  sim::DestroyCustomData(data);
  sim::AddMarker(other);
  Ava().inventory->Place(other);
  ScheduleCleanupPasses(Controller(), pod->ItemID);
  ScheduleCleanupPasses(Controller(), other->ItemID);
  Seconds(1);  // the passes at 0.5 and 1 s of both uses have run
  EXPECT_EQ(PendingCleanupPassCount(), 24u);
  for (int use = 0; use < 300; ++use) ScheduleCleanupPasses(Controller(), pod->ItemID);
  EXPECT_EQ(PendingCleanupPassCount(), 26u) << "the last use's fourteen and the other pod's twelve";
  Seconds(0.5);  // 1.5 s: the first pass of the last use, the third of the other pod's
  EXPECT_EQ(LinesContaining("delayed pass 1 removed").size(), 3u) << "0.5 s for each pod, 1.5 s for the last use";
  EXPECT_EQ(LinesContaining("delayed pass 3 removed").size(), 1u) << "only the other pod's";
  sim::EmptyCryoData(pod);
  Seconds(0.5);  // 2 s: the passes due then sweep the emptied pod away
  EXPECT_EQ(Items(), std::vector<sim::Item*>{other}) << "the other pod still waits for its creature to leave";
}

TEST_F(CleanupTest, NothingIsQueuedWithAutoRemoveOff) {
  StartPods(R"({"CaptureMode": "Vanilla", "AutoRemoveTemporaryVanillaCryopods": false})");
  ScheduleCleanupPasses(Controller(), PodItem()->ItemID);
  EXPECT_EQ(PendingCleanupPassCount(), 0u);
  EXPECT_FALSE(CleanupTickRegistered());
}

TEST_F(CleanupTest, APodUsedFromAnotherInventoryIsNotRemovedByThePasses) {
  StartPods(R"({"CaptureMode": "Vanilla", "TemporaryVanillaCryopodCleanupIntervalSeconds": 0})");
  sim::Item* pod = PodItem();
  Ava().inventory->Take(pod);
  auto* box = sim::Objects().Create<sim::Inventory>(game().ClassNamed("PrimalInventoryComponent"), "Box");
  box->Place(pod);
  sim::EmptyCryoData(pod);
  ScheduleCleanupPasses(Controller(), pod->ItemID);
  Seconds(31);
  EXPECT_TRUE(box->Holds(pod));
  EXPECT_FALSE(CleanupTickRegistered());
  sim::Objects().Destroy(pod);
}

TEST_F(CleanupTest, AUsedPodThatIsAlreadyEmptyQueuesNothingButTheNearbyCleanupRuns) {
  StartPods(R"({"CaptureMode": "Vanilla", "DebugLogging": true})");
  sim::CreatureSpec moss = Creature("moss");
  moss.team = 1001;
  moss.cryo_sickness = true;
  sim::EmptyCryoData(PodItem());
  game().AddCreature(moss);
  game().UseItem(Ava(), PodItem(), false, false);
  EXPECT_EQ(PendingCleanupPassCount(), 0u);
  EXPECT_TRUE(LinesContaining("scheduled").empty());
  EXPECT_TRUE(LinesContaining("deactivated cryo cooldown").empty());
  EXPECT_EQ(LinesContaining("nearby sickness cleanup after temporary vanilla cryopod use found 1 sick same-team dino(s), cleared 1").size(), 1u);
}

TEST_F(CleanupTest, AUseOfAnItemThatIsNoTemporaryPodChangesNothing) {
  StartPods(R"({"CaptureMode": "Vanilla", "DebugLogging": true})");
  sim::Item* stone = game().NewItem(game().ClassNamed("PrimalItem"));
  Ava().inventory->Place(stone);
  game().UseItem(Ava(), stone, false, false);
  EXPECT_TRUE(Timeline().empty());
}

TEST_F(CleanupTest, WithoutAGameModeNoBroadcastIsRecognisedAndNoFailureIsRecorded) {
  StartPods(R"({"CaptureMode": "Vanilla"})");
  fw().utils.SetGameMode(nullptr);
  EXPECT_FALSE(ResolveUnCryoDelegates());
  EXPECT_FALSE(DelegateFields().resolution_failed);
  fw().utils.SetGameMode(reinterpret_cast<AShooterGameMode*>(game().game_mode()));
  EXPECT_TRUE(ResolveUnCryoDelegates());
  EXPECT_TRUE(Timeline().empty());
}

TEST_F(CleanupTest, DelegateFieldsResolvingToNullWarnOnceAndAreIgnoredUntilTheNextStart) {
  StartPods(R"({"CaptureMode": "Vanilla"})");
  // A game mode placed so that its post delegate field lands on address zero.
  // Field offsets are resolved once per process: here with the real game mode.
  auto* game_mode = reinterpret_cast<AShooterGameMode*>(game().game_mode());
  ck::game::kGameModeOnTryUnCryoDino.In(game_mode);
  const auto post_field = reinterpret_cast<std::uintptr_t>(ck::game::kGameModeOnPostUnCryoDino.In(game_mode));
  fw().utils.SetGameMode(reinterpret_cast<AShooterGameMode*>(reinterpret_cast<std::uintptr_t>(game_mode) - post_field));
  EXPECT_FALSE(ResolveUnCryoDelegates());
  EXPECT_FALSE(ResolveUnCryoDelegates());
  game().UseItem(Ava(), PodItem(), false, false);
  EXPECT_EQ(LinesContaining("uncryo delegate"),
            std::vector<std::string>{"warn: Cradlekeep ASA uncryo delegate fields resolved to null"});
  EXPECT_EQ(PodItem(), Items()[0]) << "the post broadcast was not recognised: the emptied pod waits for the passes";
}

// A try broadcast's block as the game lays it out: the controller at 0,
// the pod at 40.
struct TryBlock {
  alignas(8) unsigned char bytes[56] = {};
  TryBlock(const void* controller, const void* pod) {
    std::memcpy(bytes, &controller, sizeof controller);
    std::memcpy(bytes + 40, &pod, sizeof pod);
  }
};

// No use request comes first here: the match itself must notice that the
// game mode whose fields the plugin kept is not the current one.
TEST_F(CleanupTest, ABroadcastOnAReplacedGameModesFieldIsNotReadAndTheNewGameModesIs) {
  StartPods(R"({"CaptureMode": "Vanilla", "DebugLogging": true})");
  ASSERT_TRUE(ResolveUnCryoDelegates());
  game().ReplaceGameMode();
  TryBlock block(Controller(), PodItem());
  sim::MulticastDelegateDispatch::Call(&game().replaced_game_mode()->OnTryUnCryoDino, block.bytes);
  EXPECT_EQ(RecentUnCryoTryCount(), 0u);
  EXPECT_TRUE(LinesContaining("via OnTryUnCryoDino").empty());
  EXPECT_EQ(LinesContaining("belong to a replaced game mode").size(), 1u);
  auto* current = reinterpret_cast<AShooterGameMode*>(game().game_mode());
  EXPECT_EQ(DelegateFields().try_field, ck::game::kGameModeOnTryUnCryoDino.In(current));
  EXPECT_EQ(DelegateFields().post_field, ck::game::kGameModeOnPostUnCryoDino.In(current));
  sim::MulticastDelegateDispatch::Call(&game().game_mode()->OnTryUnCryoDino, block.bytes);
  EXPECT_EQ(RecentUnCryoTryCount(), 1u);
  EXPECT_EQ(LinesContaining("via OnTryUnCryoDino").size(), 1u);
}

TEST_F(CleanupTest, AUseRequestResolvesTheFieldsOfANewGameModeBeforeItsBroadcasts) {
  StartPods(R"({"CaptureMode": "Vanilla"})");
  ASSERT_TRUE(ResolveUnCryoDelegates());
  game().ReplaceGameMode();
  game().UseItem(Ava(), PodItem(), false, false);
  auto* current = reinterpret_cast<AShooterGameMode*>(game().game_mode());
  EXPECT_EQ(DelegateFields().try_field, ck::game::kGameModeOnTryUnCryoDino.In(current));
  EXPECT_TRUE(Items().empty()) << "the post broadcast was read: the emptied pod went at once";
}

TEST_F(CleanupTest, TheScanPeriodIsAtLeastOneSecondAndCountsFromTheTickThatRan) {
  EXPECT_EQ(AutoRemovePeriodMilliseconds(0.5), 1000);
  EXPECT_EQ(AutoRemovePeriodMilliseconds(0.25), 1000);
  EXPECT_EQ(AutoRemovePeriodMilliseconds(2.5), 2500);
  EXPECT_EQ(AutoRemovePeriodMilliseconds(1.0004), 1000) << "fractions of a millisecond are dropped";
  // A century of 365.25-day years: 100 * 365.25 * 86'400 s = 3'155'760'000 s.
  EXPECT_EQ(AutoRemovePeriodMilliseconds(3'155'760'000.0), 3'155'760'000'000);
  EXPECT_EQ(AutoRemovePeriodMilliseconds(1e300), 3'155'760'000'000)
      << "an interval beyond a century is a century, so no time computed from it overflows";

  game_.reset();
  sim::ServerSettings one_tick_a_second;
  one_tick_a_second.tick_rate = 1;
  game_ = std::make_unique<sim::Game>(one_tick_a_second, sim::ModSettings{});
  StartPods(R"({"CaptureMode": "SCS", "DebugLogging": true, "TemporaryVanillaCryopodCleanupIntervalSeconds": 0.5})");
  sim::EmptyCryoData(PodItem());
  sim::Item* second = game().NewItem(game().ClassNamed(sim::Game::kVanillaCryopodClass));
  sim::AddMarker(second);
  Seconds(0.9);  // one tick a second: the first scan comes one period after start
  EXPECT_EQ(Items().size(), 1u);
  Seconds(0.1);
  EXPECT_TRUE(Items().empty());
  Ava().inventory->Place(second);
  Seconds(0.9);
  EXPECT_EQ(Items().size(), 1u);
  Seconds(0.1);  // the tick at 2 s: one period after the scan
  EXPECT_TRUE(Items().empty());
  EXPECT_EQ(LinesContaining("scan removed").size(), 2u);
}

// A round's tick sweeps whole inventories up to the slice's items: 70
// players with 300 items each are one tick; one item more makes two, and
// the second sweeps only the player who did not fit. An inventory larger
// than a slice still goes whole, alone in its tick.
TEST_F(CleanupTest, SeventyPlayersOfThreeHundredItemsAreOneTickAndOneItemMoreIsTwo) {
  static_assert(kScanSliceItems == 70 * 300);
  for (int p = 0; p < 70; ++p) {
    sim::PlayerSpec spec;
    spec.id = "p" + std::to_string(p);
    spec.filler_items = 300;
    game().AddPlayer(spec);
  }
  WriteConfig(R"({"CaptureMode": "Vanilla", "TemporaryVanillaCryopodCleanupIntervalSeconds": 0})");
  Start();
  auto players_seen_by_tick = [] {
    ck::state::Current().scan_round.active = false;  // a new round
    std::vector<int> seen;
    for (bool done = false; !done;) {
      done = SweepScanSlice(0);
      seen.push_back(ck::state::Current().scan_round.players_seen);
    }
    return seen;
  };
  auto add_items = [this](std::size_t player, int n) {
    sim::Player& whom = *game().Players()[player];
    for (int i = 0; i < n; ++i) whom.inventory->Place(game().NewItem(game().ClassNamed("PrimalItem")));
  };
  EXPECT_EQ(players_seen_by_tick(), std::vector<int>{70});
  add_items(69, 1);
  EXPECT_EQ(players_seen_by_tick(), (std::vector<int>{69, 70})) << "the last player, one item over, waits a tick";
  add_items(0, kScanSliceItems + 1 - 300);
  EXPECT_EQ(players_seen_by_tick(), (std::vector<int>{1, 70}))
      << "an inventory larger than a slice goes whole, alone in its tick; the other 69 (20,701 items) fit the next";
}

TEST_F(CleanupTest, ATamedCreatureOfThePlayersTeamCountsAsSameTeam) {
  StartPods(R"({"CaptureMode": "Vanilla", "DebugLogging": true})");
  sim::CreatureSpec moss = Creature("moss");
  moss.cryo_sickness = true;
  game().AddCreature(moss);
  sim::DinoCharacter* dino = game().FindCreature("moss")->actor();
  dino->TargetingTeam = 7;
  dino->TamingTeamID = 0;
  Ava().controller->TargetingTeam = 0;
  EXPECT_EQ(ClearNearbyCryoSickness(Controller(), "test"), 0)
      << "team 0 (no team) turns the nearby clean-up off, also for a creature tamed by no team";
  EXPECT_TRUE(sim::HasCryoSickness(dino));
  Ava().controller->TargetingTeam = 1001;
  dino->TamingTeamID = 1001;
  EXPECT_EQ(ClearNearbyCryoSickness(Controller(), "test"), 1);
}

TEST_F(CleanupTest, TwoSickeningBuffsAreBothEndedWhenTheConfiguredOneIsNotEnough) {
  StartPods(R"({"CaptureMode": "Vanilla", "DebugLogging": true})");
  sim::CreatureSpec moss = Creature("moss");
  moss.buffs = {"Buff_FeverSickness", "Buff_BogSickness", "Buff_Happy"};
  moss.cryo_sickness = true;
  game().AddCreature(moss);
  sim::DinoCharacter* dino = game().FindCreature("moss")->actor();
  EXPECT_EQ(ClearCryoSickness(reinterpret_cast<APrimalCharacter*>(dino), "test"), 3);
  EXPECT_EQ(dino->Buffs.Num(), 1);
  EXPECT_EQ(game().ArgsOf("AActor.ForceNetUpdate").size(), 1u);
  EXPECT_EQ(LinesContaining("cleared 3 cryo sickness buff(s) after test").size(), 1u);
}

TEST_F(CleanupTest, AHealthyCreatureCostsNoNetworkUpdateAndNoLine) {
  StartPods(R"({"CaptureMode": "Vanilla", "DebugLogging": true})");
  sim::CreatureSpec moss = Creature("moss");
  game().AddCreature(moss);
  EXPECT_EQ(ClearCryoSickness(reinterpret_cast<APrimalCharacter*>(Dino("moss")), "test"), 0);
  EXPECT_TRUE(game().ArgsOf("AActor.ForceNetUpdate").empty());
  EXPECT_TRUE(Timeline().empty());
}

TEST_F(CleanupTest, ACooldownClearOnAPlayerWithoutAPawnStillAsksTheCheatManager) {
  StartPods(R"({"CaptureMode": "Vanilla"})");
  Ava().controller->Pawn = nullptr;
  ClearCryoCooldown(Controller(), "test");
  EXPECT_EQ(game().ArgsOf("UShooterCheatManager.ForceGiveBuff"), std::vector<std::string>{"Buff_CryoCooldown"});
  Ava().controller->Pawn = Ava().pawn;
}

}  // namespace
