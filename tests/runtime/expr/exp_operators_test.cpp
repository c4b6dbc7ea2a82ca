// Operators of the expression language: priorities and grouping, the number and text columns,
// wildcard comparison, literals and named constants.
#include <gtest/gtest.h>

#include "runtime/vars/var_system.h"
#include "tests/runtime/expr/exp_fixture.h"

namespace rt::test {
namespace {

using ExpOperatorsTest = ExpTest;

struct NumberCase {
    const char* expr;
    FixedNumber value;  // with two decimals
};

TEST_F(ExpOperatorsTest, PrioritiesGroupFromTheLeftAndSignsTakeOneTerm) {
    const NumberCase cases[] = {
        {"2+3*4", 1400},   {"(2+3)*4", 2000}, {"10-4-3", 300},   {"-5+2", -300},   {"3*-2", -600},
        {"2*-3+1", -500},  {"2*-3*4", -2400}, {"2--3", 500},     {"8/2/2", 200},   {"2+3|4", 900},
        {"1+2==3", 100},   {"1<2&&2<3", 100}, {"2*(3+(4-1))", 1200}, {"-(2+3)", -500}, {"", 0},
        {"1+2>2+0", 100},  {"6&3==2", 0},
    };
    for (const NumberCase& c : cases) EXPECT_EQ(Num(c.expr), c.value) << c.expr;
}

TEST_F(ExpOperatorsTest, NumberColumn) {
    const NumberCase cases[] = {
        {"1/3", 33},        {"2/3", 67},        {"7/0", 0},          {"0.02*0.3", 1},    {"10%15", 150},
        {"200\xF7" "10", 18000}, {"2.345!1", 240}, {"2.34!1", 230}, {"1.5!0", 200},     {"12.3!3", 12300},
        {"5>3", 100},       {"5<3", 0},         {"5==5", 100},       {"5>=6", 0},        {"5<=5", 100},
        {"5<>4", 100},      {"6&3", 200},       {"4|1", 500},        {"5|1", 0},         {"4@1", 500},
        {"1@@0", 100},      {"1@@1", 0},        {"0@@0", 0},         {"0.5&&1", 100},    {"0&&1", 0},
        {"0||0.01", 100},   {"0||0", 0},        {"7.9&3", 300},
    };
    for (const NumberCase& c : cases) EXPECT_EQ(Num(c.expr), c.value) << c.expr;
}

TEST_F(ExpOperatorsTest, SumsHoldAtTheEndsOfTheRange) {
    EXPECT_EQ(Num("92233720368547758.07+1"), INT64_MAX);
    EXPECT_EQ(Num("-92233720368547758.07-2"), INT64_MIN);
}

TEST_F(ExpOperatorsTest, LiteralsAndNamedConstants) {
    const NumberCase cases[] = {
        {"12D3", 1200000}, {"1.005", 101}, {"2.344", 234}, {".5", 50},   {"007", 700},
        {".envvar", 900},  {".dialog", 700}, {".iscgi", 1638400}, {".datey", 1000000},
        {".nosuch", 0},    {".ENVVAR", 0},  {"12ab", 1200},
    };
    for (const NumberCase& c : cases) EXPECT_EQ(Num(c.expr), c.value) << c.expr;
    EXPECT_EQ(Text("'a b'"), "a b");
    EXPECT_EQ(Text("\"dq\""), "dq");
    EXPECT_EQ(Text("'a'+\"b\""), "ab");
    EXPECT_EQ(Text("ab'c"), "AB'C");          // not enclosed: upper case
    EXPECT_EQ(Text("'x\"'"), "x\"");
    EXPECT_EQ(Text("'it''s'"), "it''s");
}

TEST_F(ExpOperatorsTest, TextColumn) {
    EXPECT_EQ(Text("'A'+'B'"), "AB");
    EXPECT_EQ(Text("'A'+''+'C'"), "AC");
    const NumberCase cases[] = {
        {"'abc'<'abd'", 100}, {"'ab'<'abc'", 100}, {"'b'>'abc'", 100}, {"'abc'=='abc'", 100},
        {"'abc'>='abc'", 100}, {"'abc'<='abb'", 0}, {"'a'<>'b'", 100},   {"'\xE1'>'z'", 100},
        {"'abc'=='ABC'", 0},
    };
    for (const NumberCase& c : cases) EXPECT_EQ(Num(c.expr), c.value) << c.expr;
    for (const char* e : {"'A'-'B'", "'A'*'B'", "'A'&&'B'", "'A'|'B'", "'A'!'B'"}) EXPECT_EQ(Eval(e).code, 147) << e;
    for (const char* e : {"'A'+1", "1+'A'", "'A'==1"}) EXPECT_EQ(Eval(e).code, 128) << e;
}

TEST_F(ExpOperatorsTest, WildcardsInEquality) {
    const NumberCase cases[] = {
        {"'MADRID'=='mad*'", 100}, {"'MADRID'=='*dri*'", 100}, {"'MADRID'=='*DRID'", 100},
        {"'MADRID'=='X*'", 0},     {"'MADRID'=='*xx*'", 0},    {"'MA'=='MAD*'", 0},
        {"'MADRID'=='*'", 100},    {"'MADRID'<>'mad*'", 100},  {"'mad*'=='MADRID'", 0},
    };
    for (const NumberCase& c : cases) EXPECT_EQ(Num(c.expr), c.value) << c.expr;
    ASSERT_EQ(SysBitsSet(kSysAuxStat, 128), 0);
    EXPECT_EQ(Num("'MADRID'=='mad*'"), 0);
    EXPECT_EQ(Num("'MADRID'=='*dri*'"), 0);
    EXPECT_EQ(Num("'MAD*'=='MAD*'"), 100);
}

TEST_F(ExpOperatorsTest, TruthFollowsThePrecision) {
    ASSERT_EQ(SysVarSet(kSysPrecis, 0), 0);
    EXPECT_EQ(Num("5>3"), 1);
    EXPECT_EQ(Num("7/2"), 4);
    EXPECT_EQ(Num("6&3"), 2);
    ASSERT_EQ(SysVarSet(kSysPrecis, 4), 0);
    EXPECT_EQ(Num("5>3"), 10000);
    EXPECT_EQ(Num("1/3"), 3333);
    EXPECT_EQ(Num("1.23456"), 12346);
}

}  // namespace
}  // namespace rt::test
