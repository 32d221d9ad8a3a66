#include "temporary_pods/cleanup_passes.h"

#include <iterator>
#include <string>
#include <vector>

#include "host/framework/framework.h"
#include "config/plugin_config.h"
#include "core/boundary.h"
#include "host/engine/class_loading.h"
#include "host/framework/clock.h"
#include "host/game/catalogue.h"
#include "host/engine/weak_pointer.h"
#include "core/log.h"
#include "state/plugin_state.h"
#include "temporary_pods/cryo_sickness.h"
#include "temporary_pods/custom_item_data.h"
#include "temporary_pods/inventory_sweep.h"
#include "temporary_pods/tick_removal.h"

namespace ck::temporary_pods {

namespace {

std::vector<state::PendingCleanupPass>& Pending() { return state::Current().pending_passes; }

bool SameWeak(const FWeakObjectPtr& a, const FWeakObjectPtr& b) {
  return a.ObjectIndex == b.ObjectIndex && a.ObjectSerialNumber == b.ObjectSerialNumber;
}

}  // namespace

void ScheduleCleanupPasses(AShooterPlayerController* controller, FItemNetID item_id) {
  if (controller == nullptr || !config::Current().AutoRemoveTemporaryVanillaCryopods ||
      !state::PartOn(host::Part::kCleanupPasses)) {
    return;
  }
  const int64 now = host::SteadyNowNanoseconds();
  const FWeakObjectPtr weak = host::MakeWeak(controller);
  // A new use of the same pod starts its passes over: they replace the ones
  // still waiting, so a player and pod never have more than fourteen queued
  // however often the pod is used (a release that keeps failing).
  auto& pending = Pending();
  std::erase_if(pending, [&](const state::PendingCleanupPass& queued) {
    return SameWeak(queued.controller, weak) && SameItemId(queued.item_id, item_id);
  });
  for (int32 pass = 1; pass <= static_cast<int32>(std::size(kCleanupPassDelaysMs)); ++pass) {
    const int64 due = now + kCleanupPassDelaysMs[pass - 1] * 1'000'000;
    pending.push_back(state::PendingCleanupPass{weak, due, pass, item_id, false});
  }
  if (!state::Current().cleanup_tick_registered) {
    host::AddOnTickCallback(kCleanupTickId, [](float) { RunDueCleanupPasses(); });
    state::Current().cleanup_tick_registered = true;
  }
  log::Trace("Cradlekeep scheduled targeted delayed temporary vanilla cryopod cleanup passes for itemId=({}, {})",
             item_id.ItemID1, item_id.ItemID2);
  // Used from the player's own inventory, where the passes look for it? A
  // pod used from another inventory is never found there, and is not gone.
  UPrimalInventoryComponent* own = game::kCharacterInventory.Read(host::PlayerCharacterOf(controller));
  if (FindItemById(own, item_id) != nullptr) {
    const auto series = static_cast<std::ptrdiff_t>(std::size(kCleanupPassDelaysMs));
    for (auto it = pending.end() - series; it != pending.end(); ++it) it->pod_watched = true;
  }
}

namespace {

// Takes out every pass still queued for the player and pod of `pass`; the
// walk's index stays on the entry it was going to look at next.
void CancelSeries(const state::PendingCleanupPass& pass, std::size_t& index) {
  auto& pending = Pending();
  std::size_t canceled = 0;
  for (std::size_t i = 0; i < pending.size();) {
    if (SameWeak(pending[i].controller, pass.controller) && SameItemId(pending[i].item_id, pass.item_id)) {
      pending.erase(pending.begin() + static_cast<std::ptrdiff_t>(i));
      ++canceled;
      if (i < index) --index;
    } else {
      ++i;
    }
  }
  if (canceled > 0) {
    log::Trace("Cradlekeep canceled {} pending targeted temporary vanilla cryopod cleanup pass(es) for itemId=({}, {})",
               canceled, pass.item_id.ItemID1, pass.item_id.ItemID2);
  }
}

std::string PassLabel(int32 pass_number) {
  return "temporary vanilla cryopod delayed pass " + std::to_string(pass_number);
}

// Runs one pass taken out of the queue; the series ends when the pass
// removed its pod or found it gone.
void RunQueuedPass(const state::PendingCleanupPass& pass, std::size_t& index) {
  auto* controller = reinterpret_cast<AShooterPlayerController*>(host::ResolveWeak(&pass.controller));
  // A player who left is not touched again: the pass is dropped.
  if (controller == nullptr) return;
  const PodAfterPass after = RunCleanupPass(controller, pass.pass_number, pass.item_id);
  if (after == PodAfterPass::kThere || (after == PodAfterPass::kAbsent && !pass.pod_watched)) return;
  if (after == PodAfterPass::kAbsent) {
    log::Trace("Cradlekeep targeted temporary vanilla cryopod cleanup after {} found itemId=({}, {}) gone",
               PassLabel(pass.pass_number), pass.item_id.ItemID1, pass.item_id.ItemID2);
  }
  CancelSeries(pass, index);
}

}  // namespace

void RunDueCleanupPasses() {
  if (!state::Running()) return;  // left registered after a failed unload
  auto& pending = Pending();
  if (pending.empty()) {
    UnregisterCleanupTick();
    return;
  }
  const int64 now = host::SteadyNowNanoseconds();
  std::size_t index = 0;
  while (index < pending.size()) {
    if (pending[index].due > now) {
      ++index;
      continue;
    }
    const state::PendingCleanupPass pass = pending[index];
    pending.erase(pending.begin() + static_cast<std::ptrdiff_t>(index));
    core::Contain([&] { RunQueuedPass(pass, index); },
                  [](const char* what) { log::Error("Cradlekeep delayed temporary vanilla cryopod cleanup failed: {}", what); });
  }
  if (pending.empty()) UnregisterCleanupTick();
}

PodAfterPass RunCleanupPass(AShooterPlayerController* controller, int32 pass_number, FItemNetID item_id) {
  const std::string label = PassLabel(pass_number);
  ClearCryoCooldown(controller, label);

  bool result = false;
  PodAfterPass after = PodAfterPass::kThere;
  // The player's character; none while the player possesses no pawn or
  // another kind of pawn (a spectator's).
  AShooterCharacter* pawn = host::PlayerCharacterOf(controller);
  UPrimalInventoryComponent* inventory = game::kCharacterInventory.Read(pawn);
  if (pawn != nullptr) {
    UPrimalItem* item = FindItemById(inventory, item_id);
    if (item == nullptr) after = PodAfterPass::kAbsent;
    if (item != nullptr) {
      if (HasCreaturePayload(item)) {
        log::Trace("Cradlekeep targeted temporary vanilla cryopod cleanup after {} found itemId=({}, {}) still has payload",
                   label, item_id.ItemID1, item_id.ItemID2);
      } else {
        result = RemoveItemById(inventory, item_id, Removal{controller, label.c_str()});
        if (result) {
          log::Trace("Cradlekeep targeted temporary vanilla cryopod cleanup removed empty itemId=({}, {}) after {}",
                     item_id.ItemID1, item_id.ItemID2, label);
        }
      }
    }
  }

  int swept = 0;
  const config::PluginConfig& settings = config::Current();
  if (settings.Enabled && settings.TemporaryVanillaCryopods && settings.AutoRemoveTemporaryVanillaCryopods &&
      pawn != nullptr) {
    swept = SweepEmptyTemporaryPods(inventory, Removal{controller, label.c_str()});
    if (swept > 0) log::Trace("Cradlekeep removed {} empty temporary vanilla cryopod(s) after {}", swept, label);
  }

  const int cleared = ClearNearbyCryoSickness(controller, label);
  const int removed = (result ? 1 : 0) + swept;
  if (removed > 0 || cleared > 0) {
    log::Trace("Cradlekeep {} removed {} pod(s), cleared {} sickness buff(s)", label, removed, cleared);
  } else {
    log::Trace("Cradlekeep {} removed 0 pod(s), cleared 0 sickness buff(s)", label);
  }
  return result ? PodAfterPass::kRemoved : after;
}

std::size_t FollowCleanupSettings() {
  const config::PluginConfig& settings = config::Current();
  if (settings.Enabled && settings.TemporaryVanillaCryopods && settings.AutoRemoveTemporaryVanillaCryopods) return 0;
  const std::size_t dropped = Pending().size();
  Pending().clear();
  return dropped;
}

void UnregisterCleanupTick() { RemoveTickCallback(kCleanupTickId, "cleanup", state::Current().cleanup_tick_registered); }

std::size_t PendingCleanupPassCount() { return Pending().size(); }
bool CleanupTickRegistered() { return state::Current().cleanup_tick_registered; }

}  // namespace ck::temporary_pods
