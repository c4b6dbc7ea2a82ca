#include "runtime/text/str_desc.h"

#include <gtest/gtest.h>

#include "runtime/text/dyn_strings.h"
#include "tests/support/runtime_fixture.h"

namespace rt {
namespace {

using test::Str;

class StrDescTest : public test::RuntimeTest {};

TEST_F(StrDescTest, ErrorDescriptorsCarryTheirCode) {
    EXPECT_EQ(StrFromC(nullptr).ptr, nullptr);
    EXPECT_EQ(StrFromC(nullptr).len, 163);
    EXPECT_EQ(StrCheck(StrDesc{nullptr, 0}), kNone);
    EXPECT_EQ(StrCheck(StrError(163)), 163);
    EXPECT_EQ(StrCheck(S("")), 0);
    EXPECT_EQ(StrOr(S(""), S("b")).ptr, S("b").ptr);
    EXPECT_EQ(StrOr(StrError(145), S("b")).len, 145);  // an error is passed on
}

TEST_F(StrDescTest, CompareByUnsignedBytesThenLength) {
    struct Case { StrDesc a, b; std::uint16_t want; };
    const Case cases[] = {
        {S("ab"), S("abc"), 0xFFFF}, {S("abd"), S("abc"), 1}, {S(""), S(""), 0},
        {S("abc"), S("ab"), 1}, {S("\xE9"), S("z"), 1},  // 0xE9 is above 'z' as an unsigned byte
        {StrDesc{nullptr, 5}, S("a"), 159}, {S("a"), StrDesc{nullptr, 0}, 159},
    };
    for (const Case& c : cases) EXPECT_EQ(StrCompare(c.a, c.b), c.want) << Str(c.a) << " vs " << Str(c.b);
}

TEST_F(StrDescTest, AllocatingOperations) {
    std::uint16_t m = DynMark();
    EXPECT_EQ(Str(StrJoin(S("abc"), S(","), S(""))), "abc");
    EXPECT_EQ(Str(StrJoin(S(""), S(","), S("x"))), "x");
    EXPECT_EQ(Str(StrJoin(S("a"), S(","), S("b"))), "a,b");
    EXPECT_EQ(Str(StrFill(3, 0x20)), "   ");
    EXPECT_EQ(StrFill(3, 255).len, 3);
    EXPECT_EQ(Str(StrRepeat(S("ab"), 3)), "ababab");
    EXPECT_EQ(Str(StrCopy(S("xyz"))), "xyz");
    EXPECT_STREQ(StrToC(S("hi")), "hi");
    EXPECT_STREQ(StrToC(StrError(163)), "");
    DynRelease(m);
}

TEST_F(StrDescTest, ConcatWithAnErrorOperandAllocatesNothing) {
    std::uint16_t m = DynMark();
    EXPECT_EQ(StrConcat(StrError(163), S("x")).len, 163);
    EXPECT_EQ(StrConcat(S("x"), StrError(145)).len, 145);
    EXPECT_EQ(DynMark(), m);
}

TEST_F(StrDescTest, JoinLeavesOneAllocationAboveTheMark) {
    std::uint16_t m = DynMark();
    StrDesc r = StrJoin(S("a"), S(","), S("b"));
    EXPECT_EQ(DynMark(), m + 1);
    EXPECT_EQ(Str(r), "a,b");
    DynRelease(m);
}

TEST_F(StrDescTest, PutAtWritesIntoTheCallersBuffer) {
    char buf[8] = "-------";
    StrDesc r = StrPutAt(S("ab"), buf, 3);
    EXPECT_EQ(r.ptr, buf);
    EXPECT_EQ(r.len, 5);
    EXPECT_STREQ(buf, "---ab--");
    EXPECT_EQ(StrPutAt(StrError(163), buf, 0).len, 163);
}

}  // namespace
}  // namespace rt
