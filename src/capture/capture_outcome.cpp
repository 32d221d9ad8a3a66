// Reading a placed pod's id for the capture's outcome.
#include "capture/capture_outcome.h"

#include "core/boundary.h"
#include "host/game/catalogue.h"

namespace ck::capture {

std::optional<FItemNetID> PodId(UPrimalItem* pod) noexcept {
  std::optional<FItemNetID> id;
  core::Contain([&] { id = game::kItemID.Read(pod); }, [](const char*) {});
  return id;
}

}  // namespace ck::capture
