#include "temporary_pods/uncryo_observation.h"

#include <unordered_map>

#include "config/plugin_config.h"
#include "state/plugin_state.h"
#include "core/boundary.h"
#include "host/clock.h"
#include "host/framework.h"
#include "host/game.h"
#include "host/weak_pointer.h"
#include "core/log.h"
#include "temporary_pods/cleanup_passes.h"
#include "temporary_pods/cryo_sickness.h"
#include "temporary_pods/custom_item_data.h"
#include "temporary_pods/inventory_sweep.h"
#include "temporary_pods/uncryo_delegates.h"

namespace ck::temporary_pods {

namespace {

constexpr double kTryMemorySeconds = 10.0;

std::unordered_map<const void*, state::RecentUnCryoTry>& RecentTries() { return state::Current().recent_tries; }

FItemNetID IdOf(UPrimalItem* item) { return game::kItemID.Read(item); }
bool SameId(const FItemNetID& a, const FItemNetID& b) { return a.ItemID1 == b.ItemID1 && a.ItemID2 == b.ItemID2; }

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
  observation.item_id = IdOf(item);
  observation.has_id = true;
  if (log::TraceEnabled()) {
    log::Info("Cradlekeep saw temporary vanilla cryopod use via {} itemId=({}, {}) {}", label, id.ItemID1, id.ItemID2,
              DescribeCustomItemData(item));
  }
  if (!payload) return;
  ClearCryoCooldown(controller, label);
  ScheduleCleanupPasses(controller, observation.item_id);
}

bool ResolveUnCryoDelegates() {
  UnCryoDelegateFields& fields = DelegateFields();
  if (fields.try_field != nullptr && fields.post_field != nullptr) return true;
  if (fields.resolution_failed) return false;
  bool resolved = false;
  const bool completed = core::Contain(
      [&] {
        AShooterGameMode* game_mode = host::CurrentGameMode();
        if (game_mode == nullptr) return;
        fields.try_field = game::kGameModeOnTryUnCryoDino.In(game_mode);
        fields.post_field = game::kGameModeOnPostUnCryoDino.In(game_mode);
        if (fields.try_field == nullptr || fields.post_field == nullptr) {
          fields.resolution_failed = true;
          log::Warn("Cradlekeep ASA uncryo delegate fields resolved to null");
          return;
        }
        log::Trace("Cradlekeep resolved ASA uncryo delegates try={} post={}", static_cast<const void*>(fields.try_field),
                   static_cast<const void*>(fields.post_field));
        resolved = true;
      },
      [&](const char* what) { log::Warn("Cradlekeep could not resolve ASA uncryo delegate fields: {}", what); });
  if (!completed) fields.resolution_failed = true;
  fields.settled = resolved || fields.resolution_failed;
  return resolved;
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
  RecentTries()[controller] = state::RecentUnCryoTry{host::SteadyNowNanoseconds(), IdOf(item), true};
  ClearCryoCooldown(controller, "OnTryUnCryoDino");
}

void HandlePostUnCryo(const void* params) {
  auto* controller = game::kPostUnCryoController.Read(params);
  auto* creature = game::kPostUnCryoCreature.Read(params);
  auto* emptied = game::kPostUnCryoEmptiedItem.Read(params);
  if (!PodSettingsOn() || controller == nullptr) return;
  PruneRecentUnCryoTries();

  state::RecentUnCryoTry record{0, FItemNetID{0, 0}, false};
  bool recent_try = false;
  auto found = RecentTries().find(controller);
  if (found != RecentTries().end()) {
    record = found->second;
    RecentTries().erase(found);
    recent_try = true;
  } else if (!IsTemporaryPod(emptied)) {
    return;
  }
  if (log::TraceEnabled()) {
    log::Info(
        "Cradlekeep saw temporary vanilla cryopod via OnPostUnCryoDino recentTry={} originalItemId=({}, {}) dino={} "
        "emptyItem={} emptyItemSummary={}",
        recent_try, record.item_id.ItemID1, record.item_id.ItemID2, static_cast<const void*>(creature), static_cast<const void*>(emptied),
        DescribeCustomItemData(emptied));
  }
  ClearCryoCooldown(controller, "OnPostUnCryoDino");
  const int cleared = ClearCryoSickness(reinterpret_cast<APrimalCharacter*>(creature), "OnPostUnCryoDino");

  int removed = 0;
  const config::PluginConfig& settings = config::Current();
  auto* pawn = game::kControllerPawn.Read(controller);
  auto* inventory = game::kCharacterInventory.Read(pawn);
  if (settings.AutoRemoveTemporaryVanillaCryopods && pawn != nullptr && inventory != nullptr) {
    // A pod is removed here only once it holds no creature data: a try whose
    // release failed may be followed by the post broadcast of another pod.
    if (recent_try && record.has_id) {
      UPrimalItem* original = FindItemById(inventory, record.item_id);
      if (original != nullptr && !HasCreaturePayload(original) && RemoveItemById(inventory, record.item_id)) {
        removed = 1;
        log::Trace("Cradlekeep force-removed temporary vanilla cryopod by original itemId=({}, {}) after {}",
                   record.item_id.ItemID1, record.item_id.ItemID2, "OnPostUnCryoDino");
      }
    }
    if (emptied != nullptr && !HasCreaturePayload(emptied)) {
      const FItemNetID post_id = IdOf(emptied);
      if ((recent_try || IsTemporaryPod(emptied)) && !(record.has_id && SameId(post_id, record.item_id))) {
        bool done = RemoveItemObject(inventory, emptied);
        if (!done) {
          auto* owner = host::ResolveWeak(game::kItemOwnerInventory.In(emptied));
          if (owner != nullptr) done = RemoveItemObject(owner, emptied);
        }
        if (!done) done = RemoveItemById(inventory, post_id);
        if (done) {
          ++removed;
          log::Trace("Cradlekeep force-removed temporary vanilla cryopod by post itemId=({}, {}) after {}",
                     post_id.ItemID1, post_id.ItemID2, "OnPostUnCryoDino");
        } else {
          log::Warn(
              "Cradlekeep could not force-remove temporary vanilla cryopod by post itemId=({}, {}) after {}; owner "
              "inventory may not contain the item yet",
              post_id.ItemID1, post_id.ItemID2, "OnPostUnCryoDino");
        }
      }
    }
    removed += SweepEmptyTemporaryPods(inventory);
    game::kInventoryRefresh(inventory);
  }
  if (removed > 0 || cleared > 0) {
    log::Trace("Cradlekeep OnPostUnCryoDino removed {} pod(s), cleared {} sickness buff(s)", removed, cleared);
  }
}

std::size_t RecentUnCryoTryCount() { return RecentTries().size(); }

}  // namespace ck::temporary_pods
