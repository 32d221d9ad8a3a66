// The names each known game build gives the simulated game's members.
#include "sim/game/game_builds.h"

#include <stdexcept>

namespace sim {

namespace {

constexpr const char* kClearMountedTwoFlags = "APrimalCharacter.ClearMountedDino(bool,bool)";
constexpr const char* kClearMountedOneFlag = "APrimalCharacter.ClearMountedDino(bool)";
constexpr const char* kShooterPrivateStaticClass = "AShooterCharacter.GetPrivateStaticClass()";
constexpr const char* kShooterStaticClass = "AShooterCharacter.StaticClass()";

const std::vector<GameBuildNames>& Builds() {
  static const std::vector<GameBuildNames> builds = {
      {"current", {kClearMountedOneFlag, kShooterStaticClass}, false},
      {"api-2.03",
       {kClearMountedTwoFlags, kShooterPrivateStaticClass, "APrimalCharacter.PreviousSecondaryMountedDino",
        "AShooterGameMode.OnTryUnCryoDino", "AShooterGameMode.OnPostUnCryoDino",
        "TMulticastScriptDelegate<FNotThreadSafeDelegateMode>.ProcessMulticastDelegate<UObject>(void*)"},
       true},
      {"92.28", {kClearMountedOneFlag, kShooterStaticClass, "APrimalCharacter.ClearCarryingDino(bool,bool)"}, false},
  };
  return builds;
}

}  // namespace

std::vector<std::string> KnownGameBuilds() {
  std::vector<std::string> names;
  for (const GameBuildNames& build : Builds()) names.push_back(build.name);
  return names;
}

const GameBuildNames& GameBuildNamed(const std::string& name) {
  for (const GameBuildNames& build : Builds()) {
    if (build.name == name) return build;
  }
  std::string known;
  for (const GameBuildNames& build : Builds()) known += (known.empty() ? "\"" : ", \"") + build.name + "\"";
  throw std::invalid_argument("unknown game build '" + name + "' (known: " + known + ")");
}

}  // namespace sim
