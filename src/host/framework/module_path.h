// The full path of the plugin's own module file, by which the framework's
// messaging service knows the plugin.
#pragma once

#include <string>

namespace ck::host {

// The path as 16-bit text; "" when the operating system cannot tell.
std::u16string OwnModulePath();

}  // namespace ck::host
