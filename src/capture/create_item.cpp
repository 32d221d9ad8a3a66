#include "capture/create_item.h"

#include "host/framework/framework.h"
#include "host/game/catalogue.h"

namespace ck::capture {

UPrimalItem* CreateItemOfClass(UClass* item_class) {
  UWorld* world = host::CurrentWorld();
  if (world == nullptr || item_class == nullptr) return nullptr;
  // Both classes by the address of a copy made for the call; no skin.
  TSubclassOf<UPrimalItem> item{item_class};
  TSubclassOf<UPrimalItem> skin{nullptr};
  return game::kItemAddNewItem(&item, nullptr, false, false, 0.0f, false, 0, false, 0.0f, false, &skin, 0.0f, false,
                               false, true, false, false, false, world);
}

}  // namespace ck::capture
