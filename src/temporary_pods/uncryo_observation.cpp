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

// The emptied pod the broadcast names, by its current identity, when it is
// one of the plugin's temporary pods and not the tried pod (already
// handled): a recent try of a temporary pod says nothing about the pod this
// release emptied, which may be the player's own. Tried in the player's
// inventory, then in the item's own inventory, then by id. 1 when it went; a
// warn line when it could not go.
int RemoveEmptiedPod(UPrimalInventoryComponent* inventory, UPrimalItem* emptied,
                     const std::optional<state::RecentUnCryoTry>& tried, const Removal& removal) {
  if (emptied == nullptr || !IsTemporaryPod(emptied) || HasCreaturePayload(emptied)) return 0;
  const FItemNetID post_id = game::kItemID.Read(emptied);
  if (tried && tried->has_id && SameItemId(post_id, tried->item_id)) return 0;
  bool done = RemoveItemObject(inventory, emptied, removal);
  if (!done) {
    auto* owner = host::ResolveWeak(game::kItemOwnerInventory.In(emptied));
    if (owner != nullptr) done = RemoveItemObject(owner, emptied, removal);
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

void JournalRelease(AShooterPlayerController* controller, APrimalDinoCharacter* creature,
                    const std::optional<FItemNetID>& pod) {
  journal::Line line("release");
  journal::AddPlayer(line, controller);
  journal::AddCreature(line, creature, "", false);
  if (pod) journal::AddItem(line, "item", *pod);
  journal::Record(line);
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
  JournalRelease(controller, creature, tried ? std::optional<FItemNetID>(tried->item_id) : PodIdOf(emptied));
  ClearCryoCooldown(controller, "OnPostUnCryoDino");
  const int cleared = ClearCryoSickness(reinterpret_cast<APrimalCharacter*>(creature), "OnPostUnCryoDino");
  if (SicknessClearingOn()) JournalSicknessCleared(controller, creature);

  int removed = 0;
  AShooterCharacter* pawn = host::PlayerCharacterOf(controller);
  auto* inventory = game::kCharacterInventory.Read(pawn);
  if (config::Current().AutoRemoveTemporaryVanillaCryopods && pawn != nullptr && inventory != nullptr) {
    const Removal removal{controller, "release"};
    if (tried) removed += RemoveTriedPod(inventory, *tried, removal);
    removed += RemoveEmptiedPod(inventory, emptied, tried, removal);
    removed += SweepEmptyTemporaryPods(inventory, removal);
    game::kInventoryRefresh(inventory);
  }
  if (removed > 0 || cleared > 0) {
    log::Trace("Cradlekeep OnPostUnCryoDino removed {} pod(s), cleared {} sickness buff(s)", removed, cleared);
  }
}

std::size_t RecentUnCryoTryCount() { return RecentTries().size(); }

}  // namespace ck::temporary_pods
