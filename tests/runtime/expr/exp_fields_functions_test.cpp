// Field references and built-in function calls as operands and assignment targets.
#include <gtest/gtest.h>

#include "runtime/data/fields.h"
#include "runtime/data/file_open.h"
#include "runtime/data/record_buffer.h"
#include "runtime/vars/var_system.h"
#include "tests/runtime/expr/exp_fixture.h"

namespace rt::test {
namespace {

class ExpFieldsTest : public ExpTest {
protected:
    void SetUp() override {
        ExpTest::SetUp();
        AddFile("otros", {{"X", 3, 'A'}});
        AddFile("contactos", {{"NOMBRE", 10, 'A'}, {"N_LINE", 5, 'N'}, {"IMPORTE", 8, '2'}, {"ALTA", 8, 'D'}});
        ASSERT_EQ(SysVarSet(kSysCurFil, 2), 0);
        ASSERT_EQ(FileOpen(1, 2), 0);
        ASSERT_EQ(FileOpen(2, 2), 0);
    }
    std::string Field(std::uint8_t file, std::uint16_t field) {
        DynScope scope;
        return Str(FieldRaw(file, field, kRecCurrent));
    }
};

TEST_F(ExpFieldsTest, AssignmentsStoreTheFieldsForm) {
    EXPECT_EQ(Num("1{}=5"), 500);
    EXPECT_EQ(Field(2, 1), "5         ");
    EXPECT_EQ(Text("NOMBRE{contactos}='Ana'"), "Ana");
    EXPECT_EQ(Field(2, 1), "Ana       ");
    EXPECT_EQ(Num("IMPORTE{}=12.5"), 1250);
    EXPECT_EQ(Field(2, 3), "   12.50");
    EXPECT_EQ(Text("N_LINE{2}='42'"), "42");
    EXPECT_EQ(Field(2, 2), "   42");
    EXPECT_EQ(Text("X{otros}='abcdef'"), "abcdef");
    EXPECT_EQ(Field(1, 1), "abc");
    EXPECT_EQ(Eval("IMPORTE{}=123456789").code, 168);
}

TEST_F(ExpFieldsTest, ReadsGiveTextsAndNumbersByType) {
    ASSERT_EQ(ExpRun(S("NOMBRE{}='Madrid':IMPORTE{}=12.5:N_LINE{}=3:ALTA{}=20250305")), 0);
    EXPECT_EQ(Text("NOMBRE{}"), "Madrid    ");
    EXPECT_EQ(Num("IMPORTE{}*2"), 2500);
    EXPECT_EQ(Num("N_LINE{}+IMPORTE{}"), 1550);
    EXPECT_EQ(Text("ALTA{}"), "20250305");
    EXPECT_EQ(Num("NOMBRE{}=='mad*'"), 100);
    EXPECT_EQ(Num("NOMBRE{}=='Madrid'"), 0);  // the field keeps its padding
    EXPECT_EQ(Num("IMPORTE{}=='12.5'"), 100);  // a number field reads a text on its right as a number
    EXPECT_EQ(Eval("'12.5'==IMPORTE{}").code, 128);
    EXPECT_EQ(Eval("(IMPORTE{})=='12.5'").code, 128);
    EXPECT_EQ(Num("{contactos}"), 200);
    EXPECT_EQ(Num("T#=IMPORTE{}+N_LINE{}*2;T#"), 1850);
}

TEST_F(ExpFieldsTest, BadReferencesFail) {
    EXPECT_EQ(Eval("NADA{}").code, 147);
    EXPECT_EQ(Eval("NOMBRE{zzz}").code, 161);
    EXPECT_EQ(Str(ErrDetail()), "NOMBRE{zzz}");
    EXPECT_EQ(Eval("NOMBRE{}x=1").code, 147);
    EXPECT_EQ(Eval("9{}=1").code, 147);
}

using ExpFunctionsTest = ExpTest;

TEST_F(ExpFunctionsTest, CallsGiveTheirValuesToTheOperators) {
    EXPECT_EQ(Num("FN#SLEN('abc')*2"), 600);
    EXPECT_EQ(Text("A$=' hola  ';FN$TRIM(FN$MIDS(A$;2;5))"), "hola");
    EXPECT_EQ(Text("fn$trim('  x  ';'LEFTTRIM')+'|'"), "x  |");
    EXPECT_EQ(Num("CHK#(1;5;6)+CHK#(0;5;6)"), 1100);
    EXPECT_EQ(Text("FN$CHRS(65;3)"), "AAA");
    EXPECT_EQ(Num("FN#PARM('a,b,c')+(1)"), 400);
    EXPECT_EQ(Eval("FN#SLEN(5)").code, 128);
    EXPECT_EQ(Eval("FN#SLEN('a';'b')").code, 147);
    EXPECT_EQ(Eval("FN$MIDS('ABCDE')+1").code, 147);
}

TEST_F(ExpFunctionsTest, AccumulatorElementsAreTargetsAndValues) {
    EXPECT_EQ(Num("_#(5)=2;_#(5)+_#(4;1)"), 400);
    ASSERT_EQ(ExpRun(S("_ACUMX$='NETO,IVA'")), 0);
    EXPECT_EQ(Num("_#('IVA')=21;_#(1)"), 2100);
    EXPECT_EQ(Num("_#('DIM';7)=3;_#(7)"), 300);
    EXPECT_EQ(Eval("_#('NADA')=1").code, 168);
    EXPECT_EQ(Eval("_#(1)='x'").code, 128);
    EXPECT_EQ(Eval("FN#SLEN('x')=1").code, 147);
}

TEST_F(ExpFunctionsTest, AChoiceOfTheOtherKindEndsAsTheEmptyText) {
    ExpResult r = Eval("CHK$(1;5)");
    EXPECT_EQ(r.code, kExpText);
    EXPECT_EQ(r.text, "");
    // On the left of an operator it is the kind's empty value, never the other kind's bytes.
    EXPECT_EQ(Text("CHK$(1;5)+'a'"), "a");
    EXPECT_EQ(Num("CHK#(1;'abcdefgh')+1"), 100);
}

TEST_F(ExpFunctionsTest, DialogMacrosReadTheDialogsItems) {
    ASSERT_EQ(ExpRun(S("_$(.envvar;.dialog;'uno,2.5, tres ')")), 0);
    EXPECT_EQ(Num("_ACCEPT#(2)*2"), 500);
    EXPECT_EQ(Text("_ACCEPT$(3)"), "TRES");
}

}  // namespace
}  // namespace rt::test
