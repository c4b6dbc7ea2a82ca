#include "runtime/text/slot_table.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/env/errors.h"
#include "tests/support/runtime_fixture.h"

namespace rt {
namespace {

using test::D;
using test::Str;

class SlotTableTest : public test::RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        ErrClear();
    }
};

TEST_F(SlotTableTest, SettingAnItemGrowsTheGroupWithEmptyItems) {
    ASSERT_EQ(SlotSet(0, 5, S("C:\\x")), 0);
    EXPECT_EQ(SlotCount(0), 6);
    EXPECT_EQ(Str(SlotGet(0, 5)), "C:\\x");
    EXPECT_EQ(SlotGet(0, 3).len, 0);
    EXPECT_EQ(SlotGet(1, 0).len, 0);
    EXPECT_EQ(SlotGet(39, 0).len, 0);
    EXPECT_EQ(SlotsInUse(), 6);
}

TEST_F(SlotTableTest, ALongerTextInAnEarlierGroupMovesLaterSlots) {
    ASSERT_EQ(SlotSet(3, 1, S("three-one")), 0);
    ASSERT_EQ(SlotSet(12, 0, S("twelve")), 0);
    ASSERT_EQ(SlotSet(0, 0, S("zero")), 0);
    const char* before = SlotGet(12, 0).ptr;
    ASSERT_EQ(SlotSet(0, 0, S("a much longer zero")), 0);
    EXPECT_NE(SlotGet(12, 0).ptr, before);
    EXPECT_EQ(Str(SlotGet(12, 0)), "twelve");
    EXPECT_EQ(Str(SlotGet(3, 1)), "three-one");
    ASSERT_EQ(SlotSet(0, 0, S("z")), 0);
    EXPECT_EQ(Str(SlotGet(3, 1)), "three-one");
    EXPECT_EQ(SlotBytesInUse(), 1u + 9u + 6u);
    // A new item in a middle group shifts the slots of the later groups.
    ASSERT_EQ(SlotSet(3, 4, S("x")), 0);
    EXPECT_EQ(Str(SlotGet(12, 0)), "twelve");
    EXPECT_EQ(Str(SlotGet(3, 4)), "x");
}

TEST_F(SlotTableTest, StacksAndQueues) {
    SlotPush(30, S("a"));
    SlotPush(30, S("b"));
    EXPECT_EQ(Str(SlotPeek(30)), "b");
    EXPECT_EQ(SlotPop(30), 0);
    EXPECT_EQ(Str(SlotPeek(30)), "a");
    SlotPush(37, S("a"));
    SlotPush(37, S("b"));
    EXPECT_EQ(Str(SlotPeek(37)), "a");
    EXPECT_EQ(SlotPop(37), 0);
    EXPECT_EQ(Str(SlotPeek(37)), "b");
    EXPECT_EQ(SlotCount(39), 2);  // groups 30..38 together
    EXPECT_EQ(SlotPeek(31).len, 0);
    EXPECT_EQ(SlotPop(31), 0);
    SlotPush(37, S("c"));
    SlotPush(37, S("d"));
    EXPECT_EQ(SlotTruncate(37, 1), 0);  // removes from the head
    EXPECT_EQ(Str(SlotPeek(37)), "d");
    EXPECT_EQ(SlotClear(30), 0);
    EXPECT_EQ(SlotCount(30), 0);
}

TEST_F(SlotTableTest, DeleteShiftsTheLaterItemsDown) {
    for (auto t : {S("a"), S("b"), S("c")}) SlotPush(5, t);
    SlotPush(6, S("next group"));
    EXPECT_EQ(SlotDelete(5, 1), 0);
    EXPECT_EQ(SlotCount(5), 2);
    EXPECT_EQ(Str(SlotGet(5, 1)), "c");
    EXPECT_EQ(Str(SlotGet(6, 0)), "next group");
}

TEST_F(SlotTableTest, TheByteCapacityIsRefusedAtExactly61361) {
    std::string big(60000, 'x');
    ASSERT_EQ(SlotSet(20, 0, D(big)), 0);
    std::string rest(kSlotByteCapacity - 60000, 'y');  // would make the bytes in use exactly 61,361
    EXPECT_EQ(SlotSet(21, 0, D(rest)), 159);
    EXPECT_EQ(SlotCount(21), 0);
    EXPECT_EQ(ErrNoted(), (std::uint32_t(kAreaStringAssign) << 16) | 156);
    rest.pop_back();
    EXPECT_EQ(SlotSet(21, 0, D(rest)), 0);
    EXPECT_EQ(SlotBytesInUse(), kSlotByteCapacity - 1);
}

TEST_F(SlotTableTest, TheSlotCapacityIsRefusedAt2048) {
    EXPECT_EQ(SlotSet(1, 2046, S("")), 0);  // 2,047 slots in use
    EXPECT_EQ(SlotSet(2, 0, S("")), 159);
    EXPECT_EQ(SlotSet(40, 0, S("")), 159);
}

TEST_F(SlotTableTest, ATextFromInsideTheTableIsStoredIntact) {
    SlotSet(2, 0, S("shared text"));
    SlotSet(1, 0, S("p"));
    ASSERT_EQ(SlotSet(1, 0, SlotGet(2, 0)), 0);  // its source moves while it is stored
    EXPECT_EQ(Str(SlotGet(1, 0)), "shared text");
    EXPECT_EQ(Str(SlotGet(2, 0)), "shared text");
    EXPECT_EQ(SlotSet(1, 0, StrError(163)), 163);
    EXPECT_EQ(Str(SlotGet(1, 0)), "shared text");
}

TEST_F(SlotTableTest, SetIfEmptyKeepsAnExistingText) {
    EXPECT_EQ(SlotSetIfEmpty(4, S("ES"), false), 0);
    EXPECT_EQ(SlotSetIfEmpty(4, S("EN"), false), 0);
    EXPECT_EQ(Str(SlotGet(0, 4)), "ES");
    EXPECT_EQ(SlotSetIfEmpty(4, S("EN"), true), 0);
    EXPECT_EQ(Str(SlotGet(0, 4)), "EN");
}

}  // namespace
}  // namespace rt
