// The interactive transfer on the offscreen desktop against a real table: the export command through
// all its dialogs, its progress window cancelled part-way by Escape (the lines written so far stay,
// no count is shown); the progress window and the count message of a whole run; the configuration
// saved as a definition and a saved definition run from the definitions menu.
#include <gtest/gtest.h>

#include <filesystem>
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
#include "runtime/trans/trans_config.h"
#include "runtime/trans/trans_parms.h"
#include "runtime/trans/trans_run.h"
#include "runtime/ui/progress.h"
#include "runtime/ui/ui_codes.h"
#include "runtime/text/slot_table.h"
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
    // Enough contacts that an export is still running when the robot's Escape comes.
    void AddMany() {
        db_.ExecOk("INSERT INTO contactos SELECT 'D' || lpad(i::text, 6, '0'), 'N' || i FROM generate_series(1, 30000) i;");
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
    AddMany();
    UiRobot robot(20000);
    std::string caption;
    robot.OnWindow([&](UiView& v) { caption = v.caption(); })
        .OnBox([&](UiView& v) {
            EXPECT_EQ(v.text(), "Contados 33000 registros en contactos");
            v.Key(Qt::Key_Return);
        });
    EXPECT_EQ(Export(), kErrDetailMessage);
    EXPECT_EQ(caption, "Proceso en progreso.....out");
    EXPECT_EQ(robot.pending(), 0u);
    std::string out = folder_.Read("out.csv");
    EXPECT_EQ(Lines(out), 33000u);
    EXPECT_EQ(out.substr(0, 16), "\"C000001\",\"N1\"\r\n");
}

TEST_F(TransProgressTest, EscapeStopsTheExportAndKeepsWhatWasWritten) {
    AddMany();
    UiRobot robot(20000);
    robot.OnWindow([&](UiView& v) { v.Key(Qt::Key_Escape); });
    EXPECT_EQ(Export(), kErrCancelled);
    EXPECT_TRUE(robot.boxes_seen().empty()) << "no count message after a cancellation";
    // Every record counted before Escape is in the file, and the run stopped short of the end.
    EXPECT_EQ(Lines(folder_.Read("out.csv")), SysCount32());
    EXPECT_LT(SysCount32(), 33000u);
}

TEST_F(TransProgressTest, TheMenuRunsASavedDefinitionUntilNoneIsChosen) {
    AddMany();  // the run walks every contact, so that its progress window stays long enough to be seen
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

// Clicks the field-entry dialog's "Ok".
void Confirm(UiView& v) { v.Click(kIdOk); }

TEST_F(TransProgressTest, ExportCommandRunsThroughItsDialogsAndStopsOnEscape) {
    AddMany();
    std::string out = folder_.File("dialogs.csv");
    UiRobot robot(20000);
    std::vector<std::string> captions;
    auto seen = [&](UiView& v) { captions.push_back(v.caption()); };
    robot.OnWindow([&](UiView& v) { seen(v); v.ChooseItem(1); })  // the table
        .OnWindow([&](UiView& v) {                                  // the limit fields: RAZON_SOCIAL from/to
            seen(v);
            v.Type("L");
            Confirm(v);
        })
        .OnWindow([&](UiView& v) { seen(v); Confirm(v); })          // every field exported
        .OnWindow([&](UiView& v) { seen(v); Confirm(v); })          // relational update type 0
        .OnBox([&](UiView& v) { seen(v); v.ClickButton("No"); })    // not saved
        .OnFileDialog([&](UiView& v) { v.AnswerFile(out); })
        .OnWindow([&](UiView& v) {                                  // the file, appending
            seen(v);
            EXPECT_EQ(v.focused_text(), folder_.RuntimePath() + "\\dialogs.csv");
            Confirm(v);
        })
        .OnWindow([&](UiView& v) { seen(v); Confirm(v); })          // the limits left open
        .OnWindow([&](UiView& v) { seen(v); v.Key(Qt::Key_Escape); });  // the progress window
    EXPECT_EQ(TransCommand(S("52")), kErrCancelled);
    EXPECT_EQ(robot.pending(), 0u);
    EXPECT_EQ(captions, (std::vector<std::string>{"Selección de Tabla", "Selección de Campos de Limites",
                                                  "Selección de Campos", "Actualizacion Relacional",
                                                  "Solicitud de Información", "Selección de Fichero",
                                                  "Límites de Transacción", "Proceso en progreso.....dialogs"}))
        << "the dialogs in order";
    EXPECT_EQ(robot.boxes_seen().size(), 1u) << "no count message after the cancellation";
    EXPECT_EQ(Lines(folder_.Read("dialogs.csv")), SysCount32());
    EXPECT_LT(SysCount32(), 33000u);
}

TEST_F(TransProgressTest, ConfigurationIsSavedUnderANewName) {
    std::filesystem::create_directories(folder_.File("data"));
    SlotSet(kRunGroup, kSlotDocsFolder, D(folder_.RuntimePath() + "\\docs"));
    folder_.Write("data/trans.ppn", " 0 FD$=\"Uno\"\r\n 1 TRANSPARMSMODE%=20\r\n");
    ASSERT_EQ(TransParmSet(kTpFile, S("contactos")), 0);
    UiRobot robot(20000);
    robot.OnBox([&](UiView& v) { v.ClickButton("Yes"); })
        .OnWindow([&](UiView& v) {
            v.Type("Uno");
            Confirm(v);
        })
        .OnBox([&](UiView& v) {
            EXPECT_NE(v.text().find("Fichero Existente"), std::string::npos) << v.text();
            v.Key(Qt::Key_Return);
        })
        .OnWindow([&](UiView& v) {
            v.Type("Todos");
            Confirm(v);
        });
    EXPECT_EQ(TransSaveConfig(52), 0);
    EXPECT_EQ(robot.pending(), 0u);
    EXPECT_EQ(folder_.Read("data/trans.ppn"), " 0 FD$=\"Uno,Todos\"\r\n 1 TRANSPARMSMODE%=20\r\n"
                                               " 2 TRANSPARMSMODE%=52\r\n 2 FILE=\"contactos\"\r\n");
}

}  // namespace
}  // namespace rt::test
