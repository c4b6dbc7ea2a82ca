// Evaluating expressions in a runtime with the variable store and an empty file table.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "runtime/env/errors.h"
#include "runtime/expr/evaluator.h"
#include "runtime/vars/fixed_number.h"
#include "runtime/text/dyn_strings.h"
#include "tests/runtime/data/data_fixture.h"

namespace rt::test {

// What one evaluation gave: the code of ExpEval and the value it left.
struct ExpResult {
    ErrCode code = 0;
    FixedNumber number = 0;
    std::string text;
};

inline std::ostream& operator<<(std::ostream& os, const ExpResult& r) {
    return os << "{code " << r.code << ", number " << r.number << ", text '" << r.text << "'}";
}

class ExpTest : public DataTest {
protected:
    void SetUp() override {
        DataTest::SetUp();
        ErrClear();
        ErrSetText(0, StrEmpty());
    }
    // Evaluates and checks that exactly the result (or, on failure, nothing) is left on the arena.
    ExpResult Eval(const std::string& expr) {
        ExpResult r;
        std::uint16_t mark = DynMark();
        r.code = ExpEval(D(expr));
        if (r.code == kExpNumber) r.number = VarNumFromEntry(DynTop());
        if (r.code == kExpText) r.text = Str(DynTop());
        EXPECT_EQ(DynMark(), r.code >= 128 ? mark : mark + 1) << expr;
        DynRelease(mark);
        return r;
    }
    FixedNumber Num(const std::string& expr) {
        ExpResult r = Eval(expr);
        EXPECT_EQ(r.code, kExpNumber) << expr << " " << r;
        return r.number;
    }
    std::string Text(const std::string& expr) {
        ExpResult r = Eval(expr);
        EXPECT_EQ(r.code, kExpText) << expr << " " << r;
        return r.text;
    }
    std::string VarText(const char* name) {
        DynScope scope;
        return Str(VarGetText(StrFromC(name)));
    }
    FixedNumber VarNum(const char* name) {
        FixedNumber n = 0;
        EXPECT_EQ(VarGetNumber(StrFromC(name), &n), 0) << name;
        return n;
    }
};

}  // namespace rt::test
