#include <gtest/gtest.h>

#include <memory>

#include "host/engine/weak_pointer.h"
#include "sim/framework/framework.h"
#include "sim/game/game.h"

namespace {

// A server whose freed controllers' memory goes to the next controller made.
class ObjectIdentityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::ServerSettings server;
    server.reuse_controller_memory = true;
    game_ = std::make_unique<sim::Game>(server, sim::ModSettings{});
    for (const char* id : {"ava", "bob"}) {
      sim::PlayerSpec spec;
      spec.id = id;
      game_->AddPlayer(spec);
    }
  }
  void TearDown() override { game_.reset(); }

  sim::Player& Player(const char* id) { return *game_->FindPlayer(id); }

  std::unique_ptr<sim::Game> game_;
};

TEST_F(ObjectIdentityTest, ANewControllerAtADepartedOnesAddressHasAnotherIdentity) {
  const void* avas = Player("ava").controller;
  const ck::host::ObjectIdentity avas_identity = ck::host::IdentityOf(avas);
  game_->Leave(Player("bob"));
  game_->Leave(Player("ava"));
  sim::Objects().Collect();
  game_->Download(Player("bob"));
  // The premise: the engine made Bob's new controller where Ava's was.
  ASSERT_EQ(static_cast<const void*>(Player("bob").controller), avas);
  EXPECT_NE(ck::host::IdentityOf(Player("bob").controller), avas_identity);
  EXPECT_EQ(ck::host::IdentityOf(Player("bob").controller), ck::host::IdentityOf(Player("bob").controller));
  EXPECT_EQ(ck::host::IdentityOf(nullptr), 0u);
}

}  // namespace
