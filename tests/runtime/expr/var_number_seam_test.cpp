// Number texts and rounding as the variable store uses them.
#include "runtime/expr/var_number_seam.h"
#include "runtime/text/dyn_strings.h"
#include "tests/runtime/expr/var_fixture.h"

namespace rt::test {
namespace {

TEST(VarNumTest, RoundedDivision) {
    struct Case {
        std::int64_t n, d, q;
    } cases[] = {{7, 2, 4}, {-7, 2, -4}, {1, 3, 0}, {2, 3, 1}, {-2, 3, -1}, {5, 0, 0}, {7, -2, -4}, {250, 100, 3}};
    for (const Case& c : cases) EXPECT_EQ(VarNumRoundDiv(c.n, c.d), c.q) << c.n << "/" << c.d;
}

TEST_F(VarTest, ReadingAndWritingNumberTexts) {
    struct Read {
        const char* text;
        FixedNumber n;
    } reads[] = {
        {"2.345", 235}, {"2.344", 234}, {"12D3", 1200000}, {"1.5D2", 150}, {"", 0},     {" -3 ", -300},
        {"-.5", -50},   {"-2.345", -235}, {"1.5x", 150},   {"12a.5", 12},  {"+4", 400},
    };
    for (const Read& r : reads) EXPECT_EQ(VarNumRead(StrFromC(r.text)), r.n) << r.text;
    struct Text {
        FixedNumber n;
        const char* text;
    } texts[] = {{100, "1"}, {150, "1.5"}, {50, ".5"}, {-5, "-.05"}, {1234, "12.34"}, {0, ""}, {-100, "-1"}};
    DynScope scope;
    for (const Text& t : texts) EXPECT_EQ(Str(VarNumText(t.n)), t.text) << t.n;
}

TEST_F(VarTest, ArenaNumbersAreEightBytes) {
    DynScope scope;
    ASSERT_EQ(VarNumPush(-123456789012LL), 0);
    EXPECT_EQ(DynTop().len, 8);
    EXPECT_EQ(VarNumFromEntry(DynTop()), -123456789012LL);
    EXPECT_EQ(VarNumFromEntry(S("")), 0);
    EXPECT_EQ(VarNumFromEntry(S("abc")), -1);
}

}  // namespace
}  // namespace rt::test
