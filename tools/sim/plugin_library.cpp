#include "tools/sim/plugin_library.h"

#include "sim/framework/clock_redirect.h"

#include <filesystem>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace simtool {

PluginLibrary::~PluginLibrary() { Close(); }

void PluginLibrary::Abandon() {
  handle_ = nullptr;
  init = nullptr;
  unload = nullptr;
  capture = nullptr;
}

#if defined(_WIN32)

bool PluginLibrary::Open(const std::string& path) {
  Close();
  // The wide API: the narrow one reads the system code page, not UTF-8.
  const std::u8string utf8(path.begin(), path.end());
  HMODULE module = LoadLibraryW(std::filesystem::path(utf8).c_str());
  if (module == nullptr) {
    error_ = "cannot load plugin library '" + path + "' (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  handle_ = module;
  simfw::SimulateSteadyClockInModule(module);
  init = reinterpret_cast<InitFn>(reinterpret_cast<void*>(GetProcAddress(module, "Plugin_Init")));
  unload = reinterpret_cast<UnloadFn>(reinterpret_cast<void*>(GetProcAddress(module, "Plugin_Unload")));
  capture = reinterpret_cast<CaptureFn>(
      reinterpret_cast<void*>(GetProcAddress(module, "Cradlekeep_CaptureForTransfer")));
  if (init == nullptr || unload == nullptr || capture == nullptr) {
    error_ = "plugin library '" + path + "' lacks an entry point";
    Close();
    return false;
  }
  return true;
}

void PluginLibrary::Close() {
  if (handle_ != nullptr) FreeLibrary(static_cast<HMODULE>(handle_));
  handle_ = nullptr;
  init = nullptr;
  unload = nullptr;
  capture = nullptr;
}

std::filesystem::path PluginLibrary::DefaultPath() {
  wchar_t buffer[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  return std::filesystem::path(buffer).parent_path() / "Cradlekeep.dll";
}

#else

bool PluginLibrary::Open(const std::string& path) {
  Close();
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* why = dlerror();
    error_ = "cannot load plugin library '" + path + "': " + (why != nullptr ? why : "unknown error");
    return false;
  }
  handle_ = handle;
  simfw::SimulateSteadyClockInModule(handle);
  init = reinterpret_cast<InitFn>(dlsym(handle, "Plugin_Init"));
  unload = reinterpret_cast<UnloadFn>(dlsym(handle, "Plugin_Unload"));
  capture = reinterpret_cast<CaptureFn>(dlsym(handle, "Cradlekeep_CaptureForTransfer"));
  if (init == nullptr || unload == nullptr || capture == nullptr) {
    error_ = "plugin library '" + path + "' lacks an entry point";
    Close();
    return false;
  }
  return true;
}

void PluginLibrary::Close() {
  if (handle_ != nullptr) dlclose(handle_);
  handle_ = nullptr;
  init = nullptr;
  unload = nullptr;
  capture = nullptr;
}

std::filesystem::path PluginLibrary::DefaultPath() {
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  const auto folder = ec ? std::filesystem::current_path() : self.parent_path();
  return folder / "libcradlekeep.so";
}

#endif

}  // namespace simtool
