#include "capture/class_loading.h"

#include "capture/text_helpers.h"
#include "host/engine_text.h"
#include "host/game.h"

namespace ck::capture {

UClass* LoadCachedClass(UClass*& cache, const std::string& blueprint_path) {
  if (cache != nullptr) return cache;
  host::EngineString path = host::MakeFString(WidenText(blueprint_path));
  cache = game::kStringReferenceToClass(path.get());
  return cache;
}

}  // namespace ck::capture
