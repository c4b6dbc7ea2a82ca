// The write phase with its relational-update statements, relational reads (FILEREL), open lists
// (FILESEL) and block iteration, over real tables.
#include <string>
#include <vector>

#include "runtime/access/blocks.h"
#include "runtime/access/open_list.h"
#include "runtime/access/write_phase.h"
#include "runtime/data/relations.h"
#include "runtime/expr/evaluator.h"
#include "runtime/text/err_codes.h"
#include "runtime/vars/fixed_number.h"
#include "runtime/vars/var_arena_number.h"
#include "tests/runtime/access/access_fixture.h"

namespace rt::test {
namespace {

class WritePhaseTest : public AccessTest {
protected:
    void SetUp() override {
        AccessTest::SetUp();
        db().ExecOk("CREATE TABLE gente (\"NOMBRE\" varchar(10) PRIMARY KEY, \"POBLACION\" varchar(10), \"N\" integer);");
        db().ExecOk("CREATE TABLE pueblos (\"PUEBLO\" varchar(10) PRIMARY KEY, \"HABITANTES\" integer);");
        db().ExecOk("INSERT INTO gente VALUES ('ANA', 'VIGO', 5), ('BEA', 'LUGO', 2);");
        db().ExecOk("INSERT INTO pueblos VALUES ('VIGO', 300);");
        gente_ = OpenTable("gente");
        pueblos_ = FileByName(S("pueblos"));
        ASSERT_EQ(FileOpen(pueblos_, 2), 0);
    }
    // A number result as its integer, a failure as "E<code>".
    std::string Eval(const char* expression) {
        DynScope scope;
        ErrCode kind = ExpEval(StrFromC(expression));
        if (kind != kExpNumber) return "E" + std::to_string(kind);
        return std::to_string(NumInteger(VarNumFromEntry(DynTop())));
    }
    std::uint8_t gente_ = 0, pueblos_ = 0;
};

TEST_F(WritePhaseTest, RelationalStatementsUndoTheOldRecordAndApplyTheNewOne) {
    SlotSet(kRunGroup, kSlotIdentity, S("XY:prueba"));
    SlotSet(kRunGroup, kSlotDefaultFolder, D(folder_.RuntimePath()));
    folder_.Write("XYRELUPSQL.DAT", "01" "00 TOTAL#=TOTAL#+N{gente}*_SGN\r\n" "02" "00 OTRO#=1\r\n");
    ASSERT_EQ(RelLoad(gente_, S("")), 0);
    EXPECT_EQ(FileCtrl(gente_).relationMark, 0);
    DynScope scope;
    EXPECT_EQ(Str(RelStatements(gente_, S(""))), "TOTAL#=TOTAL#+N{gente}*_SGN");
    ASSERT_EQ(FileFind(gente_, 1, S("ANA"), 0), 0);
    Set(gente_, 3, "7");
    ASSERT_EQ(FileWritePhase(0x0F00, gente_, S(""), S("")), 0) << Detail();
    EXPECT_EQ(Eval("TOTAL#"), "2");  // -5 for the old record, +7 for the new one
    EXPECT_EQ(Eval("_SGN"), "0");
    EXPECT_EQ(db().Value("SELECT \"N\" FROM gente WHERE \"NOMBRE\" = 'ANA';"), "7");
    // Without the relational bit of _UPSTAT nothing runs; with 0x1000 neither.
    RecCopy(gente_, 1);
    Set(gente_, 3, "8");
    ASSERT_EQ(FileWritePhase(0x1F00, gente_, S(""), S("")), 0);
    EXPECT_EQ(Eval("TOTAL#"), "2");
    RelUnload(gente_, 0);
    EXPECT_EQ(FileCtrl(gente_).relationMark, 0xFFFF);
    EXPECT_EQ(SlotCount(kRelStatementsGroup), 0);

    // Insert-only with an existing key: 5, nothing written; a blank key 1: nothing at all.
    RecBlank(gente_, 1);
    Set(gente_, 1, "BEA");
    EXPECT_EQ(FileWritePhase(0x0D00, gente_, S(""), S("")), kStatusDuplicate);
    RecBlank(gente_, 1);
    Set(gente_, 2, "SORIA");
    ClearTrace();
    EXPECT_EQ(FileWritePhase(0x0D00, gente_, S(""), S("")), 0);
    EXPECT_TRUE(Statements().empty());
    // A key range that does not depend on the record fails the check.
    Set(gente_, 1, "CIRO");
    EXPECT_EQ(KeyCheck(gente_, S("'C'")), 1);
    EXPECT_EQ(KeyCheck(gente_, S("FN$MIDS(NOMBRE{gente};1;1)")), 0);
    EXPECT_EQ(Str(RelOption(S("NONE"), 0)), "");
    EXPECT_EQ(Str(RelOption(S("2"), 0)), "2");
}

TEST_F(WritePhaseTest, RelationalReadsFindAndCreateTheRelatedRecord) {
    ASSERT_EQ(RelationAdd(gente_, S("2R1K1='POBLACION{gente}'")), 0);
    ASSERT_EQ(FileFind(gente_, 1, S("ANA"), 0), 0);
    EXPECT_EQ(Eval("FILEREL(gente;pueblos;1)"), "0");
    EXPECT_EQ(Eval("HABITANTES{pueblos}"), "300");
    ASSERT_EQ(FileFind(gente_, 1, S("BEA"), 0), 0);
    EXPECT_EQ(Eval("FILEREL(gente;pueblos;1)"), "2");
    EXPECT_EQ(Eval("FILEREL(gente;pueblos;1;4;HABITANTES{pueblos}=90)"), "0");
    EXPECT_EQ(Eval("_RELRES"), "4");
    EXPECT_EQ(db().Value("SELECT \"HABITANTES\" FROM pueblos WHERE \"PUEBLO\" = 'LUGO';"), "90");
    EXPECT_EQ(Eval("FILEREL(gente;pueblos;2)"), "E163");  // no such relation stops the expression
}

TEST_F(WritePhaseTest, OpenListsOpenTheirFilesCloseTheRestAndRestoreTheOneBefore) {
    EXPECT_EQ(Eval("FILESEL('pueblos')"), "0");
    EXPECT_EQ(FileCtrl(gente_).openMode, 0);
    EXPECT_EQ(FileCtrl(pueblos_).openMode, kOpenListReadFirst);
    EXPECT_EQ(Get(pueblos_, 1), "VIGO");  // the last item's file reads its first record
    EXPECT_EQ(Eval("FILESEL('gente;1,pueblos;2')"), "0");
    EXPECT_EQ(FileCtrl(gente_).openMode, 1);
    EXPECT_EQ(FileCtrl(pueblos_).openMode, 2 | kOpenListReadFirst);
    EXPECT_EQ(Eval("FILESEL('RESTORE')"), "0");
    EXPECT_EQ(FileCtrl(gente_).openMode, 0);
    EXPECT_EQ(FileCtrl(pueblos_).openMode, kOpenListReadFirst);
    EXPECT_EQ(Eval("FILESEL('RESTORE')"), "0");  // none left: every file closed
    EXPECT_EQ(FileCtrl(pueblos_).openMode, 0);
    DynScope scope;
    EXPECT_EQ(ExpEval(S("FILESEL('RESTORE')")), kErrInternal);
    std::string modes;
    EXPECT_EQ(FileOpenVector(S("nada;1"), &modes), kErrFileOpening);
    EXPECT_EQ(Detail(), "nada");
}

TEST_F(WritePhaseTest, BlocksNeverSplitTheRowsOfOneKeyValue) {
    db().ExecOk("CREATE TABLE lista (\"K\" varchar(6), \"I\" integer);");
    db().ExecOk("CREATE INDEX lista_k ON lista (\"K\");");
    // 600 rows; rows 505 to 520 share one key, so the first block of 512 ends inside them.
    db().ExecOk("INSERT INTO lista SELECT CASE WHEN i BETWEEN 505 AND 520 THEN 'K0505' ELSE 'K' || lpad(i::text, 4, '0') "
                "END, i FROM generate_series(1, 600) AS i;");
    SqlStartHook(kSqlHookEnd);
    FileTableReset();
    std::uint8_t lista = OpenTable("lista");
    BlockIter it;
    std::vector<int> seen;
    ErrCode r = BlockFirst(it, lista, 1, S(""), S("\xFF"), S("I{lista}<>7"));
    while (r == 0) {
        seen.push_back(std::stoi(Get(lista, 2)));
        r = BlockNext(it);
    }
    EXPECT_EQ(r, kStatusNoRecord);
    ASSERT_EQ(seen.size(), 599u);  // row 7 fails the condition
    std::vector<int> sorted = seen;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());  // none twice
    EXPECT_EQ(sorted.front(), 1);
    EXPECT_EQ(sorted.back(), 600);
    FileClose(lista);
}

}  // namespace
}  // namespace rt::test
