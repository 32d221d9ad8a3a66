#include <gtest/gtest.h>

#include "host/game_access.h"
#include "support/sim_world.h"

namespace {

struct Flags {
  uint32 padding;
  uint32 word;
};

class BitFieldTest : public cktest::SimWorldTest {
 protected:
  void SetUp() override {
    SimWorldTest::SetUp();
    fw().registry.AddBitField("UTest.bMiddle", offsetof(Flags, word), 3, 1);
    fw().registry.AddBitField("UTest.Wide", offsetof(Flags, word), 8, 4);
  }
};

TEST_F(BitFieldTest, AWriteChangesOnlyItsOwnBits) {
  Flags flags{0xFFFFFFFF, 0xA5A5A5A5 & ~(1u << 3)};
  EXPECT_FALSE(ck::host::ReadBitField(&flags, "UTest.bMiddle"));
  ck::host::WriteBitField(&flags, "UTest.bMiddle", true);
  EXPECT_EQ(flags.word, 0xA5A5A5A5 | (1u << 3));
  EXPECT_TRUE(ck::host::ReadBitField(&flags, "UTest.bMiddle"));
  ck::host::WriteBitField(&flags, "UTest.bMiddle", false);
  EXPECT_EQ(flags.word, 0xA5A5A5A5 & ~(1u << 3));
  EXPECT_EQ(flags.padding, 0xFFFFFFFF);
}

TEST_F(BitFieldTest, AMultiBitFieldReadsTrueWhenAnyOfItsBitsIsSet) {
  Flags flags{0, 0x00000200};
  EXPECT_TRUE(ck::host::ReadBitField(&flags, "UTest.Wide"));
  ck::host::WriteBitField(&flags, "UTest.Wide", false);
  EXPECT_EQ(flags.word, 0u);
  ck::host::WriteBitField(&flags, "UTest.Wide", true);
  EXPECT_EQ(flags.word, 0x00000F00u);
}

TEST_F(BitFieldTest, ANullObjectReadsFalseAndIgnoresWrites) {
  EXPECT_FALSE(ck::host::ReadBitField(nullptr, "UTest.bMiddle"));
  ck::host::WriteBitField(nullptr, "UTest.bMiddle", true);
}

}  // namespace
