// Names every framework class whose vtable the plugin calls through, so that
// clang lays their vtables out (-fdump-vtable-layouts prints only what a
// translation unit uses). Compiled by tests/windows/check_slots.sh only.
#include "framework_decls.h"

void CkTouchVtables(AsaApi::IHooks* hooks, AsaApi::ICommands* commands, AsaApi::IApiUtils* utils,
                    MessagingManager* messaging, spdlog::sinks::sink* sink, std::_Ref_count_base* control,
                    std::_Func_base<void, float>* tick,
                    std::_Func_base<void, APlayerController*, FString*, bool>* console) {
  hooks->~IHooks();
  commands->~ICommands();
  utils->~IApiUtils();
  (void)messaging->MeetsRequirementsToWork();
  sink->~sink();
  control->~_Ref_count_base();
  tick->_Copy(nullptr);
  console->_Copy(nullptr);
}
