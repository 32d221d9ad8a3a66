#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/game/members.h"
#include "support/sim_world.h"

namespace {

using ck::host::BitFlag;
using ck::host::Field;
using ck::host::Function;
using ck::host::Param;

struct Flags {
  uint32 padding;
  uint32 word;
};

constinit BitFlag kMiddle{"UTest.bMiddle"};
constinit BitFlag kWide{"UTest.Wide"};

class BitFlagTest : public cktest::SimWorldTest {
 protected:
  void SetUp() override {
    SimWorldTest::SetUp();
    fw().registry.AddBitField("UTest.bMiddle", offsetof(Flags, word), 3, 1);
    fw().registry.AddBitField("UTest.Wide", offsetof(Flags, word), 8, 4);
  }
};

TEST_F(BitFlagTest, AWriteChangesOnlyItsOwnBits) {
  Flags flags{0xFFFFFFFF, 0xA5A5A5A5 & ~(1u << 3)};
  EXPECT_FALSE(kMiddle.Read(&flags));
  kMiddle.Write(&flags, true);
  EXPECT_EQ(flags.word, 0xA5A5A5A5 | (1u << 3));
  EXPECT_TRUE(kMiddle.Read(&flags));
  kMiddle.Write(&flags, false);
  EXPECT_EQ(flags.word, 0xA5A5A5A5 & ~(1u << 3));
  EXPECT_EQ(flags.padding, 0xFFFFFFFF);
}

TEST_F(BitFlagTest, AMultiBitFieldReadsTrueWhenAnyOfItsBitsIsSet) {
  Flags flags{0, 0x00000200};
  EXPECT_TRUE(kWide.Read(&flags));
  kWide.Write(&flags, false);
  EXPECT_EQ(flags.word, 0u);
  kWide.Write(&flags, true);
  EXPECT_EQ(flags.word, 0x00000F00u);
}

constinit BitFlag kUnregistered{"UTest.bNoSuchBit"};

TEST_F(BitFlagTest, ANullObjectIsNeverLookedUpReadsFalseAndIgnoresWrites) {
  EXPECT_FALSE(kMiddle.Read(nullptr));
  // A bit flag is looked up at every use, and an unknown key is fatal once
  // looked up (the process ends naming it): with a null object neither the
  // read nor the writes may ask, so the process runs on to its own exit.
  EXPECT_EXIT(
      {
        const bool read = kUnregistered.Read(nullptr);
        kUnregistered.Write(nullptr, true);
        kUnregistered.Write(nullptr, false);
        std::exit(read ? 1 : 0);
      },
      ::testing::ExitedWithCode(0), "");
  // A null write leaves a real object's flag alone.
  Flags flags{0, 1u << 3};
  kMiddle.Write(nullptr, false);
  EXPECT_TRUE(kMiddle.Read(&flags));
  EXPECT_EQ(flags.word, 1u << 3);
}

struct Record {
  uint32 padding;
  int32 value;
  double amount;
};

constinit Field<int32> kValue{"UTest.Value"};
constinit Field<double> kAmount{"UTest.Amount"};
constinit Field<int32> kKept{"UTest.Kept"};
constinit Field<int32> kNeverLookedUp{"UTest.NoSuchField"};
constinit Field<int32> kFirstUsedOnNull{"UTest.FirstUsedOnNull"};

class FieldTest : public cktest::SimWorldTest {
 protected:
  void SetUp() override {
    SimWorldTest::SetUp();
    fw().registry.AddField("UTest.Value", offsetof(Record, value));
    fw().registry.AddField("UTest.Amount", offsetof(Record, amount));
    fw().registry.AddField("UTest.Kept", offsetof(Record, value));
  }
};

TEST_F(FieldTest, ReadsAndWritesTheFieldInsideTheObject) {
  Record record{0xFFFFFFFF, 42, 1.5};
  EXPECT_EQ(kValue.In(&record), &record.value);
  EXPECT_EQ(kValue.Read(&record), 42);
  EXPECT_EQ(kAmount.Read(&record), 1.5);
  kValue.Write(&record, -7);
  kAmount.Write(&record, 0.25);
  EXPECT_EQ(record.value, -7);
  EXPECT_EQ(record.amount, 0.25);
  EXPECT_EQ(record.padding, 0xFFFFFFFF);
}

TEST_F(FieldTest, ANullObjectIsNeverLookedUpReadsADefaultAndIgnoresWrites) {
  EXPECT_EQ(kValue.In(nullptr), nullptr);
  EXPECT_EQ(kAmount.Read(nullptr), 0.0);
  // An unknown key is fatal once looked up; a null object never asks.
  EXPECT_EQ(kNeverLookedUp.Read(nullptr), 0);

  // The offset is resolved on the first use with an object and then kept. A
  // write through a null object must not be that first use: had it resolved
  // the key, the offset kept would not be the one the framework gives for
  // the real object below.
  fw().registry.AddField("UTest.FirstUsedOnNull", offsetof(Record, amount));
  kFirstUsedOnNull.Write(nullptr, 5);
  EXPECT_EQ(kFirstUsedOnNull.Read(nullptr), 0);
  fw().registry.AddField("UTest.FirstUsedOnNull", offsetof(Record, value));
  Record record{0xFFFFFFFF, 42, 1.5};
  EXPECT_EQ(kFirstUsedOnNull.Read(&record), 42) << "resolved at its first use with an object";
  kFirstUsedOnNull.Write(&record, 7);
  EXPECT_EQ(record.value, 7);
  EXPECT_EQ(record.amount, 1.5);
  EXPECT_EQ(record.padding, 0xFFFFFFFF);
}

TEST_F(FieldTest, TheOffsetIsResolvedOnceAndKept) {
  Record record{0, 3, 4.0};
  EXPECT_EQ(kKept.Read(&record), 3);
  fw().registry.AddField("UTest.Kept", offsetof(Record, padding));
  Record other{9, 8, 0.0};
  EXPECT_EQ(kKept.Read(&other), 8);
  kKept.Write(&other, 1);
  EXPECT_EQ(other.value, 1);
  EXPECT_EQ(other.padding, 9u);
}

TEST_F(FieldTest, AnyOfTriesTheFieldOfEachRecordInOrderUntilOneHolds) {
  Record records[3] = {{0, 5, 0.0}, {0, 6, 0.0}, {0, 7, 0.0}};
  const TArray<Record> array{records, 3, 3};
  std::vector<int32> seen;
  EXPECT_TRUE(kValue.AnyOf(array, [&](const int32& value) {
    seen.push_back(value);
    return value == 6;
  }));
  EXPECT_EQ(seen, (std::vector<int32>{5, 6}));
  EXPECT_FALSE(kValue.AnyOf(array, [](const int32& value) { return value > 7; }));
  EXPECT_FALSE(kValue.AnyOf(TArray<Record>{nullptr, 0, 0}, [](const int32&) { return true; }));
}

int Twice(int value) { return 2 * value; }
int Thrice(int value) { return 3 * value; }
int Constant() { return 17; }
int Other() { return -1; }

constinit Function<int(int)> kTwice{"UTest.Twice(int)"};
constinit Function<int()> kConstant{"UTest.Constant()"};

class FunctionTest : public cktest::SimWorldTest {
 protected:
  void SetUp() override {
    SimWorldTest::SetUp();
    fw().registry.AddFunction("UTest.Twice(int)", reinterpret_cast<void*>(&Twice));
    fw().registry.AddFunction("UTest.Constant()", reinterpret_cast<void*>(&Constant));
  }
};

TEST_F(FunctionTest, CallsTheGameFunctionOfTheKeyWithTheArguments) {
  EXPECT_EQ(kTwice(21), 42);
  EXPECT_EQ(kTwice.Get(), &Twice);
  fw().registry.AddFunction("UTest.Twice(int)", reinterpret_cast<void*>(&Thrice));
  EXPECT_EQ(kTwice(5), 10) << "the address is resolved once and kept";
}

TEST_F(FunctionTest, TheAddressIsResolvedOnFirstUseAndKept) {
  EXPECT_EQ(kConstant.Get(), &Constant);
  fw().registry.AddFunction("UTest.Constant()", reinterpret_cast<void*>(&Other));
  EXPECT_EQ(kConstant(), 17);
}

TEST(ParamTest, ReadsAValueAtItsPlaceInAnUnalignedBlock) {
  unsigned char block[16] = {};
  const int32 value = -123456;
  std::memcpy(block + 5, &value, sizeof(value));
  EXPECT_EQ(Param<int32>{5}.Read(block), -123456);
  EXPECT_EQ(Param<uint8>{4}.Read(block), 0u);
}

// A member with other names: each name the game builds give it, and what a
// call does under each.
int Plus(int a, int b) { return a + b; }
int Negate(int a) { return -a; }

constexpr ck::host::OtherName kSumNames[] = {
    ck::host::FunctionName<int(int, int)>::Of("UTest.Plus(int,int)", "older builds", "a test"),
    ck::host::FunctionName<int(int)>::Of("UTest.Sum(int)", "oldest builds", "a test"),
};
constinit Function<int(int, int)> kSum{"UTest.Sum(int,int)", kSumNames};

class OtherNamesTest : public cktest::SimWorldTest {
 protected:
  void SetUp() override {
    SimWorldTest::SetUp();
    fw().registry.AddFunction("UTest.Sum(int,int)", reinterpret_cast<void*>(&Plus));
    fw().registry.AddFunction("UTest.Plus(int,int)", reinterpret_cast<void*>(&Plus));
    fw().registry.AddFunction("UTest.Sum(int)", reinterpret_cast<void*>(&Negate));
  }
  void TearDown() override {
    kSum.Bind(0);
    SimWorldTest::TearDown();
  }
};

TEST_F(OtherNamesTest, AMemberIsAskedForUnderTheNameItIsBoundTo) {
  kSum.Bind(1);
  EXPECT_STREQ(kSum.Key(), "UTest.Sum(int,int)") << "the catalogue's name stays the member's name";
  EXPECT_STREQ(kSum.BoundKey(), "UTest.Plus(int,int)");
  EXPECT_EQ(kSum(2, 3), 5);
  EXPECT_EQ(fw().build.Asked(), (std::set<std::string>{"UTest.Plus(int,int)"}));
}

TEST_F(OtherNamesTest, ANameOfAnotherFormIsCalledOnlyInThatForm) {
  kSum.Bind(2);
  EXPECT_FALSE(kSum.BoundAs<int(int, int)>());
  EXPECT_TRUE(kSum.BoundAs<int(int)>());
  EXPECT_THROW(kSum(2, 3), std::logic_error) << "never called with the catalogue's parameters";
  EXPECT_TRUE(fw().build.Asked().empty());
  EXPECT_EQ(kSum.GetAs<int(int)>()(4), -4);
  kSum.Bind(0);
  EXPECT_THROW(kSum.GetAs<int(int)>(), std::logic_error);
}

TEST_F(OtherNamesTest, AMemberWithoutAnyNameIsMissingUnderEveryForm) {
  kSum.Bind(ck::host::GameKey::kNoName);
  EXPECT_FALSE(kSum.Present());
  EXPECT_EQ(kSum.BoundName(), ck::host::GameKey::kNoName);
  EXPECT_FALSE(kSum.BoundAs<int(int, int)>());
  EXPECT_FALSE(kSum.BoundAs<int(int)>());
  EXPECT_THROW(kSum(1, 1), ck::host::MissingGameKey);
  EXPECT_TRUE(fw().build.Asked().empty());
}

// A build that could not be checked: each member is asked for under its
// names in turn, and every name the framework refuses is refused for good.
using Requests = std::vector<std::string>;

TEST_F(OtherNamesTest, OnAnUncheckedBuildARefusedNameIsAskedOnceAndTheNextNameServes) {
  fw().build.SetMissingKeys({"UTest.Sum(int,int)"});
  kSum.Bind(0, /*unchecked=*/true);
  EXPECT_EQ(kSum(2, 3), 5);
  EXPECT_STREQ(kSum.BoundKey(), "UTest.Plus(int,int)");
  EXPECT_EQ(kSum(1, 1), 2);
  EXPECT_EQ(fw().build.Requests(), (Requests{"UTest.Sum(int,int)"}));
}

TEST_F(OtherNamesTest, OnAnUncheckedBuildTheFormIsAskedBeforeItIsAnswered) {
  fw().build.SetMissingKeys({"UTest.Sum(int,int)", "UTest.Plus(int,int)"});
  kSum.Bind(0, /*unchecked=*/true);
  EXPECT_FALSE(kSum.BoundAs<int(int, int)>()) << "the only name the framework has takes one parameter";
  EXPECT_TRUE(kSum.BoundAs<int(int)>());
  EXPECT_EQ(kSum.GetAs<int(int)>()(4), -4);
  EXPECT_THROW(kSum(2, 3), std::logic_error);
  EXPECT_EQ(fw().build.Requests(), (Requests{"UTest.Sum(int,int)", "UTest.Plus(int,int)"}));
}

TEST_F(OtherNamesTest, AMemberWhoseEveryNameIsRefusedIsMissingForGood) {
  fw().build.SetMissingKeys({"UTest.Sum(int,int)", "UTest.Plus(int,int)", "UTest.Sum(int)"});
  kSum.Bind(0, /*unchecked=*/true);
  EXPECT_THROW(kSum(2, 3), ck::host::MissingGameKey);
  EXPECT_FALSE(kSum.Present());
  EXPECT_THROW(kSum(2, 3), ck::host::MissingGameKey);
  EXPECT_FALSE(kSum.BoundAs<int(int)>());
  EXPECT_EQ(fw().build.Requests(), (Requests{"UTest.Sum(int,int)", "UTest.Plus(int,int)", "UTest.Sum(int)"}));
}

TEST_F(OtherNamesTest, OnACheckedBuildARefusedNameIsTheLastOneAsked) {
  // The check found the name, yet the framework refuses it: the names the
  // check did not find are not asked for.
  fw().build.SetMissingKeys({"UTest.Sum(int,int)"});
  kSum.Bind(0);
  EXPECT_THROW(kSum(2, 3), ck::host::MissingGameKey);
  EXPECT_FALSE(kSum.Present());
  EXPECT_THROW(kSum(2, 3), ck::host::MissingGameKey);
  EXPECT_EQ(fw().build.Requests(), (Requests{"UTest.Sum(int,int)"}));
}

TEST_F(FieldTest, ARefusedFieldIsMissingForGood) {
  fw().build.SetMissingKeys({"UTest.Kept"});
  kKept.Bind(0, /*unchecked=*/true);
  Record record{0, 1, 0.0};
  EXPECT_THROW(kKept.Read(&record), ck::host::MissingGameKey);
  EXPECT_THROW(kKept.Read(&record), ck::host::MissingGameKey);
  EXPECT_EQ(fw().build.Requests(), (Requests{"UTest.Kept"}));
  kKept.Bind(0);
}

TEST_F(BitFlagTest, ARefusedBitFieldIsMissingForGood) {
  fw().build.SetMissingKeys({"UTest.bMiddle"});
  kMiddle.Bind(0, /*unchecked=*/true);
  Flags flags{0, 1u << 3};
  EXPECT_THROW(kMiddle.Read(&flags), ck::host::MissingGameKey);
  EXPECT_THROW(kMiddle.Write(&flags, false), ck::host::MissingGameKey);
  EXPECT_EQ(flags.word, 1u << 3);
  EXPECT_EQ(fw().build.Requests(), (Requests{"UTest.bMiddle"}));
  kMiddle.Bind(0);
}

// A layout check asks for a field under the name the build has.
constexpr ck::host::OtherName kTotalNames[] = {ck::host::FieldName("UTest.Amount", "older builds", "a test")};
constinit Field<double> kTotal{"UTest.Value", kTotalNames};

TEST_F(FieldTest, ALayoutCheckAsksForTheBoundName) {
  kTotal.Bind(1);
  Record record{};
  EXPECT_EQ(ck::host::AskFieldOffset(kTotal, &record), static_cast<std::ptrdiff_t>(offsetof(Record, amount)));
  EXPECT_EQ(fw().build.Asked(), (std::set<std::string>{"UTest.Amount"}));
  kTotal.Bind(0);
}

}  // namespace
