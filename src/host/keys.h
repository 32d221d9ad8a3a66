// Key strings of the engine services the host layer itself uses.
#pragma once

namespace ck::host::keys {

inline constexpr const char* kRealloc = "FMemory.Realloc(void*,unsigned__int64,unsignedint)";
inline constexpr const char* kFree = "FMemory.Free(void*)";
inline constexpr const char* kNameConstruct = "FName.FName(char*,EFindName)";
inline constexpr const char* kNameToString = "FName.ToString(FString&)";
inline constexpr const char* kWeakGet = "FWeakObjectPtr.Get()";

}  // namespace ck::host::keys
