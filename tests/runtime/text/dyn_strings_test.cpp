#include "runtime/text/dyn_strings.h"

#include <gtest/gtest.h>

#include <cstring>

#include "runtime/text/str_desc.h"
#include "tests/support/runtime_fixture.h"

namespace rt {
namespace {

using test::D;
using test::Str;

class DynStringsTest : public test::RuntimeTest {};

TEST_F(DynStringsTest, ReleaseReturnsThePointerAndTheNextAllocationReusesIt) {
    std::uint16_t m = DynMark();
    StrDesc a = DynAlloc(5);
    ASSERT_FALSE(a.IsError());
    EXPECT_EQ(DynBytesInUse(), 8u);
    EXPECT_EQ(DynRelease(m), m);
    EXPECT_EQ(DynBytesInUse(), 0u);
    EXPECT_EQ(DynAlloc(1).ptr, a.ptr);
    DynRelease(m);
}

TEST_F(DynStringsTest, AllocationsAdvanceByMultiplesOfFour) {
    struct Case { std::uint16_t n; std::uint32_t advance; };
    for (Case c : {Case{0, 0}, Case{1, 4}, Case{4, 4}, Case{5, 8}, Case{8, 8}, Case{9, 12}}) {
        std::uint16_t m = DynMark();
        std::uint32_t before = DynBytesInUse();
        ASSERT_FALSE(DynAlloc(c.n).IsError());
        EXPECT_EQ(DynBytesInUse() - before, c.advance) << c.n;
        DynRelease(m);
    }
}

TEST_F(DynStringsTest, The128thLiveAllocationFailsAndLeavesTheTop) {
    for (int i = 1; i <= 127; ++i) ASSERT_FALSE(DynAlloc(1).IsError()) << i;
    EXPECT_EQ(DynMark(), 127);
    std::uint32_t used = DynBytesInUse();
    StrDesc r = DynAlloc(1);
    EXPECT_TRUE(r.IsError());
    EXPECT_EQ(r.len, 145);
    EXPECT_EQ(DynMark(), 127);
    EXPECT_EQ(DynBytesInUse(), used);
    DynRelease(0);
}

TEST_F(DynStringsTest, TheLastByteOfTheBufferIsNeverHandedOut) {
    // 131,068 bytes end exactly 4 bytes short of the buffer's end and fit; 131,072 would reach the end.
    ASSERT_FALSE(DynAlloc(0xFFFF).IsError());  // 65,536 after rounding
    ASSERT_FALSE(DynAlloc(32768).IsError());
    std::uint32_t rest = kDynBufferSize - DynBytesInUse();
    EXPECT_EQ(DynAlloc(static_cast<std::uint16_t>(rest)).len, 145);
    StrDesc fits = DynAlloc(static_cast<std::uint16_t>(rest - 4));
    EXPECT_FALSE(fits.IsError());
    EXPECT_EQ(DynFree().len, 0);
    DynRelease(0);
    EXPECT_EQ(DynFree().len, 0xFFFF);  // capped
}

TEST_F(DynStringsTest, KeepMovesTheResultDownToTheMark) {
    std::uint16_t m = DynMark();
    StrDesc junk = DynAlloc(40);
    ASSERT_FALSE(junk.IsError());
    StrDesc built = StrConcat(S("abc"), S("def"));
    StrDesc kept = DynKeep(m, built);
    EXPECT_EQ(kept.ptr, junk.ptr);  // the allocation right above the mark
    EXPECT_EQ(Str(kept), "abcdef");
    EXPECT_EQ(DynMark(), m + 1);
    DynRelease(m);
}

TEST_F(DynStringsTest, CompactKeepsTheListedTextsRightAboveTheMark) {
    std::uint16_t m = DynMark();
    StrDesc a = StrCopy(S("first"));
    DynAlloc(100);
    StrDesc b = StrCopy(S("second"));
    DynAlloc(7);
    ASSERT_EQ(DynCompact(m, {&a, &b}), 0);
    EXPECT_EQ(DynMark(), m + 2);
    EXPECT_EQ(Str(a), "first");
    EXPECT_EQ(Str(b), "second");
    EXPECT_EQ(DynBytesInUse(), 8u + 8u);
    DynRelease(m);
}

TEST_F(DynStringsTest, PushPassesAnErrorDescriptorsCode) {
    EXPECT_EQ(DynPush(StrError(163)), 163);
    EXPECT_EQ(DynPush(StrDesc{nullptr, 0}), kNone);
    EXPECT_EQ(DynMark(), 0);
}

}  // namespace
}  // namespace rt
