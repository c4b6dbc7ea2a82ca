// The external import as a user runs it on the offscreen desktop against a real table: the source
// chosen in the open dialog, the columns matched in the "Origen" and "Destino" windows (UnAssign
// included), the confirmation, the remembered map offered on the next import of the same header,
// a changed map replacing the stored one, and every question's cancellation importing nothing.
#include <gtest/gtest.h>

#include <cstdlib>
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
#include "runtime/trans/import_commands.h"
#include "runtime/trans/trans_parms.h"
#include "runtime/ui/progress.h"
#include "tests/support/pg_fixture.h"
#include "tests/support/qt_ui_fixture.h"
#include "tests/support/temp_folder.h"

namespace rt::test {
namespace {

// The items of the "Destino" window: the fields in order, then UnAssign.
enum Destino : int { kToRazonSocial = 1, kToNombre = 2, kToDireccion = 3, kToTelefono = 4, kToUnassign = 5 };

class ImportDialogTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        FileTableReset();
        RuntimeLayersInstall();
        setenv("TEMP", temp_.path().c_str(), 1);  // the work file goes there
        db_.ExecOk("CREATE TABLE contactos (\"RAZON_SOCIAL\" varchar(60) PRIMARY KEY, \"NOMBRE\" varchar(60), "
                   "\"DIRECCION\" varchar(60), \"TELEFONO\" varchar(20));");
        db_.ExecOk("INSERT INTO contactos VALUES ('ANA', 'Ana Ruiz', 'Calle 1', '111');");
        std::string host = PgSetting("host"), name = db_.name(), user = PgSetting("user"), pw = PgSetting("password");
        ASSERT_EQ(SqlConnect(D(host), D(name), D(user), D(pw), kSchemaColumns), 0) << Str(ErrDetail());
        file_ = FileByName(S("contactos"));
        ASSERT_NE(file_, 0);
        ASSERT_EQ(FileOpen(FileSelect(file_), 2), 0);
        folder_.Write("lista.csv", "NOMBRE;TELEFONO\r\nANA;222\r\nO'Brien;\"\"\"Bar\"\" 5\"\r\n");
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
        unsetenv("TEMP");
        UiTest::TearDown();
    }

public:  // the helpers are used by the cases' steps too
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        PgResultPtr r = db_.ExecOk("SELECT \"RAZON_SOCIAL\" || '|' || coalesce(\"NOMBRE\", '') || '|' || "
                                   "coalesce(\"DIRECCION\", '') || '|' || coalesce(\"TELEFONO\", '') FROM contactos "
                                   "ORDER BY \"RAZON_SOCIAL\";");
        for (int i = 0; i < PQntuples(r.get()); ++i) rows.push_back(PQgetvalue(r.get(), i, 0));
        return rows;
    }
    void ChooseSource(UiRobot& robot) {
        robot.OnFileDialog([this](UiView& v) { v.AnswerFile(folder_.path() + "/lista.csv"); });
    }
    // One assignment in the two windows: column (1-based) of "Origen", item of "Destino".
    void Assign(UiRobot& robot, int column, int destino) {
        robot.OnWindow([this, column](UiView& v) {
                 origen_.push_back(ListText(v));
                 EXPECT_EQ(v.caption(), "Origen");
                 v.ChooseItem(column);
             })
            .OnWindow([destino](UiView& v) {
                EXPECT_EQ(v.caption(), "Destino");
                v.ChooseItem(destino);
            });
    }
    // Escape in "Origen" ends the matching.
    void EndMatching(UiRobot& robot) {
        robot.OnWindow([this](UiView& v) {
            origen_.push_back(ListText(v));
            v.Key(Qt::Key_Escape);
        });
    }
    static void Answer(UiRobot& robot, const char* button) {
        robot.OnBox([button](UiView& v) { v.ClickButton(button); });
    }
    static std::string ListText(UiView& v) {
        for (const UiControl& c : v.controls())
            if (c.kind == "list") return c.text;
        return "";
    }

    PgDatabase db_;
    TempFolder folder_{true};  // config.txt lives in the current folder
    TempFolder temp_;
    std::uint8_t file_ = 0;
    std::vector<std::string> origen_;  // what "Origen" listed each time it opened
};

const std::vector<std::string> kImported = {"ANA|Ana Ruiz|Calle 1|222", "O'Brien|||\"Bar\" 5"};

TEST_F(ImportDialogTest, TheColumnsMatchedInTheDialogImportAndAreRemembered) {
    UiRobot robot(20000);
    ChooseSource(robot);
    Assign(robot, 1, kToRazonSocial);
    Assign(robot, 2, kToDireccion);
    Assign(robot, 2, kToUnassign);  // taken back, then given its field
    Assign(robot, 2, kToTelefono);
    EndMatching(robot);
    Answer(robot, "Yes");  // the confirmation
    Answer(robot, "OK");   // the count
    EXPECT_EQ(ImportExternal(), kErrDetailMessage) << Str(ErrDetail());
    EXPECT_EQ(robot.pending(), 0u);
    ASSERT_EQ(robot.boxes_seen().size(), 2u);
    EXPECT_NE(robot.boxes_seen()[1].find("Contados 2 registros en contactos"), std::string::npos)
        << robot.boxes_seen()[1];
    EXPECT_EQ(Rows(), kImported) << "ANA updated in its mapped field only, O'Brien added";
    EXPECT_EQ(folder_.Read("config.txt"), "NOMBRE,TELEFONO\r\nNOMBRE=RAZON_SOCIAL,TELEFONO=TELEFONO\r\n");
    ASSERT_EQ(origen_.size(), 5u);
    EXPECT_EQ(origen_[0], "NOMBRE,TELEFONO");
    EXPECT_EQ(origen_[2], "NOMBRE -> RAZON_SOCIAL,TELEFONO -> DIRECCION");
    EXPECT_EQ(origen_[3], "NOMBRE -> RAZON_SOCIAL,TELEFONO");
}

TEST_F(ImportDialogTest, TheRememberedMapAnsweredNoImportsWithIt) {
    folder_.Write("config.txt", "NOMBRE,TELEFONO\r\nNOMBRE=RAZON_SOCIAL,TELEFONO=TELEFONO\r\n");
    UiRobot robot(20000);
    ChooseSource(robot);
    Answer(robot, "No");   // show the stored map?
    Answer(robot, "Yes");  // the confirmation
    Answer(robot, "OK");
    EXPECT_EQ(ImportExternal(), kErrDetailMessage) << Str(ErrDetail());
    EXPECT_EQ(robot.pending(), 0u);
    EXPECT_EQ(Rows(), kImported);
    EXPECT_TRUE(origen_.empty());
}

TEST_F(ImportDialogTest, AChangedMapReplacesTheStoredOne) {
    folder_.Write("config.txt", "A\r\nA=NOMBRE\r\nNOMBRE,TELEFONO\r\nNOMBRE=RAZON_SOCIAL,TELEFONO=TELEFONO\r\n");
    UiRobot robot(20000);
    ChooseSource(robot);
    Answer(robot, "Yes");  // show the stored map
    Assign(robot, 2, kToNombre);
    EndMatching(robot);
    Answer(robot, "Yes");
    Answer(robot, "OK");
    EXPECT_EQ(ImportExternal(), kErrDetailMessage) << Str(ErrDetail());
    EXPECT_EQ(robot.pending(), 0u);
    ASSERT_FALSE(origen_.empty());
    EXPECT_EQ(origen_[0], "NOMBRE -> RAZON_SOCIAL,TELEFONO -> TELEFONO") << "the stored map shown to start with";
    EXPECT_EQ(Rows(), (std::vector<std::string>{"ANA|222|Calle 1|111", "O'Brien|\"Bar\" 5||"}));
    EXPECT_EQ(folder_.Read("config.txt"), "A\r\nA=NOMBRE\r\nNOMBRE,TELEFONO\r\nNOMBRE=RAZON_SOCIAL,TELEFONO=NOMBRE\r\n");
}

// Each question left unanswered imports nothing, shows no count and leaves config.txt alone.
TEST_F(ImportDialogTest, CancellingAnyQuestionImportsNothing) {
    const std::vector<std::string> before = Rows();
    struct Case {
        const char* name;
        std::function<void(ImportDialogTest*, UiRobot&)> steps;
    };
    const std::vector<Case> cases = {
        {"the open dialog", [](ImportDialogTest*, UiRobot& r) {
             r.OnFileDialog([](UiView& v) { v.Key(Qt::Key_Escape); });
         }},
        {"no column matched", [](ImportDialogTest* t, UiRobot& r) {
             t->ChooseSource(r);
             t->EndMatching(r);
         }},
        {"Destino left with Escape", [](ImportDialogTest* t, UiRobot& r) {
             t->ChooseSource(r);
             r.OnWindow([](UiView& v) { v.ChooseItem(1); }).OnWindow([](UiView& v) { v.Key(Qt::Key_Escape); });
             t->EndMatching(r);
         }},
        {"the confirmation", [](ImportDialogTest* t, UiRobot& r) {
             t->ChooseSource(r);
             t->Assign(r, 1, kToRazonSocial);
             t->EndMatching(r);
             Answer(r, "No");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UiRobot robot(20000);
        c.steps(this, robot);
        EXPECT_EQ(ImportExternal(), 0) << Str(ErrDetail());
        EXPECT_EQ(robot.pending(), 0u);
        for (const std::string& box : robot.boxes_seen()) EXPECT_EQ(box.find("Contados"), std::string::npos) << box;
        EXPECT_EQ(Rows(), before);
        EXPECT_FALSE(folder_.Exists("config.txt"));
    }
}

}  // namespace
}  // namespace rt::test
