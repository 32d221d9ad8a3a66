// Virtual slots of the framework's interfaces that the Windows DLL calls.
// MSVC gives a class one destructor slot, at the place the destructor is
// declared. Checked in CI (tests/windows/check_slots.sh) against clang's
// vtable dump of the framework's declarations (sim/msvc/framework_decls.h):
// each line ends with the comment naming the class and method it is.
#pragma once

namespace ck::host::msvc {

inline constexpr int kDisableHook = 1;                  // IHooks::DisableHook
inline constexpr int kSetHookInternal = 2;              // IHooks::SetHookInternal

inline constexpr int kAddConsoleCommand = 2;            // ICommands::AddConsoleCommand
inline constexpr int kAddRconCommand = 3;               // ICommands::AddRconCommand
inline constexpr int kAddOnTickCallback = 4;            // ICommands::AddOnTickCallback
inline constexpr int kRemoveConsoleCommand = 8;         // ICommands::RemoveConsoleCommand
inline constexpr int kRemoveRconCommand = 9;            // ICommands::RemoveRconCommand
inline constexpr int kRemoveOnTickCallback = 10;        // ICommands::RemoveOnTickCallback

inline constexpr int kGetWorld = 1;                     // IApiUtils::GetWorld
inline constexpr int kGetShooterGameMode = 2;           // IApiUtils::GetShooterGameMode
inline constexpr int kGetMessagingManagerInternal = 6;  // IApiUtils::GetMessagingManagerInternal

inline constexpr int kSendServerMessageImpl = 1;        // MessagingManager::SendServerMessage_Impl
inline constexpr int kSendChatMessageImpl = 2;          // MessagingManager::SendChatMessage_Impl

inline constexpr int kSinkLog = 1;                      // sink::log
inline constexpr int kSinkFlush = 2;                    // sink::flush

inline constexpr int kControlDestroy = 0;               // _Ref_count_base::_Destroy
inline constexpr int kControlDeleteThis = 1;            // _Ref_count_base::_Delete_this

inline constexpr int kFunctionCopy = 0;                 // _Func_base::_Copy
inline constexpr int kFunctionMove = 1;                 // _Func_base::_Move
inline constexpr int kFunctionDoCall = 2;               // _Func_base::_Do_call
inline constexpr int kFunctionTargetType = 3;           // _Func_base::_Target_type
inline constexpr int kFunctionDeleteThis = 4;           // _Func_base::_Delete_this
inline constexpr int kFunctionGet = 5;                  // _Func_base::_Get

}  // namespace ck::host::msvc
