#include "temporary_pods/tick_removal.h"

#include "host/framework/framework.h"
#include "core/boundary.h"
#include "core/log.h"

namespace ck::temporary_pods {

void RemoveTickCallback(const char16_t* id, const char* what, bool& registered) {
  if (!registered) return;
  core::Contain([&] { host::RemoveOnTickCallback(id); },
                   [&](const char* failure) {
                     log::Warn("Cradlekeep temporary cryopod {} tick unregister failed: {}", what, failure);
                   });
  registered = false;
}

}  // namespace ck::temporary_pods
