// Fixed-point numbers: rounding, rescaling, the operators, and the number texts.
#include "runtime/vars/fixed_number.h"

#include <limits>

#include "runtime/vars/var_system.h"
#include "runtime/vars/variables.h"
#include "tests/runtime/vars/var_fixture.h"
#include "tests/support/runtime_fixture.h"

namespace rt {
namespace {

using test::D;
using test::Str;

class NumberTest : public test::VarTest {
protected:
    void Precis(int p) { ASSERT_EQ(SysVarSet(kSysPrecis, static_cast<std::int16_t>(p)), 0); }
};

TEST_F(NumberTest, RoundedDivisionRoundsHalvesAwayFromZero) {
    struct Case { std::int64_t n, d, want; };
    const Case cases[] = {
        {7, 2, 4}, {-7, 2, -4}, {7, -2, -4}, {4, -2, -2}, {1, 3, 0}, {2, 3, 1}, {-2, 3, -1}, {5, 0, 0}, {0, 7, 0},
        {std::numeric_limits<std::int64_t>::min(), -1, std::numeric_limits<std::int64_t>::max()},
    };
    for (const Case& c : cases) EXPECT_EQ(NumRoundDiv(c.n, c.d), c.want) << c.n << "/" << c.d;
}

TEST_F(NumberTest, RescaleAndIntegerValue) {
    EXPECT_EQ(NumRescale(235, 2, 1), 240);   // stays at the old scale
    EXPECT_EQ(NumRescale(-235, 2, 1), -240);
    EXPECT_EQ(NumRescale(234, 2, 1), 230);
    EXPECT_EQ(NumRescale(5, 1, 3), 500);
    EXPECT_EQ(NumRescale(5, 2, -30), 0);
    EXPECT_EQ(NumRescale(std::numeric_limits<std::int64_t>::max() / 2, 0, 5), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(NumInteger(250), 3);
    EXPECT_EQ(NumInteger(-250), -3);
    EXPECT_EQ(NumInteger(249), 2);
    EXPECT_EQ(NumFromInteger(7), 700);
}

TEST_F(NumberTest, OperatorsWithTwoDecimals) {
    EXPECT_EQ(NumDiv(100, 300), 33);       // 1/3
    EXPECT_EQ(NumDiv(200, 300), 67);       // 2/3
    EXPECT_EQ(NumDiv(700, 0), 0);          // 7/0
    EXPECT_EQ(NumMul(2, 30), 1);           // 0.02*0.3
    EXPECT_EQ(NumMul(-250, 300), -750);    // -2.5*3
    EXPECT_EQ(NumPercent(1000, 1500), 150);  // 10%15
    EXPECT_EQ(NumRoundTo(235, 100), 240);  // 2.345 (read as 2.35) ! 1
    EXPECT_EQ(NumRoundTo(234, 100), 230);  // 2.34 ! 1
    EXPECT_EQ(NumRoundTo(5, 300), 50);     // more decimals than the scale multiply by 10 per decimal
}

TEST_F(NumberTest, OperatorsWithoutDecimals) {
    Precis(0);
    EXPECT_EQ(NumScale(), 1);
    EXPECT_EQ(NumDiv(7, 2), 4);
    EXPECT_EQ(NumDiv(-7, 2), -4);
    EXPECT_EQ(NumDiv(4, -2), -2);
    EXPECT_EQ(Str(NumText(12)), "12");
    EXPECT_EQ(NumRead(S("2.5")), 3);
}

TEST_F(NumberTest, CanonicalText) {
    struct Case { std::int64_t n; const char* want; };
    const Case cases[] = {
        {0, ""}, {50, ".5"}, {10000, "100"}, {110, "1.1"}, {-100, "-1"}, {-5, "-.05"}, {1234, "12.34"}, {100, "1"},
        {std::numeric_limits<std::int64_t>::min(), "-92233720368547758.08"},
    };
    for (const Case& c : cases) EXPECT_EQ(Str(NumText(c.n)), c.want) << c.n;
    Precis(4);
    EXPECT_EQ(Str(NumText(12345)), "1.2345");
    EXPECT_EQ(Str(NumText(5)), ".0005");
}

TEST_F(NumberTest, ReadingNumberTexts) {
    struct Case { const char* text; std::int64_t want; };
    const Case cases[] = {
        {"1.005", 101}, {"-1.005", -101}, {"12D3", 1200000}, {"1.5D2", 150}, {"", 0}, {"   ", 0},
        {"2.345", 235},  {"2.344", 234},  {" 7 ", 700},       {"-.5", -50},  {"+3", 300}, {"0.999", 100},
        {"12abc", 1200}, {"1,234.5", 100}, {"1.2x9", 120},    {"99999999999999999999999", std::numeric_limits<std::int64_t>::max()},
    };
    for (const Case& c : cases) EXPECT_EQ(NumRead(StrFromC(c.text)), c.want) << c.text;
}

TEST_F(NumberTest, TextsRoundTrip) {
    for (std::int64_t n : {1, -1, 99, 100, 123456789, -98765}) {
        DynScope scope;
        EXPECT_EQ(NumRead(NumText(n)), n);
    }
}

}  // namespace
}  // namespace rt
