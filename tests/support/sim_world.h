// Test support: a fresh simulated server for every test.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "sim/framework/framework.h"
#include "sim/game/game.h"

namespace cktest {

class SimWorldTest : public ::testing::Test {
 protected:
  void SetUp() override { game_ = std::make_unique<sim::Game>(sim::ServerSettings{}, sim::ModSettings{}); }
  void TearDown() override { game_.reset(); }

  simfw::Framework& fw() { return simfw::Fw(); }
  sim::Game& game() { return *game_; }

  std::unique_ptr<sim::Game> game_;
};

}  // namespace cktest
