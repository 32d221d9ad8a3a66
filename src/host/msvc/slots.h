// Virtual slots of the framework's interfaces that the Windows DLL calls.
// MSVC gives a class one destructor slot, at the place the destructor is
// declared. Checked in CI against clang's vtable dump of the framework's
// declarations (sim/msvc/framework_decls.h); every line below has the form
// the check reads: k<Class>_<Method> = <slot>.
#pragma once

namespace ck::host::msvc {

inline constexpr int kIHooks_DisableHook = 1;
inline constexpr int kIHooks_SetHookInternal = 2;

inline constexpr int kICommands_AddConsoleCommand = 2;
inline constexpr int kICommands_AddOnTickCallback = 4;
inline constexpr int kICommands_RemoveConsoleCommand = 8;
inline constexpr int kICommands_RemoveOnTickCallback = 10;

inline constexpr int kIApiUtils_GetWorld = 1;
inline constexpr int kIApiUtils_GetShooterGameMode = 2;
inline constexpr int kIApiUtils_GetMessagingManagerInternal = 6;

inline constexpr int kMessagingManager_SendChatMessage_Impl = 3;

inline constexpr int ksink_log = 1;
inline constexpr int ksink_flush = 2;

inline constexpr int k_Ref_count_base__Destroy = 0;
inline constexpr int k_Ref_count_base__Delete_this = 1;

inline constexpr int k_Func_base__Copy = 0;
inline constexpr int k_Func_base__Move = 1;
inline constexpr int k_Func_base__Do_call = 2;
inline constexpr int k_Func_base__Target_type = 3;
inline constexpr int k_Func_base__Delete_this = 4;
inline constexpr int k_Func_base__Get = 5;

}  // namespace ck::host::msvc
