#include "plugin/class_cache.h"

namespace ck::plugin {

ClassCache& Classes() {
  static ClassCache cache;
  return cache;
}

}  // namespace ck::plugin
