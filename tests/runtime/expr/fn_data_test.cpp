// Data-file functions: field texts, key texts, file status, nested SQL contexts.
#include <string>

#include "runtime/data/fields.h"
#include "runtime/data/keys.h"
#include "runtime/data/record_buffer.h"
#include "runtime/vars/var_system.h"
#include "tests/runtime/data/data_fixture.h"
#include "tests/runtime/expr/fn_fixture.h"

namespace rt::test {
namespace {

class FnDataTest : public DataTest {
protected:
    void SetUp() override {
        DataTest::SetUp();
        file_ = AddFile("contactos", {{"NOMBRE", 6, 'A'}, {"EDAD", 3, 'N'}});
        ASSERT_EQ(KeyDefaults(file_), 0);
        ASSERT_EQ(FileOpen(file_, 2), 0);
        ASSERT_EQ(SysVarSet(kSysCurFil, file_), 0);
        ASSERT_EQ(FieldSet(file_, 1, S("Ana")), 0);
    }
    void TearDown() override {
        FileClose(file_);
        DataTest::TearDown();
    }
    std::uint8_t file_ = 0;
};

TEST_F(FnDataTest, FieldTextsOfRecordsVariablesAndArrays) {
    ExpectAll({
        {"FN$FLDS(NOMBRE{})", "'Ana   '"},
        {"FN$FLDS(NOMBRE{};2)", "'      '"},
        {"FN$FLDS(1{contactos};1)", "'Ana   '"},
        {"FN$FLDS(NADA{})", "E147"},
        {"A$='v'", "'v'"},
        {"FN$FLDS(A$)", "'v'"},
        {"_PRECIS", "#2"},
        {"FN$FLDS(_PRECIS)", "'2'"},
        {"T#(3)", "#0"},
        {"T#(2)=1.5", "#1.5"},
        {"FN$FLDS(T#(1+1))", "'1.5'"},
        {"FN$FLDS(NOPE$)", "E147"},
        {"FN$FLDS(A$;'x')", "E128"},
    });
}

TEST_F(FnDataTest, KeyTextsAndStatus) {
    FileCtrl(file_).status = 2;
    ExpectAll({
        {"KEY$()", "'Ana   '"},
        {"KEY$(contactos;1;1;0)", "'Ana   '"},
        {"KEY$(0;0;2)", "'      '"},
        {"KEY$(0;1;1;1)", "'Ana   '"},
        {"IER()", "#2"},
        {"IER(contactos)", "#2"},
        {"FN#FLEN('contactos')", "E148"},
    });
    ASSERT_EQ(SysVarSet(kSysCurFil, 0), 0);
    FileTableReset();
    file_ = 0;
    EXPECT_EQ(Eval("KEY$()"), "''");
    EXPECT_EQ(Eval("IER()"), "#0");
}

TEST_F(FnDataTest, NestedSqlContextsRestoreTheirState) {
    ASSERT_EQ(SysVarSet(kSysIer, 4), 0);
    ASSERT_EQ(SysVarSet(kSysCurRow, 9), 0);
    EXPECT_EQ(Eval("SQLCHILD(S=_SQLSTK;R=_CURROW;_IER=7)"), "#0");
    ExpectAll({{"S", "#1"}, {"R", "#0"}, {"_IER", "#4"}, {"_CURROW", "#9"}, {"_SQLSTK", "#0"}});
    // Seven levels are allowed, the eighth fails and leaves the depth as it was.
    auto nested = [](int depth) {
        std::string e = "D=_SQLSTK";
        for (int i = 0; i < depth; ++i) e = "SQLCHILD(" + e + ")";
        return e;
    };
    EXPECT_EQ(Eval(nested(7)), "#0");
    EXPECT_EQ(Eval("D"), "#7");
    EXPECT_EQ(Eval(nested(8)), "E159");
    EXPECT_EQ(Eval("_SQLSTK"), "#0");
    // Only the first 16 arguments are evaluated.
    std::string args;
    for (int i = 1; i <= 17; ++i) args += (i > 1 ? ";" : "") + std::string("N=") + std::to_string(i);
    EXPECT_EQ(Eval("SQLCHILD(" + args + ")"), "#0");
    EXPECT_EQ(Eval("N"), "#16");
}

}  // namespace
}  // namespace rt::test
