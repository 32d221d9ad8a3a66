// The plugin's own module file path, asked of the operating system.
#include "host/framework/module_path.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <cctype>

#include "host/framework/engine_text.h"

namespace ck::host {

namespace {

bool SameFolderName(const std::filesystem::path& folder, std::string_view name) {
  const std::u8string text = folder.filename().u8string();
  if (text.size() != name.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto a = static_cast<unsigned char>(text[i]);
    const auto b = static_cast<unsigned char>(name[i]);
    if (std::tolower(a) != std::tolower(b)) return false;
  }
  return true;
}

}  // namespace

std::filesystem::path InstalledPluginFolder(std::u16string_view module_path) {
  if (module_path.empty()) return {};
  const std::filesystem::path module(std::u16string(module_path.begin(), module_path.end()));
  const std::filesystem::path folder = module.parent_path();
  if (folder.empty() || !SameFolderName(folder.parent_path(), "Plugins")) return {};
  return folder;
}

namespace {
// An address inside this module.
void ModuleAnchor() {}
}  // namespace

#if defined(_WIN32)

std::u16string OwnModulePath() {
  HMODULE module = nullptr;
  // GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT
  GetModuleHandleExA(6, reinterpret_cast<LPCSTR>(&ModuleAnchor), &module);
  wchar_t buffer[260] = {};
  const DWORD length = GetModuleFileNameW(module, buffer, 260);
  return std::u16string(reinterpret_cast<const char16_t*>(buffer), length);
}

#else

std::u16string OwnModulePath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&ModuleAnchor), &info) == 0 || info.dli_fname == nullptr) {
    return {};
  }
  return Utf8ToUtf16(info.dli_fname);
}

#endif

}  // namespace ck::host
