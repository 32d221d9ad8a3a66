#include "plugin/game_build.h"

#include <string>

#include "core/boundary.h"
#include "core/log.h"
#include "host/game_build_check.h"
#include "host/game_parts.h"
#include "host/module_path.h"
#include "state/plugin_state.h"

namespace ck::plugin {

namespace {

using host::Part;

// The parts of which at least one must be on for the plugin to find a
// companion at all.
constexpr Part kSlots[] = {Part::kRiddenSlot, Part::kMountedSlot, Part::kCarriedSlot, Part::kSecondarySlot,
                           Part::kPreviousMounted, Part::kPreviousSecondary};

}  // namespace

bool CheckGameBuild() {
  const auto table = host::GameKeyTable();
  host::GameBuildCheck check;
  // A failure of the check itself (a path the system refuses, no memory) is
  // one more reason it could not be made, not a reason not to start.
  core::Contain([&] { check = host::CheckGameBuild(host::FrameworkCacheRoot(host::OwnModulePath())); },
                [&](const char* what) {
                  check = host::GameBuildCheck{};
                  check.why = what;
                });
  if (!check.checked) {
    host::BindGameKeys({});
    log::Warn("Cradlekeep could not check the game keys against this game build ({}); starting without the check",
              check.why);
    return true;
  }
  host::BindGameKeys(check.present);
  const host::PartSet on = host::PartsOn(check.present);
  state::Current().parts_on = on;

  std::size_t missing = 0;
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (check.present[i]) continue;
    ++missing;
    log::Warn("Cradlekeep game key missing from this game build: {} (turned off: {})", table[i].member->Key(),
              host::DescribeParts(host::PartsOffWithout(i)));
  }
  if (missing == 0) {
    log::Trace("Cradlekeep game build check: all {} game keys present", table.size());
    return true;
  }
  log::Warn("Cradlekeep game build check: {} of {} game keys missing; turned off: {}", missing, table.size(),
            host::DescribeParts(host::PartSet::All().Minus(on)));

  bool finds_companions = false;
  for (Part slot : kSlots) finds_companions = finds_companions || on.Has(slot);
  if (!on.Has(Part::kEngine) || !finds_companions) {
    log::Error("Cradlekeep cannot work on this game build without {}; nothing was installed",
               on.Has(Part::kEngine) ? "finding companions" : host::PartName(Part::kEngine));
    state::Current().usable_build = false;
    return false;
  }
  return true;
}

}  // namespace ck::plugin
