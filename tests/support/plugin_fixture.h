// Test support: a fresh simulated server with the plugin's code linked in,
// in a scratch working directory of its own (where the plugin looks for its
// configuration file).
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "config/plugin_config.h"
#include "plugin/lifecycle.h"
#include "state/plugin_state.h"
#include "support/sim_world.h"

namespace cktest {

class PluginTest : public SimWorldTest {
 protected:
  void SetUp() override {
    SimWorldTest::SetUp();
    previous_ = std::filesystem::current_path();
    scratch_ = std::filesystem::temp_directory_path() /
               ("cradlekeep-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(scratch_);
    std::filesystem::current_path(scratch_);
    // The framework's offsets cache of this game build, where the plugin looks for it.
    fw().build.WriteCache(scratch_, fw().registry, simfw::OffsetsCacheState::kPresent);
    ck::state::Begin();  // a fresh plugin state: default settings, empty tables
  }

  void TearDown() override {
    if (started_) Stop();
    ck::state::End();
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(scratch_);
    SimWorldTest::TearDown();
    EXPECT_EQ(simfw::Fw().memory.LiveBlocks(), 0) << "engine blocks the plugin allocated and never freed";
  }

  void WriteConfig(const std::string& text) {
    std::filesystem::create_directories("ArkApi/Plugins/Cradlekeep");
    std::ofstream("ArkApi/Plugins/Cradlekeep/config.json", std::ios::binary | std::ios::trunc) << text;
  }

  // Start-up and unload as the framework runs them around the plugin: what
  // it registers belongs to its module, and unloading removes it all after
  // the plugin's own unload.
  void Start() {
    module_ = simfw::Fw().modules.Begin();
    ck::plugin::Startup();
    started_ = true;
  }

  void Stop() {
    ck::plugin::Teardown();
    simfw::Fw().ForgetModule(module_);
    simfw::Fw().modules.End(module_);
    started_ = false;
  }

  // The plugin's log lines so far, text only.
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (const auto& r : simfw::Fw().logs.RecordsOf("Cradlekeep")) lines.push_back(r.text);
    return lines;
  }

 private:
  std::filesystem::path previous_;
  std::filesystem::path scratch_;
  bool started_ = false;
  int module_ = 0;
};

}  // namespace cktest
