#include "capture/class_loading.h"

#include "capture/text_helpers.h"
#include "host/engine_text.h"
#include "host/game_access.h"

namespace ck::capture {

UClass* LoadCachedClass(UClass*& cache, const std::string& blueprint_path) {
  if (cache != nullptr) return cache;
  host::EngineString path = host::MakeFString(WidenText(blueprint_path));
  cache = host::GameFunction<UClass*(FString*)>("UVictoryCore.StringReferenceToClass(FString&)")(path.get());
  return cache;
}

}  // namespace ck::capture
