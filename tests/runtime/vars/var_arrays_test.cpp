// Array variables: creation by the first read, limits of dimensions and positions, element kinds,
// and the accumulator array _#.
#include <string>

#include "runtime/vars/var_arrays.h"
#include "runtime/text/dyn_strings.h"
#include "tests/runtime/vars/var_fixture.h"

namespace rt::test {
namespace {

FixedNumber Read(const char* name, std::initializer_list<std::int32_t> idx, ErrCode* err = nullptr) {
    std::vector<std::int32_t> v(idx);
    FixedNumber n = -999;
    ErrCode e = VarArrayGetNumber(StrFromC(name), v.data(), static_cast<std::uint16_t>(v.size()), &n);
    if (err) *err = e;
    return n;
}

ErrCode Write(const char* name, std::initializer_list<std::int32_t> idx, FixedNumber n) {
    std::vector<std::int32_t> v(idx);
    return VarArraySetNumber(StrFromC(name), v.data(), static_cast<std::uint16_t>(v.size()), n);
}

TEST_F(VarTest, FirstReadSizesTheArray) {
    ErrCode e = 0;
    EXPECT_EQ(Read("T#", {3}, &e), 0);
    ASSERT_EQ(e, 0);
    VarArrayShape shape;
    ASSERT_TRUE(VarArrayInfo(S("T#"), &shape));
    EXPECT_EQ(shape.count, 4u);
    EXPECT_EQ(shape.width, 8);
    ASSERT_EQ(Write("T#", {3}, 100), 0);
    EXPECT_EQ(Read("T#", {3}), 100);
    EXPECT_EQ(Read("T#", {0}), 0);
    Read("T#", {4}, &e);
    EXPECT_EQ(e, 168);
    EXPECT_EQ(Write("T#", {4}, 1), 168);
    EXPECT_EQ(Write("T#", {-1}, 1), 168);
    EXPECT_EQ(VarFind(S("T#(0)")).slot, 0);  // the array list holds the name part
}

TEST_F(VarTest, ArrayLimitsAndFailures) {
    struct Case {
        const char* what;
        ErrCode expected;
        ErrCode got;
    };
    ErrCode e;
    Read("F#", {1, 1, 1, 1, 1}, &e);
    Case cases[] = {
        {"five indexes on first read", 149, e},
        {"five indexes on assignment", 149, Write("F#", {1, 1, 1, 1, 1}, 0)},
        {"assignment before any read", 149, Write("U#", {1}, 500)},
        {"all indexes 0", 147, (Read("Z#", {0, 0}, &e), e)},
        {"no index", 147, (Read("Z#", {}, &e), e)},
        {"name with @", 147, (Read("A@#", {2}, &e), e)},
        {"too large", 145, (Read("BIG#", {30000, 30000}, &e), e)},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.expected) << c.what;
    EXPECT_FALSE(VarArrayInfo(S("U#"), nullptr));
    EXPECT_FALSE(VarArrayInfo(S("Z#"), nullptr));
    EXPECT_FALSE(VarArrayInfo(S("BIG#"), nullptr));
}

TEST_F(VarTest, FourDimensionsAreRowMajor) {
    ErrCode e;
    Read("M", {1, 2, 3, 4}, &e);
    ASSERT_EQ(e, 0);
    VarArrayShape shape;
    ASSERT_TRUE(VarArrayInfo(S("M"), &shape));
    EXPECT_EQ(shape.dims, 4);
    EXPECT_EQ(shape.count, 2u * 3 * 4 * 5);
    ASSERT_EQ(Write("M", {0, 0, 1, 0}, 900), 0);  // position 5: the last index varies fastest
    EXPECT_EQ(Read("M", {5}), 900);
    ASSERT_EQ(Write("M", {1, 2, 3, 4}, 700), 0);
    EXPECT_EQ(Read("M", {119}), 700);
    Read("M", {1, 2, 3, 5}, &e);
    EXPECT_EQ(e, 168);
}

TEST_F(VarTest, ElementKinds) {
    ErrCode e;
    Read("I", {2}, &e);
    ASSERT_EQ(e, 0);
    ASSERT_EQ(Write("I", {1}, 270), 0);  // integer elements truncate: 2.7 is stored as 2
    EXPECT_EQ(Read("I", {1}), 200);
    ASSERT_EQ(Write("I", {2}, -270), 0);
    EXPECT_EQ(Read("I", {2}), -200);

    std::int32_t idx[] = {2};
    ASSERT_EQ(VarArrayGet(S("A$"), idx, 1, 4), 0);
    EXPECT_EQ(DynTop().len, 0);
    std::int32_t one[] = {1};
    ASSERT_EQ(VarArraySet(S("A$"), one, 1, S("ab")), 0);
    ASSERT_EQ(VarArraySet(S("A$"), idx, 1, S("abcdef")), 0);  // cut to the element width
    DynScope scope;
    ASSERT_EQ(VarArrayGet(S("A$"), one, 1), 0);
    EXPECT_EQ(Str(DynTop()), "ab");
    ASSERT_EQ(VarArrayGet(S("A$"), idx, 1), 0);
    EXPECT_EQ(Str(DynTop()), "abcd");
}

TEST_F(VarTest, AccumulatorArrayIsCreatedByItsFirstAssignment) {
    ASSERT_EQ(Write("_#", {5}, 200), 0);
    VarArrayShape shape;
    ASSERT_TRUE(VarArrayInfo(VarAccumName(), &shape));
    EXPECT_EQ(shape.count, 257u);
    EXPECT_EQ(Read("_#", {5}), 200);
    ASSERT_EQ(Write("_#", {256}, 1), 0);
    EXPECT_EQ(Read("_#", {256}), 1);
    EXPECT_EQ(Write("_#", {257}, 1), 168);
}

TEST_F(VarTest, AccumulatorReadFirstIsSizedByThatRead) {
    ErrCode e;
    EXPECT_EQ(Read("_#", {9}, &e), 0);
    ASSERT_EQ(e, 0);
    EXPECT_EQ(Write("_#", {10}, 1), 168);
}

}  // namespace
}  // namespace rt::test
