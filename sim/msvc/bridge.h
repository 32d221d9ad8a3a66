// The C interface between the framework double (AsaApi.dll, built by clang in
// MSVC mode) and the simulated framework (built by mingw g++). Plain C types
// only, so both compilers agree on every call: the double forwards each
// framework operation here, and the simulated framework answers it.
//
// No C++ exception crosses this interface: an operation that fails inside the
// simulated framework reports it in a CkBridgeError, and the double then
// throws it as an MSVC C++ exception, as the real framework would.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// 0: no error; 1: a std::exception (its what() in `message`); 2: something
// that is not a std::exception; 3: a rethrow with no exception in flight
// (what the framework does for a key the game build lacks).
struct CkBridgeError {
  int status;
  char message[256];
};

typedef void (*CkConsoleInvoke)(void* context, void* caller, void* line, bool from_rcon);
typedef void (*CkTickInvoke)(void* context, float delta_seconds);
typedef void (*CkRconInvoke)(void* context, void* connection, void* packet, void* world);
typedef void (*CkRelease)(void* context);

struct CkBridge {
  bool (*set_hook)(const char* key, unsigned long long key_length, void* detour, void** original,
                   struct CkBridgeError* error);
  bool (*disable_hook)(const char* key, unsigned long long key_length, void* detour, struct CkBridgeError* error);
  // The simulated framework calls `invoke` with `context` for every run and
  // `release` once when it forgets the callback (removal, reset).
  void (*add_console_command)(const wchar_t* name, int length, CkConsoleInvoke invoke, CkRelease release,
                              void* context, struct CkBridgeError* error);
  bool (*remove_console_command)(const wchar_t* name, int length, struct CkBridgeError* error);
  void (*add_tick_callback)(const wchar_t* id, int length, CkTickInvoke invoke, CkRelease release, void* context,
                            struct CkBridgeError* error);
  bool (*remove_tick_callback)(const wchar_t* id, int length, struct CkBridgeError* error);
  void* (*world)(void);
  void* (*game_mode)(void);
  // A plugin asked for its messaging object.
  void (*messaging_requested)(const wchar_t* plugin, int plugin_length);
  // A messaging object's `member` ("SendChatMessage_Impl", ...) was called
  // for `player` with this sender and text (each may be empty).
  void (*send_message)(const char* member, const wchar_t* plugin, int plugin_length, void* player,
                       const wchar_t* sender, int sender_length, const wchar_t* text, int text_length,
                       struct CkBridgeError* error);
  unsigned long long (*field_address)(const void* base, const char* key, unsigned long long key_length,
                                      struct CkBridgeError* error);
  void* (*function_address)(const char* key, unsigned long long key_length, struct CkBridgeError* error);
  // Writes a BitField (32 bytes) to `out`.
  void (*bit_field)(const void* base, const char* key, unsigned long long key_length, void* out,
                    struct CkBridgeError* error);
  // One line for the shared sinks: the logger's name, the level (spdlog's
  // numbering), the message text and the whole rendered line.
  void (*log)(const char* logger, unsigned long long logger_length, int level, const char* text,
              unsigned long long text_length, const char* line, unsigned long long line_length,
              struct CkBridgeError* error);
  void (*flush)(struct CkBridgeError* error);
  // An engine string of `length` units at `target`, its buffer from the
  // engine allocator.
  void (*construct_fstring)(void* target, int length, const wchar_t* text);
  void* (*allocate)(unsigned long long size);
  void (*free)(void* block);
  void (*add_rcon_command)(const wchar_t* name, int length, CkRconInvoke invoke, CkRelease release, void* context,
                           struct CkBridgeError* error);
  bool (*remove_rcon_command)(const wchar_t* name, int length, struct CkBridgeError* error);
};

#if defined(CK_DOUBLE_BUILDING)
#define CK_DOUBLE_EXPORT __declspec(dllexport)
#else
#define CK_DOUBLE_EXPORT __declspec(dllimport)
#endif

CK_DOUBLE_EXPORT void CkConnectFrameworkDouble(const struct CkBridge* bridge);

// The MSVC-ABI function that serves the game function `key` in the game's
// place, forwarding to `original` (the simulated game's function, with the
// plugin's explicit signature); null when the key's interface is the same
// for both compilers.
CK_DOUBLE_EXPORT void* CkGameThunk(const char* key, void* original);

// How the game enters the hooked function `key`: a function taking the
// chain's head and then the key's arguments (a class passed by value as the
// address of the caller's copy), which calls the head as an MSVC member
// function call. Null for a key the game does not hook.
CK_DOUBLE_EXPORT void* CkHookEntry(const char* key);

#ifdef __cplusplus
}
#endif
