#include "state/plugin_state.h"

#include "core/log.h"

namespace ck::state {

void Begin() {
  End();
  detail::g_current = new PluginState();
}

void End() noexcept {
  delete detail::g_current;
  detail::g_current = nullptr;
}

}  // namespace ck::state

namespace ck::log {

bool TraceEnabled() { return state::Running() && state::Current().settings.DebugLogging; }

}  // namespace ck::log
