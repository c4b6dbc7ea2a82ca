// The work budget of one top-level evaluation: loop rounds, template replacements and function calls
// counted together, nested work included, a fresh budget for every top-level evaluation.
#include "runtime/expr/exp_budget.h"

#include <string>

#include "tests/runtime/expr/fn_fixture.h"

namespace rt::test {
namespace {

// A template of n sections "[1]", each one replacement.
std::string Sections(int n) {
    std::string t;
    for (int i = 0; i < n; ++i) t += "[1]";
    return "MACRO$('" + t + "')";
}

class ExpBudgetTest : public VarTest {
protected:
    void TearDown() override {
        ExpWorkBudgetSet(kExpWorkBudget);
        VarTest::TearDown();
    }
};

TEST_F(ExpBudgetTest, LoopsThatNestOrNeverEndStopWith129) {
    // A smaller budget than the real one keeps the test short under the sanitizers; without any the
    // outer loop would run a million rounds of a hundred inner ones.
    ExpWorkBudgetSet(100000);
    EXPECT_EQ(Eval("FN#ACUM(FN#ACUM(1;J;1;100);1)"), "E129");
    // The next evaluation has its budget again (the 16-bit loop variable ends the loop at 32767).
    EXPECT_EQ(Eval("FN#ACUM(1;I;1;90000)"), "#32767");
    // A counting loop on _PRECIS, which stays at 18, can never pass 100.
    EXPECT_EQ(Eval("FN#ACUM(FN#ACUM(1;_PRECIS;1;100);1)"), "E129");
}

TEST_F(ExpBudgetTest, RoundsReplacementsAndCallsShareOneBudget) {
    ExpWorkBudgetSet(1000);
    ExpectAll({
        {"FN#ACUM(1;I;1;900)", "#900"},
        {"FN#ACUM(1;I;1;1100)", "E129"},
        // Nested loops: each is far below the cap of one loop, together they pass the budget.
        {"FN#ACUM(FN#ACUM(1;J;1;20);I;1;20)", "#400"},
        {"FN#ACUM(FN#ACUM(1;J;1;40);I;1;40)", "E129"},
        // A function call in every round counts as well.
        {"FN#ACUM(FN#VALN('1');I;1;400)", "#400"},
        {"FN#ACUM(FN#VALN('1');I;1;600)", "E129"},
        // Template replacements count.
        {Sections(900).c_str(), ""},
        {Sections(1100).c_str(), "E129"},
        // The statements of one text share the budget; each alone would pass.
        {"A=FN#ACUM(1;I;1;600);B=FN#ACUM(1;I;1;600)", "E129"},
        {"A=FN#ACUM(1;I;1;600)", "#600"},
        // A conditional loop whose condition never turns false.
        {"FN#ACUM(1;1)", "E129"},
    });
}

}  // namespace
}  // namespace rt::test
