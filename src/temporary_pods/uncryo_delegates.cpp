#include "temporary_pods/uncryo_delegates.h"

namespace ck::temporary_pods {

UnCryoDelegateFields& DelegateFields() {
  static UnCryoDelegateFields fields;
  return fields;
}

}  // namespace ck::temporary_pods
