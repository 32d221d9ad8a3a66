#include "temporary_pods/uncryo_delegates.h"

namespace ck::temporary_pods {

UnCryoDelegateFields g_delegate_fields;

}  // namespace ck::temporary_pods
