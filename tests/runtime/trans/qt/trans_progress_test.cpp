// The interactive transfer on the offscreen desktop against a real table: the progress window
// captioned with the file's name while the export runs and the count message afterwards, an export
// cancelled part-way by Escape, which keeps the lines written so far and shows no count, and a saved
// definition run from the definitions menu.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/access/file_read.h"
#include "runtime/data/file_open.h"
#include "runtime/data/file_table.h"
#include "runtime/env/errors.h"
#include "runtime/expr/builtin_functions.h"
#include "runtime/sql/sql_connect.h"
#include "runtime/sql/sql_schema.h"
#include "runtime/sql/sql_write.h"
#include "runtime/start/runtime_layers.h"
#include "runtime/text/err_codes.h"
#include "runtime/trans/trans_command.h"
#include "runtime/trans/trans_parms.h"
#include "runtime/trans/trans_run.h"
#include "runtime/ui/progress.h"
#include "runtime/vars/var_system.h"
#include "tests/support/pg_fixture.h"
#include "tests/support/qt_ui_fixture.h"
#include "tests/support/temp_folder.h"

namespace rt::test {
namespace {

class TransProgressTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        FileTableReset();
        RuntimeLayersInstall();
        db_.ExecOk("CREATE TABLE contactos (\"RAZON_SOCIAL\" varchar(60) PRIMARY KEY, \"NOMBRE\" varchar(60));");
        db_.ExecOk("INSERT INTO contactos SELECT 'C' || lpad(i::text, 6, '0'), 'N' || i FROM generate_series(1, 3000) i;");
        std::string host = PgSetting("host"), name = db_.name(), user = PgSetting("user"), pw = PgSetting("password");
        ASSERT_EQ(SqlConnect(D(host), D(name), D(user), D(pw), kSchemaColumns), 0) << Str(ErrDetail());
        file_ = FileByName(S("contactos"));
        ASSERT_NE(file_, 0);
        ASSERT_EQ(FileOpen(FileSelect(file_), 2), 0);
    }
    void TearDown() override {
        ProgressClose();
        TransParmsClear();
        FileClose(file_);
        SqlStartHook(kSqlHookEnd);
        FnRecordLayerSet(nullptr);
        SqlFileFindSet(nullptr);
        FileReadLayerSet(nullptr);
        FileTableReset();
        UiTest::TearDown();
    }
    // An export of every contact to out.csv with no limits dialog.
    ErrCode Export() {
        EXPECT_EQ(SlotPush(kParmStackGroup, S("FILE=contactos")), 0);
        TransParmSet(kTpAcBound, StrEmpty());
        ErrCode e = TransRun(D(folder_.RuntimePath() + "\\out.csv"), kTransExportDelimited);
        SlotPop(kParmStackGroup);
        return e;
    }
    static std::size_t Lines(const std::string& text) {
        std::size_t n = 0;
        for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++n;
        return n;
    }

    PgDatabase db_;
    TempFolder folder_;
    std::uint8_t file_ = 0;
};

TEST_F(TransProgressTest, ExportShowsProgressAndThenTheCount) {
    UiRobot robot(20000);
    std::string caption;
    robot.OnWindow([&](UiView& v) { caption = v.caption(); })
        .OnBox([&](UiView& v) {
            EXPECT_EQ(v.text(), "Contados 3000 registros en contactos");
            v.Key(Qt::Key_Return);
        });
    EXPECT_EQ(Export(), kErrDetailMessage);
    EXPECT_EQ(caption, "Proceso en progreso.....out");
    EXPECT_EQ(robot.pending(), 0u);
    std::string out = folder_.Read("out.csv");
    EXPECT_EQ(Lines(out), 3000u);
    EXPECT_EQ(out.substr(0, 16), "\"C000001\",\"N1\"\r\n");
}

TEST_F(TransProgressTest, EscapeStopsTheExportAndKeepsWhatWasWritten) {
    UiRobot robot(20000);
    robot.OnWindow([&](UiView& v) { v.Key(Qt::Key_Escape); });
    EXPECT_EQ(Export(), kErrCancelled);
    EXPECT_TRUE(robot.boxes_seen().empty()) << "no count message after a cancellation";
    // Every record counted before Escape is in the file, and the run stopped short of the end.
    EXPECT_EQ(Lines(folder_.Read("out.csv")), SysCount32());
    EXPECT_LT(SysCount32(), 3000u);
}

TEST_F(TransProgressTest, TheMenuRunsASavedDefinitionUntilNoneIsChosen) {
    std::string out = folder_.RuntimePath() + "\\menu.csv";
    folder_.Write("defs.ppn", " 0 FD$=\"Uno,Todos\"\r\n 1 TRANSPARMSMODE%=20\r\n"
                              " 2 TRANSPARMSMODE%=308\r\n 2 TARGET$=\"" + out + "\"\r\n 2 FILE=contactos\r\n"
                              " 2 COND$='RAZON_SOCIAL{}<\"C000003\"'\r\n");
    UiRobot robot(20000);
    std::vector<std::string> captions;
    robot.OnWindow([&](UiView& v) {
             captions.push_back(v.caption());
             v.ChooseItem(2);
         })
        .OnWindow([&](UiView& v) { captions.push_back(v.caption()); })  // the run's progress
        .OnWindow([&](UiView& v) {
            captions.push_back(v.caption());
            v.Key(Qt::Key_Escape);
        });
    std::string command = "0," + folder_.RuntimePath() + "\\defs.ppn";
    EXPECT_EQ(TransCommand(D(command)), kErrData);
    EXPECT_EQ(robot.pending(), 0u);
    EXPECT_EQ(captions, (std::vector<std::string>{"Selección de Transacción", "Proceso en progreso.....menu",
                                                  "Selección de Transacción"}));
    EXPECT_EQ(folder_.Read("menu.csv"), "\"C000001\",\"N1\"\r\n\"C000002\",\"N2\"\r\n");
}

}  // namespace
}  // namespace rt::test
