#include "capture/create_item.h"

#include "host/framework.h"
#include "host/game_access.h"

namespace ck::capture {

UPrimalItem* CreateItemOfClass(UClass* item_class) {
  UWorld* world = host::CurrentWorld();
  if (world == nullptr || item_class == nullptr) return nullptr;
  using AddNewItem = UPrimalItem*(UClass*, UPrimalInventoryComponent*, bool, bool, float, bool, int, bool, float, bool,
                                  UClass*, float, bool, bool, bool, bool, bool, bool, UWorld*);
  return host::GameFunction<AddNewItem>(
      "UPrimalItem.AddNewItem(TSubclassOf<UPrimalItem>,UPrimalInventoryComponent*,bool,bool,float,bool,int,bool,float,"
      "bool,TSubclassOf<UPrimalItem>,float,bool,bool,bool,bool,bool,bool,UWorld*)")(
      item_class, nullptr, false, false, 0.0f, false, 0, false, 0.0f, false, nullptr, 0.0f, false, false, true, false,
      false, false, world);
}

}  // namespace ck::capture
