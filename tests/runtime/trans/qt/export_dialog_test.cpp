// "Exportar" as a user runs it on the offscreen desktop against a real table: the table chosen
// among the open files, and a choice left with Escape ending the command without writing a file or
// showing a count.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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
#include "runtime/trans/export_command.h"
#include "runtime/trans/trans_parms.h"
#include "runtime/ui/progress.h"
#include "tests/support/pg_fixture.h"
#include "tests/support/qt_ui_fixture.h"
#include "tests/support/temp_folder.h"

namespace rt::test {
namespace {

class ExportDialogTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        FileTableReset();
        RuntimeLayersInstall();
        db_.ExecOk("CREATE TABLE contactos (\"RAZON_SOCIAL\" varchar(60) PRIMARY KEY, \"NOMBRE\" varchar(60));");
        db_.ExecOk("INSERT INTO contactos VALUES ('ANA', 'Ana Ruiz'), ('LUIS', 'Luis Gil');");
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

    PgDatabase db_;
    TempFolder folder_{true};
    std::uint8_t file_ = 0;
};

TEST_F(ExportDialogTest, TheTableChoiceListsTheOpenFilesAndEscapeWritesNothing) {
    UiRobot robot(20000);
    std::string caption, items;
    robot.OnWindow([&](UiView& v) {
        caption = v.caption();
        for (const UiControl& c : v.controls())
            if (c.kind == "list") items = c.text;
        v.Key(Qt::Key_Escape);
    });
    EXPECT_EQ(ExportCommand(), kErrCancelled);
    EXPECT_EQ(robot.pending(), 0u);
    EXPECT_EQ(caption, "Selección de Tabla");
    EXPECT_EQ(items, "contactos");
    EXPECT_TRUE(robot.boxes_seen().empty()) << "no count after a cancelled question";
    EXPECT_TRUE(std::filesystem::is_empty(folder_.path())) << "nothing written";
}

}  // namespace
}  // namespace rt::test
