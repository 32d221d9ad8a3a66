#include "temporary_pods/uncryo_observation.h"

#include <optional>
#include <unordered_map>

#include "config/plugin_config.h"
#include "core/boundary.h"
#include "state/plugin_state.h"
#include "host/engine/class_loading.h"
#include "host/framework/clock.h"
#include "host/framework/framework.h"
#include "host/game/catalogue.h"
#include "journal/identities.h"
#include "journal/journal.h"
#include "host/engine/weak_pointer.h"
#include "core/log.h"
#include "temporary_pods/cleanup_passes.h"
#include "temporary_pods/cryo_sickness.h"
#include "temporary_pods/custom_item_data.h"
#include "temporary_pods/inventory_sweep.h"
#include "temporary_pods/uncryo_delegates.h"

namespace ck::temporary_pods {

namespace {

constexpr double kTryMemorySeconds = 10.0;

std::unordered_map<uint64, state::RecentUnCryoTry>& RecentTries() { return state::Current().recent_tries; }

bool PodSettingsOn() {
  const config::PluginConfig& settings = config::Current();
  return settings.Enabled && settings.TemporaryVanillaCryopods;
}

}  // namespace

void ObserveTemporaryPodUse(AShooterPlayerController* controller, UPrimalInventoryComponent* inventory, FItemNetID id,
                            const std::string& label, PodUseObservation& observation) {
  if (!PodSettingsOn()) return;
  UPrimalItem* item = FindItemById(inventory, id);
  if (item == nullptr || !IsTemporaryPod(item)) return;
  const bool payload = HasCreaturePayload(item);
  observation.used = true;
  observation.item_id = game::kItemID.Read(item);
  observation.has_id = true;
  if (log::TraceEnabled()) {
    log::Info("Cradlekeep saw temporary vanilla cryopod use via {} itemId=({}, {}) {}", label, id.ItemID1, id.ItemID2,
              DescribeCustomItemData(item));
  }
  if (!payload) return;
  ClearCryoCooldown(controller, label);
  ScheduleCleanupPasses(controller, observation.item_id);
}

void PruneRecentUnCryoTries() {
  const int64 now = host::SteadyNowNanoseconds();
  auto& tries = RecentTries();
  for (auto it = tries.begin(); it != tries.end();) {
    if (static_cast<double>(now - it->second.time) / 1e9 > kTryMemorySeconds) {
      it = tries.erase(it);
    } else {
      ++it;
    }
  }
}

void HandleTryUnCryo(const void* params) {
  auto* controller = game::kTryUnCryoController.Read(params);
  auto* item = game::kTryUnCryoItem.Read(params);
  if (!PodSettingsOn() || controller == nullptr || item == nullptr || !IsTemporaryPod(item)) return;
  const bool payload = HasCreaturePayload(item);
  if (log::TraceEnabled()) {
    log::Info("Cradlekeep saw temporary vanilla cryopod via OnTryUnCryoDino beforeSpawn={} success={} {}",
              game::kTryUnCryoBeforeSpawn.Read(params), game::kTryUnCryoSuccess.Read(params),
              DescribeCustomItemData(item));
  }
  if (!payload) return;
  PruneRecentUnCryoTries();
  // A controller the engine gives no identity cannot be told from another:
  // it gets no record.
  const host::ObjectIdentity player = host::IdentityOf(controller);
  if (player != 0) {
    RecentTries()[player] = state::RecentUnCryoTry{host::SteadyNowNanoseconds(), game::kItemID.Read(item), true};
  }
  ClearCryoCooldown(controller, "OnTryUnCryoDino");
}

namespace {

// The try remembered for the player, taken out of the records; none when
// there is none.
std::optional<state::RecentUnCryoTry> TakeRecentTry(const void* controller) {
  const host::ObjectIdentity player = host::IdentityOf(controller);
  if (player == 0) return std::nullopt;
  auto found = RecentTries().find(player);
  if (found == RecentTries().end()) return std::nullopt;
  const state::RecentUnCryoTry record = found->second;
  RecentTries().erase(found);
  return record;
}

// The pod the try named, by its remembered id, once it holds no creature
// data (a try whose release failed may be followed by the post broadcast of
// another pod). 1 when it went.
int RemoveTriedPod(UPrimalInventoryComponent* inventory, const state::RecentUnCryoTry& tried, const Removal& removal) {
  if (!tried.has_id) return 0;
  UPrimalItem* original = FindItemById(inventory, tried.item_id);
  if (original == nullptr || HasCreaturePayload(original) || !RemoveItemById(inventory, tried.item_id, removal)) {
    return 0;
  }
  log::Trace("Cradlekeep force-removed temporary vanilla cryopod by original itemId=({}, {}) after {}",
             tried.item_id.ItemID1, tried.item_id.ItemID2, "OnPostUnCryoDino");
  return 1;
}

// The player whose character holds the inventory, among the players online;
// null when none does (the inventory is not a player's).
AShooterPlayerController* PlayerHolding(UPrimalInventoryComponent* inventory) {
  auto* controllers = game::kWorldPlayerControllerList.In(host::CurrentWorld());
  if (controllers == nullptr || inventory == nullptr) return nullptr;
  for (int32 i = 0; i < controllers->Num(); ++i) {
    APlayerController* controller = host::ResolveWeak(&(*controllers)[i]);
    if (controller != nullptr && game::kCharacterInventory.Read(host::PlayerCharacterOf(controller)) == inventory) {
      return reinterpret_cast<AShooterPlayerController*>(controller);
    }
  }
  return nullptr;
}

// The emptied pod the broadcast names, by its current identity, when it is
// one of the plugin's temporary pods and not the tried pod (already
// handled): a recent try of a temporary pod says nothing about the pod this
// release emptied, which may be the player's own. Tried in the player's
// inventory, then in the item's own inventory (credited to the player who
// holds that one), then by id. 1 when it went; a warn line when it could not
// go.
int RemoveEmptiedPod(UPrimalInventoryComponent* inventory, UPrimalItem* emptied,
                     const std::optional<state::RecentUnCryoTry>& tried, const Removal& removal) {
  if (emptied == nullptr || !IsTemporaryPod(emptied) || HasCreaturePayload(emptied)) return 0;
  const FItemNetID post_id = game::kItemID.Read(emptied);
  if (tried && tried->has_id && SameItemId(post_id, tried->item_id)) return 0;
  bool done = RemoveItemObject(inventory, emptied, removal);
  if (!done) {
    auto* owner = host::ResolveWeak(game::kItemOwnerInventory.In(emptied));
    if (owner != nullptr && owner != inventory) {
      done = RemoveItemObject(owner, emptied, Removal{PlayerHolding(owner), removal.by, removal.creature});
    }
  }
  if (!done) done = RemoveItemById(inventory, post_id, removal);
  if (!done) {
    log::Warn(
        "Cradlekeep could not force-remove temporary vanilla cryopod by post itemId=({}, {}) after {}; owner "
        "inventory may not contain the item yet",
        post_id.ItemID1, post_id.ItemID2, "OnPostUnCryoDino");
    return 0;
  }
  log::Trace("Cradlekeep force-removed temporary vanilla cryopod by post itemId=({}, {}) after {}", post_id.ItemID1,
             post_id.ItemID2, "OnPostUnCryoDino");
  return 1;
}

// The pod's id, when there is a pod and its id can be read.
std::optional<FItemNetID> PodIdOf(UPrimalItem* pod) {
  std::optional<FItemNetID> id;
  if (pod != nullptr) core::Contain([&] { id = game::kItemID.Read(pod); }, [](const char*) {});
  return id;
}

// The pod this release emptied: the one the broadcast names; the tried pod
// only when the broadcast names none (or one whose id cannot be read).
std::optional<FItemNetID> ReleasedPodId(UPrimalItem* emptied, const std::optional<state::RecentUnCryoTry>& tried) {
  if (std::optional<FItemNetID> id = PodIdOf(emptied)) return id;
  if (tried && tried->has_id) return tried->item_id;
  return std::nullopt;
}

void JournalRelease(const journal::PlayerSnapshot& player, const journal::CreatureSnapshot& creature,
                    const std::optional<FItemNetID>& pod) noexcept {
  core::Contain(
      [&] {
        journal::Line line("release");
        journal::Add(line, player);
        journal::Add(line, creature);
        if (pod) journal::AddItem(line, "item", *pod);
        journal::Record(line);
      },
      [](const char*) {});
}

}  // namespace

void HandlePostUnCryo(const void* params) {
  auto* controller = game::kPostUnCryoController.Read(params);
  auto* creature = game::kPostUnCryoCreature.Read(params);
  auto* emptied = game::kPostUnCryoEmptiedItem.Read(params);
  if (!PodSettingsOn() || controller == nullptr) return;
  PruneRecentUnCryoTries();

  // A release of a temporary pod: one the player tried lately, or the
  // emptied pod carries the marker.
  const std::optional<state::RecentUnCryoTry> tried = TakeRecentTry(controller);
  if (!tried && !IsTemporaryPod(emptied)) return;
  if (log::TraceEnabled()) {
    const FItemNetID original = tried ? tried->item_id : FItemNetID{0, 0};
    log::Info(
        "Cradlekeep saw temporary vanilla cryopod via OnPostUnCryoDino recentTry={} originalItemId=({}, {}) dino={} "
        "emptyItem={} emptyItemSummary={}",
        tried.has_value(), original.ItemID1, original.ItemID2, static_cast<const void*>(creature),
        static_cast<const void*>(emptied), DescribeCustomItemData(emptied));
  }
  const journal::PlayerSnapshot player = journal::SnapPlayer(controller);
  const journal::CreatureSnapshot released = journal::SnapCreature(creature, controller, false);
  const std::optional<FItemNetID> released_id = ReleasedPodId(emptied, tried);
  JournalRelease(player, released, released_id);
  ClearCryoCooldown(controller, "OnPostUnCryoDino");
  const int cleared = ClearCryoSickness(reinterpret_cast<APrimalCharacter*>(creature), "OnPostUnCryoDino");
  if (cleared > 0) JournalSicknessCleared(player, released, cleared);

  int removed = 0;
  AShooterCharacter* pawn = host::PlayerCharacterOf(controller);
  auto* inventory = game::kCharacterInventory.Read(pawn);
  if (config::Current().AutoRemoveTemporaryVanillaCryopods && pawn != nullptr && inventory != nullptr) {
    // The released creature is named on the removal of the pod it left,
    // and on no other pod's.
    const Removal removal{controller, "release"};
    const Removal its_pod{controller, "release", creature != nullptr ? &released : nullptr};
    if (tried) {
      const bool same = released_id && SameItemId(*released_id, tried->item_id);
      removed += RemoveTriedPod(inventory, *tried, same ? its_pod : removal);
    }
    removed += RemoveEmptiedPod(inventory, emptied, tried, its_pod);
    removed += SweepEmptyTemporaryPods(inventory, removal);
    game::kInventoryRefresh(inventory);
  }
  if (removed > 0 || cleared > 0) {
    log::Trace("Cradlekeep OnPostUnCryoDino removed {} pod(s), cleared {} sickness buff(s)", removed, cleared);
  }
}

std::size_t RecentUnCryoTryCount() { return RecentTries().size(); }

}  // namespace ck::temporary_pods
