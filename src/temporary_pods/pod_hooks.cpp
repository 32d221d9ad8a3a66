#include "temporary_pods/pod_hooks.h"


#include "config/plugin_config.h"
#include "plugin/catch_all.h"
#include "plugin/log.h"
#include "temporary_pods/cryo_sickness.h"
#include "temporary_pods/uncryo_delegates.h"
#include "temporary_pods/uncryo_observation.h"

namespace ck::temporary_pods {

namespace {

// Runs `work`; a failure is logged at error level as "<prefix>: ..." and
// goes no further.
template <typename Work>
void Guarded(const char* prefix, Work work) {
  plugin::CatchAll(work, [&](const char* what) { log::Error("{}: {}", prefix, what); });
}

}  // namespace

void UseItemHook::Detour(AShooterPlayerController* controller, UPrimalInventoryComponent* inventory, FItemNetID id,
                         int option) {
  PodUseObservation observation{};
  Guarded("Cradlekeep temporary vanilla cryopod pre-use handling failed", [&] {
    ObserveTemporaryPodUse(controller, inventory, id, "ServerRequestInventoryUseItem", observation);
  });
  original(controller, inventory, id, option);
  if (observation.used) {
    Guarded("Cradlekeep temporary vanilla cryopod post-use handling failed",
            [&] { ClearNearbyCryoSickness(controller, "temporary vanilla cryopod use"); });
  }
}

void UseItemWithActorHook::Detour(AShooterPlayerController* controller, AActor* actor,
                                  UPrimalInventoryComponent* inventory, FItemNetID id, int option) {
  PodUseObservation observation{};
  Guarded("Cradlekeep temporary vanilla cryopod with-actor pre-use handling failed", [&] {
    ObserveTemporaryPodUse(controller, inventory, id, "ServerRequestInventoryUseItemWithActor", observation);
  });
  original(controller, actor, inventory, id, option);
  if (observation.used) {
    Guarded("Cradlekeep temporary vanilla cryopod with-actor post-use handling failed",
            [&] { ClearNearbyCryoSickness(controller, "temporary vanilla cryopod use"); });
  }
}

// The two uncryo broadcasts, or a broadcast seen before the delegate fields
// were resolved: kept out of the fast path below.
[[gnu::noinline]] void DispatchCandidate(void* delegate, void* params) {
  enum class Kind { kNone, kTry, kPost } kind = Kind::kNone;
  const UnCryoDelegateFields& fields = DelegateFields();
  if (ResolveUnCryoDelegates()) {
    if (delegate == fields.try_field) {
      kind = Kind::kTry;
    } else if (delegate == fields.post_field) {
      kind = Kind::kPost;
    }
  }
  if (kind == Kind::kTry && params != nullptr) {
    Guarded("Cradlekeep OnTryUnCryoDino handling failed", [&] { HandleTryUnCryo(params); });
    MulticastDelegateHook::original(delegate, params);
    return;
  }
  MulticastDelegateHook::original(delegate, params);
  if (kind == Kind::kPost && params != nullptr) {
    Guarded("Cradlekeep OnPostUnCryoDino handling failed", [&] { HandlePostUnCryo(params); });
  }
}

// Sits on every multicast broadcast of the game. For broadcasts other than
// the two uncryo ones it adds two setting tests, the resolution check and two
// pointer comparisons: no key lookup, allocation or logging.
void MulticastDelegateHook::Detour(void* delegate, void* params) {
  const config::PluginConfig& settings = config::Current();
  const UnCryoDelegateFields& fields = DelegateFields();
  if (settings.Enabled && settings.TemporaryVanillaCryopods && delegate != nullptr) {
    const bool resolved = fields.try_field != nullptr && fields.post_field != nullptr;
    if ((!resolved && !fields.resolution_failed) ||
        (resolved && (delegate == fields.try_field || delegate == fields.post_field))) {
      DispatchCandidate(delegate, params);
      return;
    }
  }
  original(delegate, params);
}

}  // namespace ck::temporary_pods
