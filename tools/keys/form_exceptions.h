// The function keys whose calling form in the catalogue (src/host/game/catalogue.h)
// may differ from the form the framework's 2.03 headers give
// (asaapi-2.03-headers.tsv), each with the exact difference allowed and why.
// cradlekeep-keys --check-forms accepts a difference only when an entry here
// names the key and both forms as the check prints them, and fails on an
// entry that no longer matches a difference, so that none outlives its
// reason.
#pragma once

#include <array>
#include <string_view>

namespace ck::keys {

struct FormException {
  std::string_view key;
  std::string_view catalogue;  // the catalogue's classes
  std::string_view headers;    // the 2.03 headers' classes
  std::string_view why;
};

// None at present: every function is called as the 2.03 headers call it,
// under the name they give it.
inline constexpr std::array<FormException, 0> kFormExceptions{};

}  // namespace ck::keys
