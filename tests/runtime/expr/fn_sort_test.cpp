// SORT$: sorted copies of lists and sorted lists held through handles.
#include "runtime/vars/var_system.h"
#include "tests/runtime/expr/fn_fixture.h"

namespace rt::test {
namespace {

class FnSortTest : public VarTest {};

TEST_F(FnSortTest, SortedCopies) {
    ExpectAll({
        {"SORT$('b,a,c';128)", "'a,b,c'"},
        {"SORT$('b,a,b';129)", "'a,b'"},
        {"SORT$('b,a,c';130)", "'c,b,a'"},
        {"SORT$('pera,kiwi,uva';128)", "'kiwi,pera,uva'"},
        {"SORT$('pera,kiwi,uva')", "'kiwi,pera,uva '"},
        {"SORT$('b,,a';128)", "'a,b'"},
        {"SORT$('B,a,C';128)", "'B,C,a'"},
        {"SORT$('')", "''"},
        {"SORT$(5)", "E128"},
        {"SORT$('b,a';128;1)", "E147"},
    });
}

TEST_F(FnSortTest, HandleOperations) {
    ExpectAll({
        {"H$=SORT$('NEW';10;10;1)", ""},
        {"FN#SLEN(H$)", "#24"},
        {"H$=SORT$('ADD';H$;'x')", ""},
    });
    std::string before = Var("H$");
    // A duplicate under flag 1 ends with status 5 and the handle is not stored again.
    EXPECT_EQ(Eval("H$=SORT$('ADD';H$;'x')"), "E5");
    EXPECT_EQ(Var("H$"), before);
    ExpectAll({
        {"H$=SORT$('ADD';H$;'a')", ""},
        {"H$=SORT$('MOVE';H$;'TOP')", ""},
        {"SORT$('GET';H$)", "'a         '"},
        {"H$=SORT$('MOVE';H$;'next')", ""},
        {"_IER", "#0"},
        {"SORT$('GET';H$)", "'x         '"},
        {"H$=SORT$('MOVE';H$;'NXT')", ""},
        {"_IER", "#2"},
        {"H$=SORT$('MOVE';H$;'TOP')", ""},
        {"H$=SORT$('MOVE';H$;'PRV')", ""},
        {"_IER", "#2"},
        {"SORT$('GET';H$)", "'x         '"},
        {"SORT$('ADD';H$;'12345678901')", "E163"},
        {"SORT$('GET';'abc')", "E147"},
        {"SORT$('GET';H$;1)", "E147"},
        {"SORT$('ADD';H$)", "E147"},
        {"SORT$('KILL';H$)", "''"},
        // The handle is dead afterwards.
        {"SORT$('GET';H$)", "E147"},
    });
}

TEST_F(FnSortTest, EmptyListsKeyLengthsOrderAndGrowth) {
    ExpectAll({
        {"E$=SORT$('NEW';4)", ""},
        {"SORT$('GET';E$)", "''"},
        {"E$=SORT$('MOVE';E$;'BOT')", ""},
        {"_IER", "#2"},
        {"SORT$('KILL';E$)", "''"},
        // A key length of 0 keeps the order of insertion.
        {"L$=SORT$('NEW';3;0)", ""},
        {"L$=SORT$('ADD';L$;'c')", ""},
        {"L$=SORT$('ADD';L$;'a')", ""},
        {"L$=SORT$('ADD';L$;'b')", ""},
        {"L$=SORT$('MOVE';L$;'TOP')", ""},
        {"SORT$('GET';L$)", "'c  '"},
        {"L$=SORT$('MOVE';L$;'BOTTOM')", ""},
        {"SORT$('GET';L$)", "'b  '"},
        {"SORT$('KILL';L$)", "''"},
        // Descending, keyed on the first character only.
        {"D$=SORT$('NEW';1;3;2)", ""},
        {"D$=SORT$('ADD';D$;'b1')", ""},
        {"D$=SORT$('ADD';D$;'c1')", ""},
        {"D$=SORT$('ADD';D$;'b2')", ""},
        {"D$=SORT$('MOVE';D$;'TOP')", ""},
        {"SORT$('GET';D$)", "'c1 '"},
        {"D$=SORT$('MOVE';D$;'NXT')", ""},
        {"SORT$('GET';D$)", "'b1 '"},
        {"D$=SORT$('MOVE';D$;'NXT')", ""},
        {"SORT$('GET';D$)", "'b2 '"},
        {"SORT$('KILL';D$)", "''"},
    });
    // 300 elements of two bytes outgrow the first 512 bytes of storage.
    ASSERT_EQ(Eval("G$=SORT$('NEW';2;2;1)").substr(0, 1), "'");
    for (int i = 299; i >= 0; --i) {
        std::string e = {char('A' + i / 26), char('a' + i % 26)};
        ASSERT_EQ(Eval("G$=SORT$('ADD';G$;'" + e + "')").substr(0, 1), "'") << e;
    }
    EXPECT_EQ(Eval("G$=SORT$('MOVE';G$;'TOP')").substr(0, 1), "'");
    EXPECT_EQ(Eval("SORT$('GET';G$)"), "'Aa'");
    EXPECT_EQ(Eval("G$=SORT$('MOVE';G$;'BOT')").substr(0, 1), "'");
    EXPECT_EQ(Eval("SORT$('GET';G$)"), "'Ln'");
    EXPECT_EQ(Eval("SORT$('KILL';G$)"), "''");
}

}  // namespace
}  // namespace rt::test
