#include "temporary_pods/uncryo_delegates.h"

#include "core/boundary.h"
#include "core/log.h"
#include "host/framework/framework.h"
#include "host/game/catalogue.h"

namespace ck::temporary_pods {

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

namespace {

bool KeptFieldsAreCurrent(const UnCryoDelegateFields& fields) {
  AShooterGameMode* game_mode = host::CurrentGameMode();
  return game_mode != nullptr && game::kGameModeOnTryUnCryoDino.In(game_mode) == fields.try_field &&
         game::kGameModeOnPostUnCryoDino.In(game_mode) == fields.post_field;
}

}  // namespace

bool FollowCurrentGameMode() {
  UnCryoDelegateFields& fields = DelegateFields();
  bool current = false;
  const bool checked = core::Contain([&] { current = KeptFieldsAreCurrent(fields); }, [](const char* what) {
    log::Warn("Cradlekeep could not compare the uncryo delegate fields with the game mode: {}", what);
  });
  if (!checked) return false;
  if (current) return true;
  log::Trace("Cradlekeep uncryo delegate fields belong to a replaced game mode; resolving them again");
  fields = UnCryoDelegateFields{};
  return ResolveUnCryoDelegates();
}

void RefreshUnCryoDelegates() {
  const UnCryoDelegateFields& fields = DelegateFields();
  if (fields.try_field == nullptr || fields.post_field == nullptr) return;
  (void)FollowCurrentGameMode();
}

}  // namespace ck::temporary_pods
