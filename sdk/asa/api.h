// Export macros and the Windows scalar types the framework's declarations use.
//
// The framework marks what it exports ARK_API. On Windows the plugin never
// calls these declarations directly: the framework is built with MSVC, so
// the plugin reaches it through the binary-interface layer in src/host/,
// which imports the framework's MSVC-decorated names. The declarations here
// fix names, parameter types, return types and virtual slot order; the Linux
// build (against the simulated framework) calls them natively.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#if defined(ASAAPI_BUILDING)
#define ASAAPI_API __declspec(dllexport)
#else
#define ASAAPI_API __declspec(dllimport)
#endif
#else
#define ASAAPI_API __attribute__((visibility("default")))
#endif

#define ARK_API ASAAPI_API

// The same types <windows.h> defines (redeclaring them there is harmless).
#if defined(_WIN32)
typedef unsigned long DWORD;
#else
typedef std::uint32_t DWORD;
#endif
typedef unsigned long long DWORD64;
typedef unsigned long long ULONGLONG;
typedef void* LPVOID;
static_assert(sizeof(DWORD) == 4 && sizeof(DWORD64) == 8);

// The engine's wide character: 16 bits on every platform. On Windows it is
// wchar_t, as in the framework's declarations (and so in its decorated names).
#if defined(_WIN32)
using WIDECHAR = wchar_t;
#else
using WIDECHAR = char16_t;
#endif
static_assert(sizeof(WIDECHAR) == 2);
