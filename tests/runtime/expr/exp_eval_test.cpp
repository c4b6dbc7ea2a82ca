// Whole evaluations: statements, assignments to variables and array elements, failures with their
// reports, the entry points built on ExpEval, and how the arena is left.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "runtime/vars/var_arrays.h"
#include "runtime/vars/var_system.h"
#include "tests/runtime/expr/exp_fixture.h"
#include "tests/support/temp_folder.h"

namespace rt::test {
namespace {

using ExpEvalTest = ExpTest;

TEST_F(ExpEvalTest, StatementsRunInOrderAndGiveTheLastValue) {
    EXPECT_EQ(Num("A$='X':B#=2;D#=B#*2"), 400);
    EXPECT_EQ(VarText("A$"), "X");
    EXPECT_EQ(VarNum("B#"), 200);
    EXPECT_EQ(VarNum("D#"), 400);
    EXPECT_EQ(Text("1;'last'"), "last");
    EXPECT_EQ(Num("'first',7"), 700);
    EXPECT_EQ(Num("5;"), 500);
    EXPECT_EQ(Num(";"), 0);
    EXPECT_EQ(Num("A=>B"), 0);  // "=>" is no operator: it ends the statement like a separator
}

TEST_F(ExpEvalTest, AssignmentsToVariables) {
    EXPECT_EQ(Num("TOTAL#=TOTAL#+12.5*2"), 2500);
    EXPECT_EQ(Num("TOTAL#=TOTAL#+12.5*2"), 5000);
    EXPECT_EQ(Num("A=B=C=7"), 700);
    EXPECT_EQ(VarNum("A"), 700);
    EXPECT_EQ(VarNum("B"), 700);
    EXPECT_EQ(VarNum("C"), 700);
    EXPECT_EQ(Num("I=2.5;I"), 300);
    EXPECT_EQ(Num("I=-2.5;I"), -300);
    EXPECT_EQ(Num("I=70000;I"), 446400);
    EXPECT_EQ(Text("N$='a'+'b';N$+N$"), "abab");
    EXPECT_EQ(Text("X$=Y$='q'"), "q");
    EXPECT_EQ(VarText("X$"), "q");
    EXPECT_EQ(Num("Z#=(1+2)*3==9"), 100);  // a comparison binds tighter than '='
    EXPECT_EQ(VarNum("Z#"), 100);
    EXPECT_EQ(Num("_PRECIS"), 200);
    EXPECT_EQ(Text(".lf$+.tab$"), "\r\n\t");
}

TEST_F(ExpEvalTest, AssignmentsToArrayElements) {
    EXPECT_EQ(Num("T#(3)"), 0);  // the first read creates four elements
    EXPECT_EQ(Num("T#(1+2)=1.5;T#(3)+T#(0)"), 150);
    EXPECT_EQ(Eval("T#(4)").code, 168);
    EXPECT_EQ(Eval("U#(1)=5").code, 149);
    EXPECT_EQ(Num("M(2;3)"), 0);
    EXPECT_EQ(Num("M(1;2)=9;M(1;2)"), 900);
    EXPECT_EQ(Text("S$(4)"), "");
    EXPECT_EQ(Text("S$(2)='xy';S$(2)+S$(1)"), "xy");
    EXPECT_EQ(Eval("S$(2)=1").code, 128);
    EXPECT_EQ(Eval("T#(1)='a'").code, 128);
    EXPECT_EQ(Eval("T#('a')").code, 128);
    EXPECT_EQ(Eval("Q#(1;1;1;1;1)").code, 149);
    EXPECT_EQ(Num("_#(5)=2"), 200);
    FixedNumber n = 0;
    std::int32_t five = 5;
    ASSERT_EQ(VarArrayGetNumber(S("_#"), &five, 1, &n), 0);
    EXPECT_EQ(n, 200);
}

TEST_F(ExpEvalTest, FailuresStopTheEvaluationButKeepEarlierAssignments) {
    struct Case { const char* expr; ErrCode code; } cases[] = {
        {"A B", 147},      {"A+ B", 0},      {"A +B", 0},       {" A", 147},       {"A ", 147},
        {"(A", 129},       {"A)", 129},      {")A(", 129},      {"'X'=5", 147},    {"2*", 147},
        {"'A'+", 147},     {"'A'+-1", 147},  {"A$=1", 128},     {"A#='x'", 128},   {"1+A=5", 147},
        {"(A)=5", 147},    {"5=5", 147},     {"A(1)B", 147},    {"A(1)(2)", 147},  {"' a ' +' b'", 0},
        {"'a' 'b'", 147},
    };
    for (const auto& c : cases) {
        ErrCode code = Eval(c.expr).code;
        EXPECT_EQ(code >= 128 ? code : 0, c.code) << c.expr;
    }
    EXPECT_EQ(Eval("K1#=1;K2$=2;K3#=3").code, 128);
    EXPECT_EQ(VarNum("K1#"), 100);
    EXPECT_EQ(VarFind(S("K3#")).slot, kNone);
}

TEST_F(ExpEvalTest, FailuresAreReportedWithTheirTexts) {
    EXPECT_EQ(Eval("A B").code, 147);
    EXPECT_EQ(Str(ErrDetail()), " B");
    EXPECT_EQ(Eval("(A+1").code, 129);
    EXPECT_EQ(Str(ErrDetail()), "(A+1");
    EXPECT_EQ(Eval("X=1;'a'+1;Y=2").code, 128);
    EXPECT_EQ(Str(ErrDetail()), "'a'+1;Y=2");
    EXPECT_EQ(Eval("Y=1;T#(9)+V#(1;2;3;4;5)").code, 149);
    EXPECT_EQ(Str(ErrDetail()), "V#(1;2;3;4;5)\r\nT#(9)+V#(1;2;3;4;5)");
    // The first serious error of the run is noted with the evaluator's area.
    EXPECT_EQ(ErrNoted(), (std::uint32_t(kAreaExpExec) << 16) | 147u);
}

TEST_F(ExpEvalTest, ConditionIntegerTextAndRun) {
    EXPECT_EQ(ExpCondition(S("")), 1);
    EXPECT_EQ(ExpCondition(S("2>1")), 1);
    EXPECT_EQ(ExpCondition(S("1>2")), 0);
    EXPECT_EQ(ExpCondition(S("'x'")), 0);
    EXPECT_EQ(ExpCondition(S("'x'+1")), 128);
    EXPECT_EQ(ExpInteger(S("2.5")), 3);
    EXPECT_EQ(ExpInteger(S("-2.5")), -3);
    EXPECT_EQ(ExpInteger(S("70000")), 4464);
    {
        DynScope scope;
        EXPECT_EQ(Str(ExpText(S("1/2"))), ".5");
        EXPECT_EQ(Str(ExpText(S("'a'+'b'"))), "ab");
        EXPECT_EQ(Str(ExpText(S("0"))), "");
        StrDesc failed = ExpText(S("'a'+1"));
        EXPECT_TRUE(failed.IsError());
        EXPECT_EQ(failed.len, 128);
    }
    std::uint16_t mark = DynMark();
    EXPECT_EQ(ExpRun(S("R#=5;'text'")), 0);
    EXPECT_EQ(DynMark(), mark);
    EXPECT_EQ(VarNum("R#"), 500);
    EXPECT_EQ(ExpRun(S("R#=6;R#='a'")), 128);
    EXPECT_EQ(VarNum("R#"), 600);
}

// A text where an integer is wanted leaves a trail in assertions.log and gives 0; the process goes on.
TEST_F(ExpEvalTest, IntegerOfATextGivesZeroAndIsLogged) {
    TempFolder folder(true);
    ASSERT_FALSE(folder.path().empty());
    EXPECT_EQ(ExpInteger(S("'abc'")), 0);
    EXPECT_EQ(ExpInteger(S("A B")), 0);
    std::ifstream log(folder.File("assertions.log"), std::ios::binary);
    std::stringstream content;
    content << log.rdbuf();
    EXPECT_NE(content.str().find("Errode:1 ('abc')"), std::string::npos) << content.str();
    EXPECT_NE(content.str().find("Errode:147 (A B)"), std::string::npos) << content.str();
}

TEST_F(ExpEvalTest, LongAndDeepExpressionsStayWithinTheArena) {
    std::string chain = "'x'";
    for (int i = 0; i < 300; ++i) chain += "+'y'";
    EXPECT_EQ(Text(chain).size(), 301u);
    std::string sum = "0";
    for (int i = 0; i < 500; ++i) sum += "+1";
    EXPECT_EQ(Num(sum), 50000);
    std::string nested(150, '(');
    nested += "1" + std::string(150, ')');
    EXPECT_EQ(Num(nested), 100);
    std::string deep(5000, '(');
    deep += "1" + std::string(5000, ')');
    EXPECT_EQ(Eval(deep).code, 155);
    std::string signs(5000, '-');
    EXPECT_EQ(Eval("1" + signs + "1").code, 155);
    std::string assigns;
    for (int i = 0; i < 1000; ++i) assigns += "A=";
    EXPECT_EQ(Eval(assigns + "1").code, 155);
    // Nothing is left behind by a failure or by a run.
    EXPECT_EQ(DynMark(), 0);
}

}  // namespace
}  // namespace rt::test
