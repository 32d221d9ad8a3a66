#include "tools/sim/other_plugins.h"

#include <stdexcept>

#include "asa/asa.h"
#include "sim/framework/framework.h"

namespace simtool {

namespace {

// A free detour of the key's pool for another plugin: in use from now on.
std::size_t TakeDetour(simfw::HookSlot& slot, bool blocks) {
  for (std::size_t i = 0; i < slot.others.size(); ++i) {
    simfw::HookSlot::OtherDetour& other = slot.others[i];
    if (other.in_use) continue;
    other.in_use = true;
    other.blocks = blocks;
    other.calls = 0;
    other.original = nullptr;
    return i;
  }
  throw std::runtime_error("more than " + std::to_string(slot.others.size()) + " other plugins hook " + slot.key);
}

}  // namespace

OtherPlugins::Plugin* OtherPlugins::Find(const std::string& name) {
  for (Plugin& plugin : plugins_) {
    if (plugin.name == name) return &plugin;
  }
  return nullptr;
}

void OtherPlugins::Load(const std::string& name, const std::vector<std::string>& keys, bool blocks) {
  if (Plugin* loaded = Find(name); loaded != nullptr && loaded->loaded) {
    throw std::runtime_error("the plugin " + name + " is already loaded");
  }
  auto& fw = simfw::Fw();
  Plugin plugin{name, fw.modules.BeginOther(name), true, {}};
  std::string refused;
  for (const std::string& key : keys) {
    simfw::HookSlot& slot = *fw.registry.Hookable(key);
    const std::size_t index = TakeDetour(slot, blocks);
    simfw::HookSlot::OtherDetour& other = slot.others[index];
    fw.modules.Claim(other.code, plugin.module);
    plugin.hooks.push_back(Hooked{key, index});
    if (!AsaApi::GetHooks().SetHook(key, other.code, &other.original) && refused.empty()) refused = key;
  }
  if (Plugin* earlier = Find(name); earlier != nullptr) {
    *earlier = std::move(plugin);
  } else {
    plugins_.push_back(std::move(plugin));
  }
  if (!refused.empty()) throw std::runtime_error("the framework refused " + name + "'s hook on " + refused);
}

void OtherPlugins::Unload(const std::string& name) {
  Plugin* plugin = Find(name);
  if (plugin == nullptr || !plugin->loaded) throw std::runtime_error("no plugin " + name + " is loaded");
  auto& fw = simfw::Fw();
  // As 2.03 PluginManager::UnloadPlugin: the module's hooks out, then the
  // library freed; a detour of it still called after that is a defect.
  fw.hooks.DisableAllFromModule(plugin->module);
  fw.modules.End(plugin->module);
  plugin->loaded = false;
}

void OtherPlugins::UnloadAll() {
  for (Plugin& plugin : plugins_) {
    if (plugin.loaded) Unload(plugin.name);
  }
}

nlohmann::ordered_json OtherPlugins::Report() const {
  auto& fw = simfw::Fw();
  nlohmann::ordered_json report = nlohmann::ordered_json::object();
  for (const Plugin& plugin : plugins_) {
    nlohmann::ordered_json calls = nlohmann::ordered_json::object();
    for (const Hooked& hooked : plugin.hooks) {
      calls[hooked.key] = fw.registry.Hookable(hooked.key)->others[hooked.detour].calls;
    }
    report[plugin.name] = nlohmann::ordered_json{{"hooks", fw.hooks.KeysOfModule(plugin.module)}, {"calls", calls}};
  }
  return report;
}

}  // namespace simtool
