#include <gtest/gtest.h>

#include "capture/create_item.h"
#include "capture/inventory_insertion.h"
#include "support/capture_fixture.h"

namespace {

using ck::capture::InsertPodIntoInventory;

class InsertionTest : public cktest::CaptureTest {
 protected:
  void SetUp() override {
    CaptureTest::SetUp();
    StartWorld(R"({"CaptureMode": "cryo", "DebugLogging": true})", {}, {});
    item_ = game().NewItem(game().ClassNamed(sim::Game::kVanillaCryopodClass));
    MarkTimeline();
  }
  UPrimalItem* Item() { return reinterpret_cast<UPrimalItem*>(item_); }
  sim::Item* item_ = nullptr;
};

TEST_F(InsertionTest, ThePlainAddNeedsNoLiftingAndWritesNoLine) {
  EXPECT_EQ(InsertPodIntoInventory(Pawn(), Controller(), Item()), Item());
  EXPECT_TRUE(Ava().inventory->Holds(item_));
  EXPECT_TRUE(Timeline().empty());
  EXPECT_EQ(Ava().inventory->refreshes, 1);
  EXPECT_EQ(game().ArgsOf("UPrimalItem.UpdatedItem").size(), 1u);
  EXPECT_EQ(game().ArgsOf("UPrimalItem.InventoryRefreshCheckItem").size(), 1u);
}

TEST_F(InsertionTest, UnderTheTransferLockTheExtendedAddGoesInAndTheLockIsRestored) {
  Ava().controller->bIsTransferringCharacter = 1;
  Ava().inventory->InventoryFlags = 0xF0;  // can-inventory off, other bits on
  EXPECT_EQ(InsertPodIntoInventory(Pawn(), Controller(), Item()), Item());
  EXPECT_EQ(Ava().controller->bIsTransferringCharacter, 1);
  EXPECT_EQ(Ava().inventory->InventoryFlags, 0xF0u);
  EXPECT_EQ(game().ArgsOf("UPrimalInventoryComponent.AddItemObjectEx"),
            std::vector<std::string>{"false,false,true,true,true,true,pawn,false,null,false"});
  EXPECT_TRUE(game().ArgsOf("UPrimalItem.AddToInventory").empty());
  EXPECT_EQ(Timeline(),
            std::vector<std::string>{"info: Cradlekeep inserted pod while temporarily lifting the transfer inventory lock"});
}

TEST_F(InsertionTest, WhenTheExtendedAddRefusesTheForcedAddGoesIn) {
  Ava().controller->bIsTransferringCharacter = 7;
  fw().faults.Arm({"UPrimalInventoryComponent.AddItemObjectEx(UPrimalItem*,bool,bool,bool,bool,bool,bool,"
                   "AShooterCharacter*,bool,UPrimalItem*,bool)",
                   std::nullopt, simfw::FaultMode::kFail, 1, false});
  EXPECT_EQ(InsertPodIntoInventory(Pawn(), Controller(), Item()), Item());
  EXPECT_EQ(Ava().controller->bIsTransferringCharacter, 7) << "the saved byte, not just 1";
  EXPECT_EQ(game().ArgsOf("UPrimalItem.AddToInventory"),
            std::vector<std::string>{"object,false,false,null,true,true,true,false,false,false"});
  EXPECT_EQ(Timeline(), std::vector<std::string>{"info: Cradlekeep inserted pod through the forced item inventory path"});
}

TEST_F(InsertionTest, AControllerNotTransferringGoesStraightToTheForcedAdd) {
  Ava().inventory->InventoryFlags = 0;
  EXPECT_EQ(InsertPodIntoInventory(Pawn(), Controller(), Item()), Item());
  EXPECT_TRUE(game().ArgsOf("UPrimalInventoryComponent.AddItemObjectEx").empty());
  EXPECT_EQ(Ava().inventory->InventoryFlags, 0u);
}

TEST_F(InsertionTest, AllAttemptsFailingEndWithOneRefreshAndNull) {
  Ava().controller->bIsTransferringCharacter = 1;
  fw().faults.Arm({"UPrimalInventoryComponent.AddItemObjectEx(UPrimalItem*,bool,bool,bool,bool,bool,bool,"
                   "AShooterCharacter*,bool,UPrimalItem*,bool)",
                   std::nullopt, simfw::FaultMode::kFail, 1, false});
  fw().faults.Arm({"UPrimalItem.AddToInventory(UPrimalInventoryComponent*,bool,bool,FItemNetID*,bool,bool,bool,bool,"
                   "bool,bool)",
                   std::nullopt, simfw::FaultMode::kFail, 1, false});
  EXPECT_EQ(InsertPodIntoInventory(Pawn(), Controller(), Item()), nullptr);
  EXPECT_EQ(Ava().inventory->refreshes, 1);
  EXPECT_TRUE(game().ArgsOf("UPrimalItem.UpdatedItem").empty());
  EXPECT_EQ(Ava().controller->bIsTransferringCharacter, 1);
  EXPECT_TRUE(Timeline().empty());
}

TEST_F(InsertionTest, AThrowingAttemptRestoresTheLockAndLetsTheNextAttemptIn) {
  Ava().controller->bIsTransferringCharacter = 1;
  Ava().inventory->InventoryFlags = 0;
  fw().faults.Arm({"UPrimalInventoryComponent.AddItemObjectEx(UPrimalItem*,bool,bool,bool,bool,bool,bool,"
                   "AShooterCharacter*,bool,UPrimalItem*,bool)",
                   std::nullopt, simfw::FaultMode::kThrow, 1, false});
  EXPECT_EQ(InsertPodIntoInventory(Pawn(), Controller(), Item()), Item()) << "the forced add still gets it in";
  EXPECT_EQ(Ava().controller->bIsTransferringCharacter, 1);
  EXPECT_EQ(Ava().inventory->InventoryFlags, 0u);
  EXPECT_EQ(Timeline(),
            (std::vector<std::string>{"info: Cradlekeep inserted pod through the forced item inventory path",
                                      "warn: Cradlekeep inserted pod after an insertion attempt failed: injected "
                                      "fault: UPrimalInventoryComponent.AddItemObjectEx(UPrimalItem*,bool,bool,bool,"
                                      "bool,bool,bool,AShooterCharacter*,bool,UPrimalItem*,bool)"}));
}

TEST_F(InsertionTest, WhenEveryAttemptFailsTheFirstFailureIsThrownWithTheLockRestored) {
  Ava().controller->bIsTransferringCharacter = 1;
  Ava().inventory->InventoryFlags = 0;
  fw().faults.Arm({"UPrimalInventoryComponent.AddItemObject(UPrimalItem*)", std::nullopt, simfw::FaultMode::kThrowUnknown,
                   1, false});
  fw().faults.Arm({"UPrimalInventoryComponent.AddItemObjectEx(UPrimalItem*,bool,bool,bool,bool,bool,bool,"
                   "AShooterCharacter*,bool,UPrimalItem*,bool)",
                   std::nullopt, simfw::FaultMode::kThrow, 1, false});
  fw().faults.Arm({"UPrimalItem.AddToInventory(UPrimalInventoryComponent*,bool,bool,FItemNetID*,bool,bool,bool,bool,"
                   "bool,bool)",
                   std::nullopt, simfw::FaultMode::kFail, 1, false});
  EXPECT_THROW((void)InsertPodIntoInventory(Pawn(), Controller(), Item()), simfw::InjectedUnknownFault);
  EXPECT_EQ(Ava().controller->bIsTransferringCharacter, 1);
  EXPECT_EQ(Ava().inventory->InventoryFlags, 0u);
  EXPECT_EQ(Ava().inventory->refreshes, 1);
}

TEST_F(InsertionTest, APlainAddThatReturnsNothingButLandedCountsWithoutLifting) {
  fw().faults.Arm({"UPrimalInventoryComponent.AddItemObject(UPrimalItem*)", std::nullopt, simfw::FaultMode::kFail, 1,
                   false});
  Ava().inventory->Place(item_);  // the item already sits in the inventory
  EXPECT_EQ(InsertPodIntoInventory(Pawn(), Controller(), Item()), Item());
  EXPECT_TRUE(game().ArgsOf("UPrimalItem.AddToInventory").empty());
}

TEST_F(InsertionTest, MissingPiecesGiveNullAndAPawnWithoutInventoryIsLogged) {
  EXPECT_EQ(InsertPodIntoInventory(nullptr, Controller(), Item()), nullptr);
  EXPECT_EQ(InsertPodIntoInventory(Pawn(), nullptr, Item()), nullptr);
  EXPECT_EQ(InsertPodIntoInventory(Pawn(), Controller(), nullptr), nullptr);
  EXPECT_TRUE(Timeline().empty());
  Ava().pawn->MyInventoryComponent = nullptr;
  EXPECT_EQ(InsertPodIntoInventory(Pawn(), Controller(), Item()), nullptr);
  EXPECT_EQ(Timeline(), std::vector<std::string>{"warn: Cradlekeep could not resolve player inventory from character field"});
  Ava().pawn->MyInventoryComponent = Ava().inventory;
}

}  // namespace
