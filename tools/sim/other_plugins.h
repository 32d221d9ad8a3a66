// Other plugins beside Cradlekeep (the otherPlugin and unloadOtherPlugin
// steps): each a module of its own that hooks game functions through the
// framework, as plugins do on a real server.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace simtool {

class OtherPlugins {
 public:
  // The plugin `name` loads and hooks each key in order (installed after
  // every hook already there, so it runs before them). `blocks`: its detours
  // count the call and return without calling on; otherwise they count and
  // call on. Throws std::runtime_error when a plugin of that name is loaded,
  // or when the framework refuses one of its hooks (the ones it took stay).
  void Load(const std::string& name, const std::vector<std::string>& keys, bool blocks);
  // The framework unloads it: its hooks taken out as the framework takes a
  // module's out (every removal rebuilds the key's chain). Throws
  // std::runtime_error when no plugin of that name is loaded.
  void Unload(const std::string& name);
  // {"<name>": {"hooks": [...still installed], "calls": {"<key>": N}}} for
  // every plugin a step loaded.
  nlohmann::ordered_json Report() const;
  // Every plugin still loaded is unloaded (the run's end).
  void UnloadAll();

 private:
  struct Hooked {
    std::string key;
    std::size_t detour;  // its index in the key's pool of other detours
  };
  struct Plugin {
    std::string name;
    int module = 0;
    bool loaded = false;
    std::vector<Hooked> hooks;
  };
  Plugin* Find(const std::string& name);
  std::vector<Plugin> plugins_;
};

}  // namespace simtool
