// Value functions: numbers and dates of texts, masks, times, choices, sums, the accumulator array,
// string slots, environment lists and text templates.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "runtime/env/streams.h"
#include "runtime/expr/builtin_functions.h"
#include "runtime/vars/dates.h"
#include "runtime/vars/var_system.h"
#include "runtime/text/slot_table.h"
#include "tests/runtime/expr/fn_fixture.h"
#include "tests/support/temp_folder.h"

namespace rt::test {
namespace {

class FnValuesTest : public VarTest {
protected:
    void SetUp() override {
        VarTest::SetUp();
        ASSERT_EQ(SlotSet(0, 4, S("ES")), 0);  // day before month
    }
    std::string Today() {
        DynScope scope;
        return Str(DateToday());
    }
};

TEST_F(FnValuesTest, NumbersAndDatePartsOfTexts) {
    ExpectAll({
        {"FN#VALN('12.50')", "#12.5"},
        {"FN#VALN(' -0.75 ')", "#-.75"},
        {"FN#VALN('20250305';'D')", "#5"},
        {"FN#VALN('20250305';'M')", "#3"},
        {"FN#VALN('20250305';'Y')", "#2025"},
        {"FN#VALN('20250305';'V')", "#20250305"},
        {"FN#VALN('20250131';'M';1)", "#20250228"},
        {"FN#VALN('20250305';'M';'20250101')", "#2"},
        {"FN#VALN('20250305';'Q')", "E147"},
        {"FN#VALN(5)", "E128"},
    });
}

TEST_F(FnValuesTest, DatesTimesAndMasks) {
    ExpectAll({
        {"FN$DATE(20250305)", "'20250305'"},
        {"FN$DATE('20250305';2)", "'05-03-2025'"},
        {"FN$DATE('5/3/25')", "'20250305'"},
        {"FN$DATE('5/3/25';1)", "'05-03-25'"},
        {"FN$DATE('31/02/25';1)", "'        '"},  // an invalid typed date is blank, never today
        {"TIME$('9:30:15.25';7)", "'09:30:15.250'"},
        {"TIME$('12:30';3)", "'00:12:30'"},
        {"TIME$(5)", "E128"},
        {"FN$MASK('#####.##';12.5;1)", "'   12.50'"},
        {"FN$MASK('0000';12)", "'0012'"},
        {"FN$MASK('\\\\\\-\\\\';'12345')", "'123-45'"},
    });
    EXPECT_EQ(Eval("FN$DATE()"), "'" + Today() + "'");
    // A file that does not exist gives the empty date, shown as today, and midnight.
    EXPECT_EQ(Eval("FN$DATE('/nonexistent/none*.xyz';128)"), "'" + Today() + "'");
    EXPECT_EQ(Eval("TIME$('/nonexistent/none*.xyz';129)"), "'00:00'");
    TempFolder folder;
    std::string path = folder.File("fn_values_stamp.txt");
    std::ofstream(path) << "x";
    EXPECT_EQ(Eval("FN$DATE('" + path + "';128)"), "'" + Today() + "'");
}

TEST_F(FnValuesTest, ChoicesEvaluateOnlyTheChosenArgument) {
    ExpectAll({
        {"CHK#(1;5;6)", "#5"},
        {"CHK#(0;5;6)", "#6"},
        {"CHK#(0;5)", "#0"},
        {"CHK$(0;'a')", "''"},
        {"CHK$(1;'a';'b')", "'a'"},
        {"CHK$(2-2;'a';'b')", "'b'"},
        {"CHK#('a';1)", "E128"},
        {"CHK#(1)", "E147"},
        // A number where CHK$ wants a text is no failure: the whole text result is empty.
        {"CHK$(1;5)", "''"},
        {"CHK#(1;5;X=1)", "#5"},
        {"CHK#(0;Y=1;7)", "#7"},
    });
    EXPECT_EQ(VarFind(S("X")).slot, kNone);
    EXPECT_EQ(VarFind(S("Y")).slot, kNone);
}

TEST_F(FnValuesTest, AccumulatingCountingAndConditional) {
    EXPECT_EQ(Eval("FN#ACUM(I;I;1;4)"), "#10");
    EXPECT_EQ(Eval("I"), "#5");
    EXPECT_EQ(Eval("FN#ACUM('2.5';K;1;3)"), "#7.5");
    EXPECT_EQ(Eval("FN#ACUM((I*2);(I);(0);(2))"), "#6");
    EXPECT_EQ(Eval("FN#ACUM(1;N#;1;3)"), "E147");
    EXPECT_EQ(Eval("FN#ACUM(1;I;1;'x')"), "E128");
    // The loop variable goes up by one from the value the addend left in it.
    EXPECT_EQ(Eval("FN#ACUM((I=I+1);I;1;10)"), "#30");
    EXPECT_EQ(Eval("I"), "#11");
    // Conditional form: the test, then the step (or the test again) after every addition.
    EXPECT_EQ(Eval("J=0"), "#0");
    EXPECT_EQ(Eval("FN#ACUM(J;(J=J+1)<4)"), "#6");
    EXPECT_EQ(Eval("FN#ACUM(5;0)"), "#0");
    EXPECT_EQ(Eval("J=0"), "#0");
    EXPECT_EQ(Eval("FN#ACUM(2;J<1;(J=J+1)<3)"), "#6");
    // An empty test is true, so the step alone decides; with no step either it would never end.
    EXPECT_EQ(Eval("J=0"), "#0");
    EXPECT_EQ(Eval("FN#ACUM(J;;(J=J+1)<3)"), "#3");
    EXPECT_EQ(Eval("FN#ACUM(1;)"), "E147");
}

TEST_F(FnValuesTest, SumsHoldAtTheEndsOfTheRangeAsTheOperatorsDo) {
    struct Case { const char* sum; const char* operators; const char* end; };
    const Case cases[] = {
        {"FN#ACUM(9D18;I;1;2)", "9D18+9D18", "#92233720368547758.07"},
        {"FN#ACUM(-9D18;I;1;2)", "-9D18-9D18", "#-92233720368547758.08"},
        {"FN#ACUM(9D18;I;1;3)", "9D18+9D18+9D18", "#92233720368547758.07"},
        {"FN#ACUM('9D18';I;1;2)", "9D18+9D18", "#92233720368547758.07"},  // a text addend
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Eval(c.sum), c.end) << c.sum;
        EXPECT_EQ(Eval(c.operators), c.end) << c.operators;
    }
}

TEST_F(FnValuesTest, AccumulatorArrayByIndexNameAndRange) {
    ExpectAll({
        {"_#(5)=2", "#2"},
        {"_#(5)", "#2"},
        {"_#(3;2)", "#2"},
        {"_#('DIM';5)", "#2"},
        {"_ACUMX$='A,B,C,D,E,F'", "'A,B,C,D,E,F'"},
        {"_#('F')", "#2"},
        {"_#('E';1)", "#2"},
        {"_#('Z')", "#0"},
        {"_#(6)=3", "#3"},
        {"_#('CLS';5;6)", "#0"},
        {"_#(5)", "#0"},
        {"_#(6)", "#3"},
        {"_#(256)", "#0"},
        {"_#(257)", "E168"},
    });
}

TEST_F(FnValuesTest, ClearingAnArrayThatDoesNotExistGivesZero) {
    EXPECT_EQ(Eval("_#('CLS';0;10)"), "#0");
    EXPECT_EQ(Eval("_#(5)=1"), "#1");  // the first assignment still creates all 257 elements
    EXPECT_EQ(Eval("_#(256)"), "#0");
}

TEST_F(FnValuesTest, StringSlotsByItemAndAsStacks) {
    ExpectAll({
        {"_$(0;20;'hello')", "'hello'"},
        {"_$(0;20)", "'hello'"},
        {"_$(0;-1)", "E147"},
        {"_$(0;20;5)", "E128"},
        {"_$(39)", "E159"},
        {"_$(30;0;'a')", "'a'"},
        {"_$(30;0;'b')", "'b'"},
        {"_$()", "'b'"},
        {"_$(30;-1)", "'b'"},
        {"_$(30)", "'a'"},
        {"_$(30;-1)", "'a'"},
        {"_$(30;-1)", "E127"},
        // An empty group gives the empty text with its status, never an argument's bytes.
        {"_$(30;-1)+'x'", "'x'"},
        {"FN#SLEN(_$(30;-1))", "#0"},
        {"_$(9;7;'X=1')", "'X=1'"},
        {"_$(.envvar;.dialog)", "'X=1'"},
    });
    // Queue groups read their first item.
    ASSERT_EQ(SlotPush(38, S("first")), 0);
    ASSERT_EQ(SlotPush(38, S("second")), 0);
    EXPECT_EQ(Eval("_$(38)"), "'first'");
    // Group 12 holds the variable names; item 2 the text variables.
    EXPECT_EQ(Eval("FN$PARM(_$(12;2);2)"), "'_ACUMX$'");
}

TEST_F(FnValuesTest, EnvironmentListsOfGroupZero) {
    ASSERT_EQ(SlotSet(0, 1, S("prog /TRACE=3 /USER='Ana'")), 0);
    ASSERT_EQ(SlotSet(0, 6, S("C:\\docs")), 0);
    ExpectAll({
        {"ENVRON$('USER')", "'Ana'"},
        {"ENVRON$('TRACE')", "'3'"},
        {"ENVRON$('NONE')", "''"},
        {"ENVRON$('';6)", "'C:\\docs'"},
        {"ENVRON$(1)", "E128"},
    });
}

TEST_F(FnValuesTest, MacroExpansion) {
    ExpectAll({
        {"MACRO$('a[1+2]b')", "'a3b'"},
        {"MACRO$('[0]x')", "'0x'"},
        {"MACRO$('[0]x';16)", "'x'"},
        {"MACRO$('[abc%]')", "'abc%'"},
        {"MACRO$(\"['x']y\")", "'xy'"},
        {"MACRO$(\"'[1]'[2]\")", "''[1]'2'"},
        {"MACRO$(\"'[1]'\";1)", "''1''"},
        {"MACRO$('[5]';32)", "''5''"},
        {"MACRO$('[5]';96)", "'\"5\"'"},
        {"MACRO$('[NAME]-[X%]';4;'NAME=Luis')", "'Luis-'"},
        {"MACRO$('[2]*3';8)", "'6'"},
        {"MACRO$('[1+]')", "E147"},
    });
}

TEST_F(FnValuesTest, TemplatesRescanEscapeAndStopRunawayExpansion) {
    DynScope scope;
    EXPECT_EQ(Str(TextMacro(S("\\{x\\}[1]"), kMacroEscapes, StrEmpty())), "[x]1");
    EXPECT_EQ(Str(TextMacro(S("[A]"), kMacroNames | kMacroRescan, S("A=[B] B=7"))), "7");
    EXPECT_EQ(Str(TextMacro(S("[A]"), kMacroNames, S("A=[B] B=7"))), "[B]");
    EXPECT_EQ(Str(TextMacro(S("[A]"), kMacroNames | kMacroRescan, S("A=[A]"))), "<error 129>");
    EXPECT_EQ(Str(TextMacro(S("[V]"), kMacroNoTrim | kMacroNames, S("V=' x '"))), " x ");
}

}  // namespace
}  // namespace rt::test
