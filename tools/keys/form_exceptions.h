// The function keys whose calling form in the catalogue (src/host/game/catalogue.h)
// may differ from the form the framework's 2.03 headers give
// (asaapi-2.03-headers.tsv), each with the exact difference allowed and why.
// cradlekeep-keys --check-forms accepts a difference only when an entry here
// names the key and both forms as the check prints them, and fails on an
// entry that no longer matches a difference, so that none outlives its
// reason.
#pragma once

#include <string_view>

namespace ck::keys {

struct FormException {
  std::string_view key;
  std::string_view catalogue;  // the catalogue's classes
  std::string_view headers;    // the 2.03 headers' classes
  std::string_view why;
};

inline constexpr FormException kFormExceptions[] = {
    {"APrimalCharacter.ClearMountedDino(bool,bool)", "void(ptr,bool,bool)", "void(ptr,bool)",
     "the 2.03 headers declare only APrimalCharacter.ClearMountedDino(bool), another function; the key the plugin "
     "uses names the two-flag function of the game builds it runs on, and the catalogue passes both flags"},
};

}  // namespace ck::keys
