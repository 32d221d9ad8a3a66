// Export macro of the framework library. The plugin links against the
// framework the way a real plugin links against the framework's import
// library; everything declared ASAAPI_API is implemented there.
#pragma once

#if defined(_WIN32)
#if defined(ASAAPI_BUILDING)
#define ASAAPI_API __declspec(dllexport)
#else
#define ASAAPI_API __declspec(dllimport)
#endif
#else
#define ASAAPI_API __attribute__((visibility("default")))
#endif
