// Text and list functions, argument counting and kinds, and function-name lookup.
#include "runtime/expr/builtin_functions.h"
#include "runtime/text/slot_table.h"
#include "tests/runtime/expr/fn_fixture.h"

namespace rt::test {
namespace {

class FnTextTest : public VarTest {};

TEST_F(FnTextTest, NamesMatchAsWrittenThenInUpperCase) {
    EXPECT_EQ(FnLookup(S("_#")), 1);
    EXPECT_EQ(FnLookup(S("FN$TRIM")), 19);
    EXPECT_EQ(FnLookup(S("fn$trim")), 19);
    EXPECT_EQ(FnLookup(S("SQLCHILD")), 33);
    EXPECT_EQ(FnLookup(S("TRIM")), 0);
    EXPECT_EQ(FnLookup(S("")), 0);
    // The recogniser keeps its list in slot (0, 8).
    EXPECT_EQ(Str(SlotGet(0, kFnListSlot)), Str(kFnList));
    EXPECT_EQ(FnResultKind(3), 0);
    EXPECT_EQ(FnResultKind(19), 1);
    // A list changed through the slot is the one recognised.
    ASSERT_EQ(SlotSet(0, kFnListSlot, S("_#,FN#FLEN,FN#SLEN,XX")), 0);
    EXPECT_EQ(FnLookup(S("xx")), 4);
    EXPECT_EQ(FnLookup(S("FN$TRIM")), 0);
}

TEST_F(FnTextTest, LengthsCharactersAndParts) {
    ExpectAll({
        {"FN#SLEN('abc')", "#3"},
        {"fn#slen('ab')", "#2"},
        {"FN#SLEN('')", "#0"},
        {"FN$CHRS(65;3)", "'AAA'"},
        {"FN$CHRS('ab';2)", "'abab'"},
        {"FN$CHRS('x';0)", "''"},
        {"FN$CHRS(66)", "'B'"},
        {"FN$MIDS('ABCDE';2;3)", "'BCD'"},
        {"FN$MIDS('ABCDE';-2)", "'DE'"},
        {"FN$MIDS('ABCDE';-3;1)", "'C'"},
        {"FN$MIDS('ABCDE';;1)", "'E'"},
        {"FN$MIDS('ABCDE';4;9)", "'DE'"},
        {"FN$MIDS('ABCDE';9)", "''"},
    });
}

TEST_F(FnTextTest, ArgumentCountsAndKinds) {
    ExpectAll({
        {"FN#SLEN('a';'b')", "E147"},
        {"FN#SLEN(5)", "E128"},
        {"FN$MIDS('ABCDE')", "E147"},
        {"FN$MIDS('abc';'x')", "E128"},
        {"FN$PARM(5)", "E128"},
        {"FN$TRIM('x';5)", "E128"},
        {"WRITE('x';1)", "E147"},
        {"ENVELOP$()", "E147"},
        {"FN#SLEN('a';'b';'c';'d';'e';'f';'g';'h';'i';'j';'k';'l';'m';'n';'o';'p';'q')", "E147"},
    });
}

TEST_F(FnTextTest, ListItemsAndPositions) {
    ExpectAll({
        {"FN$PARM('a,b,c';2)", "'b'"},
        {"FN$PARM('a;b';2;59)", "'b'"},
        {"FN$PARM('a,b,c')", "''"},
        {"FN$PARM('a,b,c';0)", "''"},
        {"FN$PARM('a,b,c';4)", "''"},
        {"FN$PARM('a,\"b,c\",d';3)", "'d'"},
        {"FN#PARM('a,b,c')", "#3"},
        {"FN#PARM('')", "#0"},
        {"FN#PARM('a,b,c';'c')", "#3"},
        {"FN#PARM('a,b,c';'x')", "#0"},
        {"FN#PARM('5,7,9';7)", "#2"},
        {"FN#PARM('1-5,6-9';7;0)", "#2"},
        {"FN#PARM('1-5,6-9';12;0)", "#0"},
        {"FN#PARM('A,B,C';'B';'10,20.5,30')", "#20.5"},
    });
}

TEST_F(FnTextTest, TrimmingAndEnclosing) {
    ExpectAll({
        {"FN$TRIM('  x  ';'LEFTTRIM')", "'x  '"},
        {"FN$TRIM('  x  ';'RIGHTRIM')", "'  x'"},
        {"FN$TRIM('  x  ')", "'x'"},
        {"FN$TRIM(' \"ab\" ';'FIT')", "'ab'"},
        {"FN$TRIM('ab';'FIT')", "'AB'"},
        {"FN$TRIM(1.5)", "'1.5'"},
        {"FN$TRIM('x';'MIDDLE')", "E147"},
        {"ENVELOP$('x')", "''x''"},
        {"ENVELOP$('x';40)", "'(x)'"},
        {"ENVELOP$('x';123)", "'{x}'"},
        {"ENVELOP$('x';34)", "'\"x\"'"},
        {"ENVELOP$('x';41)", "')x)'"},
    });
}

TEST_F(FnTextTest, ChangingTexts) {
    ExpectAll({
        {"FN$CHNG('a-b-c';'-';'+')", "'a+b+c'"},
        {"FN$CHNG('a-b-c';'-')", "'abc'"},
        {"FN$CHNG('abc';'UCASE';'')", "'ABC'"},
        {"FN$CHNG('AbC';'LCASE')", "'abc'"},
        {"FN$CHNG('a  b   \"c  d\"';'CLEAN')", "'a b \"c  d\"'"},
        {"FN$CHNG('a1b2';'FILTER';'12')", "'12'"},
        {"FN$CHNG('\xC1RBOL \xC9L';'FILTER';'\xC1\xC9\xCD\xD3\xDA';'AEIOU')", "'ARBOL EL'"},
        // Quoted sections are left alone unless a non-zero fourth argument says otherwise.
        {"FN$CHNG(\"a-'-'\";'-';'+')", "'a+'-''"},
        {"FN$CHNG(\"a-'-'\";'-';'+';1)", "'a+'+''"},
    });
}

TEST_F(FnTextTest, ExpressionTemplates) {
    ExpectAll({
        {"EXP$('$1_+$2_';A#;B#)", "'A#+B#'"},
        {"EXP$('$2_/$1_';X#*F(1;2))", "'F(1;2)/X#'"},
        {"EXP$('[$1_]';'a;b')", "'['a;b']'"},
        {"EXP$('plain')", "'plain'"},
        {"EXP$(5;A#)", "E128"},
    });
    // The raw operands are never evaluated.
    EXPECT_EQ(Eval("EXP$('$1_';Q=7)"), "'Q'");
    EXPECT_EQ(VarFind(S("Q")).slot, kNone);
}

}  // namespace
}  // namespace rt::test
