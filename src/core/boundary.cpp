#include "core/boundary.h"

namespace ck::core {

std::string FailureText(const std::exception_ptr& failure) noexcept {
  if (!failure) return {};
  std::string text = "unknown exception";
  Contain([&] { std::rethrow_exception(failure); }, [&](const char* what) { text = what; });
  return text;
}

}  // namespace ck::core
