// The hooked game functions through which the plugin sees a temporary pod
// being used and a creature being released from it. Game thread only.
#pragma once

#include "asa/engine_types.h"
#include "config/plugin_config.h"
#include "state/plugin_state.h"
#include "core/detour.h"
#include "host/game/catalogue.h"
#include "temporary_pods/uncryo_delegates.h"
#include "temporary_pods/uncryo_observation.h"

namespace ck::temporary_pods {

// A use of an item: before the game's function, the uncryo delegate fields
// follow a replaced game mode, and a temporary pod that holds a creature
// gets its cooldown cleared and its delayed passes queued; after
// it, the sickness of nearby same-team creatures is cleared when the item
// was a temporary pod.
struct UseItemHook : core::Detour<UseItemHook, game::kServerRequestInventoryUseItem>, state::NeedsState {
  using Note = PodUseObservation;
  static constexpr const char* kBeforeFailure = "Cradlekeep temporary vanilla cryopod pre-use handling failed";
  static constexpr const char* kAfterFailure = "Cradlekeep temporary vanilla cryopod post-use handling failed";
  static void Before(Note& note, AShooterPlayerController* controller, UPrimalInventoryComponent* inventory,
                     FItemNetID id, int option);
  static void After(const Note& note, AShooterPlayerController* controller, UPrimalInventoryComponent* inventory,
                    FItemNetID id, int option);
};

struct UseItemWithActorHook : core::Detour<UseItemWithActorHook, game::kServerRequestInventoryUseItemWithActor>,
                              state::NeedsState {
  using Note = PodUseObservation;
  static constexpr const char* kBeforeFailure =
      "Cradlekeep temporary vanilla cryopod with-actor pre-use handling failed";
  static constexpr const char* kAfterFailure =
      "Cradlekeep temporary vanilla cryopod with-actor post-use handling failed";
  static void Before(Note& note, AShooterPlayerController* controller, AActor* actor,
                     UPrimalInventoryComponent* inventory, FItemNetID id, int option);
  static void After(const Note& note, AShooterPlayerController* controller, AActor* actor,
                    UPrimalInventoryComponent* inventory, FItemNetID id, int option);
};

// Sits on every multicast broadcast of the game. For broadcasts other than
// the two uncryo ones it adds two setting tests, the resolution check and two
// pointer comparisons: no key lookup, allocation or logging. A broadcast that
// matches a kept field is then compared with the current game mode's fields,
// so that one on the fields of a replaced game mode is never read with the
// uncryo layout. The try broadcast is handled before the game delivers it,
// the post broadcast after.
struct MulticastDelegateHook : core::Detour<MulticastDelegateHook, game::kProcessMulticastDelegate> {
  enum class Note { kNone, kTry, kPost };
  static constexpr const char* kBeforeFailure = "Cradlekeep OnTryUnCryoDino handling failed";
  static constexpr const char* kAfterFailure = "Cradlekeep OnPostUnCryoDino handling failed";
  static bool Wants(void* delegate, void* /*params*/) {
    if (!state::Running()) return false;  // left installed after a failed unload
    const config::PluginConfig& settings = config::Current();
    const UnCryoDelegateFields& fields = DelegateFields();
    // Until the fields are settled every broadcast is a candidate (the slow
    // path resolves them, and passes a null delegate by); then only the two
    // uncryo ones are.
    return settings.Enabled && settings.TemporaryVanillaCryopods &&
           (delegate == fields.try_field || delegate == fields.post_field || !fields.settled);
  }
  static void Before(Note& note, void* delegate, void* params);
  static void After(const Note& note, void* delegate, void* params);
};

}  // namespace ck::temporary_pods
