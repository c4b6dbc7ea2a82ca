// Preparing expression texts and walking them operand by operand, as condition translation and
// argument splitting do.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/expr/exp_scan.h"
#include "tests/runtime/expr/exp_fixture.h"

namespace rt::test {
namespace {

using ExpScanTest = ExpTest;

struct Term {
    std::string operand;
    std::uint16_t kind;
    std::uint16_t op;
    std::uint16_t priority;
    ErrCode status;
};

std::vector<Term> Walk(const char* text) {
    DynScope scope;
    ExpCursor c = ExpStart(StrFromC(text));
    EXPECT_EQ(c.status, 0) << text;
    std::vector<Term> terms;
    while (c.next < c.text.len) {
        ExpScan(c);
        terms.push_back({std::string(c.text.ptr + c.start, c.operandLength), c.kind, c.op, c.priority, c.status});
    }
    return terms;
}

void ExpectTerms(const char* text, const std::vector<Term>& want) {
    std::vector<Term> got = Walk(text);
    ASSERT_EQ(got.size(), want.size()) << text;
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].operand, want[i].operand) << text << " #" << i;
        EXPECT_EQ(got[i].kind, want[i].kind) << text << " #" << i;
        EXPECT_EQ(got[i].op, want[i].op) << text << " #" << i;
        EXPECT_EQ(got[i].priority, want[i].priority) << text << " #" << i;
        EXPECT_EQ(got[i].status, want[i].status) << text << " #" << i;
    }
}

TEST_F(ExpScanTest, PreparationRemovesSpacesOutsideQuotesAndExpandsDialogMacros) {
    struct Case { const char* text; const char* prepared; } cases[] = {
        {"A$ = 'a b' + B$", "A$='a b'+B$"},
        {"X  ==  \"  q \"", "X==\"  q \""},
        {"_ACCEPT#(3)+1", "FN#VALN(FN$TRIM(FN$PARM(_$(.envvar;.dialog);3);'FIT'))+1"},
        {"N$=_ACCEPT$(2)", "N$=FN$TRIM(FN$PARM(_$(.envvar;.dialog);2);'FIT')"},
        {"_ACCEPT$(_ACCEPT#(1))",
         "FN$TRIM(FN$PARM(_$(.envvar;.dialog);FN#VALN(FN$TRIM(FN$PARM(_$(.envvar;.dialog);1);'FIT')));'FIT')"},
        {"'_ACCEPT#(1)'", "'_ACCEPT#(1)'"},
    };
    for (const Case& c : cases) {
        DynScope scope;
        ExpCursor cur = ExpStart(StrFromC(c.text));
        EXPECT_EQ(cur.status, 0) << c.text;
        EXPECT_EQ(Str(cur.text), c.prepared);
        EXPECT_EQ(cur.next, 0);
    }
}

TEST_F(ExpScanTest, ValidationJudgesParenthesesThenSpaces) {
    struct Case { const char* text; ErrCode status; const char* detail; } cases[] = {
        {"(A", 129, "(A"},         {"A))((", 129, "A))(("},  {"A B", 147, " B"},   {"  A", 147, "  A"},
        {"A  ", 147, "  "},        {"( A )", 0, ""},         {"'A B' ", 147, " "}, {"A ( B", 129, "A ( B"},
        {"'(' + A", 0, ""},        {"A+ B - C", 0, ""},
    };
    for (const Case& c : cases) {
        DynScope scope;
        ErrSetText(0, StrEmpty());
        EXPECT_EQ(ExpStart(StrFromC(c.text)).status, c.status) << c.text;
        EXPECT_EQ(Str(ErrDetail()), c.detail) << c.text;
    }
}

TEST_F(ExpScanTest, OperandsAreClassifiedAndOperatorsNumbered) {
    ExpectTerms("A#>=1&&B$=='X*'||N<>.envvar", {
        {"A#", kOpVariable | kOpNumVariable, kOpGreaterEq, 2, 0},
        {"1", 0, kOpAnd, 1, 0},
        {"B$", kOpVariable | kOpText, kOpEqual, 2, 0},
        {"'X*'", kOpText, kOpOr, 1, 0},
        {"N", kOpVariable, kOpNotEqual, 2, 0},
        {".envvar", 0, kOpNone, 0, 0},
    });
    ExpectTerms("T#(1;2)*(3)+FN$TRIM(x)-fn#slen('a')|_X(1)", {
        {"T#", kOpArray | kOpVariable | kOpNumVariable, kOpMul, 4, 0},
        {"", kOpParens, kOpAdd, 3, 0},
        {"FN$TRIM", kOpFunction | kOpVariable | kOpText, kOpSub, 3, 0},
        {"fn#slen", kOpFunction | kOpVariable | kOpNumVariable, kOpBitOr, 5, 0},
        {"_X", kOpArray | kOpVariable, kOpNone, 0, 0},
    });
    ExpectTerms("-1;A=>B:C\xF7" "2@@3", {
        {"", 0, kOpSub, 3, 123},
        {"1", 0, kOpNone, 0, 0},
        {"A", kOpVariable, kOpNone, 0, 0},
        {"B", kOpVariable, kOpNone, 0, 0},
        {"C", kOpVariable, kOpLessPercent, 4, 0},
        {"2", 0, kOpXor, 1, 0},
        {"3", 0, kOpNone, 0, 0},
    });
}

TEST_F(ExpScanTest, CursorFieldsLocateTheOperandAndItsParentheses) {
    DynScope scope;
    ExpCursor c = ExpStart(S("X+FN$MIDS(A$;2;5)*2"));
    ExpScan(c);
    ExpScan(c);
    EXPECT_EQ(c.start, 2);
    EXPECT_EQ(c.operandLength, 7);
    EXPECT_EQ(c.parenLength, 6);
    EXPECT_EQ(c.function, 17);
    EXPECT_EQ(c.next, 18);
    EXPECT_EQ(c.op, kOpMul);
}

TEST_F(ExpScanTest, ArgumentListsSplitOutsideQuotesAndParentheses) {
    struct Case { const char* list; std::vector<std::string> args; } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a;b,c", {"a", "b", "c"}},
        {"a;", {"a", ""}},
        {";", {"", ""}},
        {"F(1;2);'x;y'", {"F(1;2)", "'x;y'"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> got;
        std::uint32_t pos = 0;
        StrDesc arg;
        while (ExpNextArg(StrFromC(c.list), &pos, &arg)) got.push_back(Str(arg));
        EXPECT_EQ(got, c.args) << c.list;
    }
}

}  // namespace
}  // namespace rt::test
