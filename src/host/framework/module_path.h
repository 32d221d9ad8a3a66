// The full path of the plugin's own module file, by which the framework's
// messaging service knows the plugin.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace ck::host {

// The path as 16-bit text; "" when the operating system cannot tell.
std::u16string OwnModulePath();

// The folder the framework installed the module at `module_path` in, when it
// sits where the framework installs plugins (ArkApi/Plugins/<name>/<name>.dll,
// "Plugins" in any letter case): the module's own folder. Empty otherwise,
// and for an empty path.
std::filesystem::path InstalledPluginFolder(std::u16string_view module_path);

}  // namespace ck::host
