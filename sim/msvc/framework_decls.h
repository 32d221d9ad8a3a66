// The framework's declarations as its public headers make them, transcribed
// for clang in MSVC mode (x86_64-pc-windows-msvc). Compiled here, clang (not
// our own reading of MSVC's rules) decides the decorated names, the virtual
// slot order and the calling conventions of everything below:
//
//   - the test double of the framework (framework_double.cpp) implements
//     these declarations, so the Windows DLL is tested against them;
//   - the truth checks compare what Cradlekeep.dll imports with the names
//     clang decorates here, and the slots the plugin's binary-interface layer
//     uses with clang's vtable dump of this file.
//
// Sources of the facts, all public: the framework's headers (IHooks.h,
// ICommands.h, Ark/ArkApiUtils.h, Ark/MessagingManager.h, API/Base.h,
// API/UE/Containers/UnrealString.h), spdlog 0.16.2 and its bundled fmt 4.1
// (the framework's Logger/ folder), and the layouts of MSVC's standard
// library (std::basic_string, std::function, std::shared_ptr, std::vector) as
// a release build lays them out. Only what the plugin uses is transcribed, in
// the headers' own order; freestanding, so the standard library's classes are
// reduced to their members.
#pragma once

using int32 = int;
using uint32 = unsigned int;
using int64 = long long;
using uint64 = unsigned long long;
using size_t = unsigned long long;
typedef unsigned long DWORD;
typedef unsigned long long DWORD64;
typedef unsigned long long ULONGLONG;
typedef void* LPVOID;
typedef wchar_t WIDECHAR;

#if defined(CK_DOUBLE_BUILDING)
#define ARK_API __declspec(dllexport)
#else
#define ARK_API __declspec(dllimport)
#endif

class type_info;

// --- MSVC's standard library: layouts only ----------------------------------
namespace std {

template <class Elem>
struct char_traits;

template <class Ty>
class allocator {};

// Release layout: a 16-byte buffer/pointer union, the size, the capacity; the
// text is inline while the capacity is 15 (chars) or less.
template <class Elem, class Traits = char_traits<Elem>, class Alloc = allocator<Elem>>
class basic_string {
 public:
  union Bx {
    Elem buf[16 / sizeof(Elem)];
    Elem* ptr;
  } bx;
  size_t size;
  size_t capacity;

  const Elem* data() const { return capacity < 16 / sizeof(Elem) ? bx.buf : bx.ptr; }
};
using string = basic_string<char>;

// The implementation interface behind std::function, in its slot order.
template <class Rx, class... Types>
class __declspec(novtable) _Func_base {
 public:
  virtual _Func_base* _Copy(void* where) const = 0;
  virtual _Func_base* _Move(void* where) noexcept = 0;
  virtual Rx _Do_call(Types&&... args) = 0;
  virtual const type_info& _Target_type() const noexcept = 0;
  virtual void _Delete_this(bool deallocate) noexcept = 0;

 private:
  virtual const void* _Get() const noexcept = 0;
};

// 64 bytes: 56 bytes of small-object storage, then the implementation pointer
// (pointing at the storage itself when the implementation lives inside it).
template <class Fty>
class function;
template <class Rx, class... Types>
class function<Rx(Types...)> {
 public:
  union Storage {
    double dummy1;
    char dummy2[56];
    _Func_base<Rx, Types...>* ptrs[8];
  } storage;

  _Func_base<Rx, Types...>* impl() const { return storage.ptrs[7]; }
  bool local() const { return static_cast<const void*>(impl()) == static_cast<const void*>(&storage); }
};

// The control block of a shared pointer: two 32-bit counts after the vtable.
class __declspec(novtable) _Ref_count_base {
 private:
  virtual void _Destroy() noexcept = 0;
  virtual void _Delete_this() noexcept = 0;

 public:
  unsigned long uses = 1;
  unsigned long weaks = 1;
  virtual ~_Ref_count_base() noexcept {}
  virtual void* _Get_deleter(const type_info&) const noexcept { return nullptr; }

  friend void ReleaseShared(_Ref_count_base* control);
};

template <class Ty>
class shared_ptr {
 public:
  Ty* ptr;
  _Ref_count_base* rep;
};

template <class Ty, class Alloc = allocator<Ty>>
class vector {
 public:
  Ty* first;
  Ty* last;
  Ty* end;
};

template <class Ty>
class optional {
 public:
  union {
    char dummy;
    Ty value;
  };
  bool has_value;
};

}  // namespace std

// --- API/Base.h ---------------------------------------------------------------
struct AActor;
struct APlayerController;
struct AShooterPlayerController;
struct AShooterGameMode;
struct UWorld;
struct UShooterCheatManager;
struct UTexture2D;
struct RCONClientConnection;
struct RCONPacket;

struct BitField {
  DWORD64 offset;
  DWORD bit_position;
  ULONGLONG num_bits;
  ULONGLONG length;
};

// --- API/UE/Containers/UnrealString.h ---------------------------------------
template <typename T>
struct TArray {
  T* Data;
  int32 ArrayNum;
  int32 ArrayMax;
};

class FString {
 public:
  FString() = default;
  ARK_API FString(const WIDECHAR* Str);
  ARK_API FString(int32 Len, const WIDECHAR* Str);

  TArray<WIDECHAR> Data;
};

struct FLinearColor {
  float R;
  float G;
  float B;
  float A;
};

// --- Logger/ (spdlog 0.16.2 with its bundled fmt 4.1) -----------------------
namespace fmt {
template <typename T>
class Buffer {
 protected:
  T* ptr_;
  size_t size_;
  size_t capacity_;
  virtual void grow(size_t size) = 0;

 public:
  virtual ~Buffer() {}
};

namespace internal {
template <typename T, size_t SIZE, typename Allocator = std::allocator<T>>
class MemoryBuffer : private Allocator, public Buffer<T> {
 public:
  T data_[SIZE];

 protected:
  void grow(size_t size) override;
};
}  // namespace internal

template <typename Char>
class BasicWriter {
 public:
  explicit BasicWriter(Buffer<Char>& b) : buffer_(b) {}
  virtual ~BasicWriter() {}

  Buffer<Char>& buffer_;
};

template <typename Char, typename Allocator = std::allocator<Char>>
class BasicMemoryWriter : public BasicWriter<Char> {
 public:
  BasicMemoryWriter() : BasicWriter<Char>(buffer_) {}

  internal::MemoryBuffer<Char, 500, Allocator> buffer_;
};
typedef BasicMemoryWriter<char> MemoryWriter;
}  // namespace fmt

namespace spdlog {
namespace level {
enum level_enum { trace = 0, debug = 1, info = 2, warn = 3, err = 4, critical = 5, off = 6 };
}

namespace details {
struct log_msg {
  const std::string* logger_name;
  level::level_enum level;
  long long time;  // system_clock::time_point: 100 ns units since 1970
  size_t thread_id;
  fmt::MemoryWriter raw;
  fmt::MemoryWriter formatted;
  size_t msg_id;
};
}  // namespace details

namespace sinks {
class sink {
 public:
  virtual ~sink() {}
  virtual void log(const details::log_msg& msg) = 0;
  virtual void flush() = 0;

  int level_ = level::trace;  // std::atomic<int>: the lowest level the sink writes
};
}  // namespace sinks

using sink_ptr = std::shared_ptr<sinks::sink>;
}  // namespace spdlog

// --- Ark/MessagingManager.h ---------------------------------------------------
// No virtual destructor (API 2.01 to 2.03): slot 0 is MeetsRequirementsToWork.
class ARK_API MessagingManager {
 public:
  virtual std::optional<std::string> MeetsRequirementsToWork();

 protected:
  virtual void SendServerMessage_Impl(AShooterPlayerController* player_controller, FLinearColor color,
                                      const FString& message);
  virtual void SendChatMessage_Impl(AShooterPlayerController* player_controller, const FString& sender_name,
                                    const FString& msg);
  virtual void SendNotification_Impl(AShooterPlayerController* player_controller, FLinearColor color,
                                     float display_scale, float display_time, UTexture2D* icon,
                                     const FString& message);

  UWorld* WorldContext = nullptr;
};

namespace AsaApi {

// --- IHooks.h -----------------------------------------------------------------
class ARK_API IHooks {
 public:
  virtual ~IHooks() = default;
  virtual bool DisableHook(const std::string& func_name, LPVOID detour) = 0;

 private:
  virtual bool SetHookInternal(const std::string& func_name, LPVOID detour, LPVOID* original) = 0;
};

ARK_API IHooks& GetHooks();

// --- ICommands.h --------------------------------------------------------------
class ARK_API ICommands {
 public:
  virtual ~ICommands() = default;
  virtual void AddChatCommand(
      const FString& command,
      const std::function<void(AShooterPlayerController*, FString*, int, int)>& callback) = 0;
  virtual void AddConsoleCommand(const FString& command,
                                 const std::function<void(APlayerController*, FString*, bool)>& callback) = 0;
  virtual void AddRconCommand(const FString& command,
                              const std::function<void(RCONClientConnection*, RCONPacket*, UWorld*)>& callback) = 0;
  virtual void AddOnTickCallback(const FString& id, const std::function<void(float)>& callback) = 0;
  virtual void AddOnTimerCallback(const FString& id, const std::function<void()>& callback) = 0;
  virtual void AddOnChatMessageCallback(
      const FString& id,
      const std::function<bool(AShooterPlayerController*, FString*, int, int, bool, bool)>& callback) = 0;
  virtual bool RemoveChatCommand(const FString& command) = 0;
  virtual bool RemoveConsoleCommand(const FString& command) = 0;
  virtual bool RemoveRconCommand(const FString& command) = 0;
  virtual bool RemoveOnTickCallback(const FString& id) = 0;
  virtual bool RemoveOnTimerCallback(const FString& id) = 0;
  virtual bool RemoveOnChatMessageCallback(const FString& id) = 0;
};

ARK_API ICommands& GetCommands();

// --- Ark/ArkApiUtils.h --------------------------------------------------------
enum class ServerStatus { Loading = 0, Ready = 1 };

class ARK_API IApiUtils {
 public:
  virtual ~IApiUtils() = default;
  virtual UWorld* GetWorld() const = 0;
  virtual AShooterGameMode* GetShooterGameMode() const = 0;
  virtual ServerStatus GetStatus() const = 0;
  virtual UShooterCheatManager* GetCheatManager() const = 0;

 private:
  virtual AShooterPlayerController* FindPlayerFromEOSID_Internal(const FString& eos_id) const = 0;
  virtual std::shared_ptr<MessagingManager> GetMessagingManagerInternal(const FString& forPlugin) const = 0;
  virtual void SetMessagingManagerInternal(const FString& forPlugin, std::shared_ptr<MessagingManager> manager) = 0;
};

ARK_API IApiUtils& GetApiUtils();

}  // namespace AsaApi

// --- API/Base.h: game members by key; Logger/Logger.h: the shared sinks ------
ARK_API DWORD64 GetAddress(const void* base, const std::string& name);
ARK_API LPVOID GetAddress(const std::string& name);
ARK_API BitField GetBitField(const void* base, const std::string& name);
ARK_API std::vector<spdlog::sink_ptr>& GetLogSinks();
