// Evaluating expressions that call built-in functions, with the result written as one comparable
// text: "#<canonical number>" ("#0" for zero), "'<text>'", or "E<code>" for any other outcome.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "runtime/expr/evaluator.h"
#include "runtime/vars/fixed_number.h"
#include "runtime/vars/var_arena_number.h"
#include "runtime/vars/variables.h"
#include "runtime/text/dyn_strings.h"
#include "tests/runtime/vars/var_fixture.h"

namespace rt::test {

inline std::string Outcome(ErrCode code) {
    if (code == 0) {
        std::string n = Str(NumText(VarNumFromEntry(DynTop())));
        return "#" + (n.empty() ? std::string("0") : n);
    }
    if (code == 1) return "'" + Str(DynTop()) + "'";
    return "E" + std::to_string(code);
}

// ExpEval of expr, leaving the arena as it was.
inline std::string Eval(const std::string& expr) {
    DynScope scope;
    return Outcome(ExpEval(D(expr)));
}

struct EvalCase {
    const char* expr;
    const char* expected;
};

// Runs a table of cases in order (later cases may rely on assignments of earlier ones). An empty
// expectation asks only for success (a number or a text).
inline void ExpectAll(std::initializer_list<EvalCase> cases) {
    for (const EvalCase& c : cases) {
        std::string got = Eval(c.expr);
        if (*c.expected == 0) EXPECT_NE(got.substr(0, 1), "E") << c.expr << " gave " << got;
        else EXPECT_EQ(got, c.expected) << c.expr;
    }
}

inline std::string Var(const std::string& name) {
    DynScope scope;
    return Str(VarGetText(D(name)));
}

}  // namespace rt::test
