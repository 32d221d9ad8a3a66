// Loads the plugin library the way the framework does and finds its three
// entry points.
#pragma once

#include <filesystem>
#include <string>

#include "asa/engine_types.h"

namespace simtool {

class PluginLibrary {
 public:
  using InitFn = void (*)();
  using UnloadFn = void (*)();
  using CaptureFn = bool (*)(AShooterPlayerController*);

  PluginLibrary() = default;
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  // Opens the library at PATH (UTF-8); false (with Error()) when it cannot be
  // opened or lacks an entry point.
  bool Open(const std::string& path);
  // Closes the library; its static objects are destroyed.
  void Close();
  // Forgets the library without closing it: it stays mapped for the rest of
  // the process (the framework still holds code of it).
  void Abandon();
  bool IsOpen() const { return handle_ != nullptr; }
  const std::string& Error() const { return error_; }

  InitFn init = nullptr;
  UnloadFn unload = nullptr;
  CaptureFn capture = nullptr;

  // The plugin library built beside the running executable.
  static std::filesystem::path DefaultPath();

 private:
  void* handle_ = nullptr;
  std::string error_;
};

}  // namespace simtool
