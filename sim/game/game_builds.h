// The game builds the simulated server can run. The simulated game has every
// function and field under every name any known build gives it; a build is
// the set of those names its offsets dump lacks, and the forms its own flows
// call:
//
//   "current"   every member under the name the plugin uses today;
//   "api-2.03"  the names the framework's 2.03 headers give: the one-flag
//               APrimalCharacter.ClearMountedDino(bool) (which empties the
//               primary mounted slot whatever its flag) for the two-flag
//               form, AShooterCharacter.StaticClass() for
//               GetPrivateStaticClass(); no previous secondary slot, no
//               uncryo delegates and no delegate dispatch key;
//   "92.28"     the current build without
//               APrimalCharacter.ClearCarryingDino(bool,bool).
#pragma once

#include <set>
#include <string>
#include <vector>

namespace sim {

struct GameBuildNames {
  std::string name;
  // The keys of the simulated game this build's offsets dump lacks.
  std::set<std::string> absent;
  // The build empties the mounted slots through the one-flag form: the game
  // itself empties the secondary slot, with no hookable call.
  bool one_flag_mounted_clearing = false;
};

// The names of every known build, "current" first.
std::vector<std::string> KnownGameBuilds();

// The build of that name; throws std::invalid_argument for an unknown one.
const GameBuildNames& GameBuildNamed(const std::string& name);

}  // namespace sim
