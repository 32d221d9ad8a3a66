#include "config/class_cache.h"

namespace ck::config {

ClassCache& Classes() {
  static ClassCache cache;
  return cache;
}

}  // namespace ck::config
