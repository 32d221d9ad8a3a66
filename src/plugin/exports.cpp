// The library's three entry points, with C linkage.
#include "asa/engine_types.h"
#include "plugin/capture_for_transfer.h"
#include "plugin/lifecycle.h"

#if defined(_WIN32)
#include <windows.h>
#define CRADLEKEEP_EXPORT __declspec(dllexport)
#else
#define CRADLEKEEP_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

CRADLEKEEP_EXPORT void Plugin_Init() { ck::plugin::Startup(); }

CRADLEKEEP_EXPORT void Plugin_Unload() { ck::plugin::Teardown(); }

CRADLEKEEP_EXPORT bool Cradlekeep_CaptureForTransfer(AShooterPlayerController* controller) {
  return ck::plugin::CaptureForTransfer(controller);
}

}  // extern "C"

#if defined(_WIN32)
BOOL APIENTRY DllMain(HMODULE module, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(module);
  return TRUE;
}
#endif
