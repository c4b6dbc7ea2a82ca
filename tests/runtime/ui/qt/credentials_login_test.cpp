// The SQL login with its credentials dialog on the real desktop and the real server: a refused answer
// brings the dialog back with what was typed, "Recordar" keeps the answer readable by its owner only,
// and the next login proposes it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "runtime/env/catalog.h"
#include "runtime/env/errors.h"
#include "runtime/sql/sql_connect.h"
#include "runtime/sql/sql_control.h"
#include "runtime/start/runtime_layers.h"
#include "runtime/text/err_codes.h"
#include "runtime/ui/screen.h"
#include "runtime/ui/ui_codes.h"
#include "tests/support/pg_fixture.h"
#include "tests/support/qt_ui_fixture.h"
#include "tests/support/temp_folder.h"

namespace rt::test {
namespace {

class CredentialsLoginTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        RuntimeLayersInstall();
    }
    void TearDown() override {
        SqlStartHook(kSqlHookEnd);
        SqlCredentialsAskSet(nullptr);
        ScreenReset();
        UiTest::TearDown();
    }
};

// Types the four values of the dialog over what it proposes, answers "Recordar" with yes (a check box
// is ticked, the logical field of a run without check boxes takes S) and confirms with Enter.
void Answer(UiView& v, const std::string& host, const std::string& db, const std::string& user,
            const std::string& password) {
    for (const std::string& value : {host, db, user, password}) {
        v.Type(QString::fromStdString(value));  // the field's text is selected when it is entered
        v.Key(Qt::Key_Tab);
    }
    EXPECT_EQ(v.focused_id(), kIdFieldBase + 4);
    const UiControl remember = v.control(kIdFieldBase + 4);
    if (remember.kind == "check" && remember.text != "1") v.Key(Qt::Key_Space);
    if (remember.kind == "edit") v.Type("S");
    v.Key(Qt::Key_Return);
}

TEST_F(CredentialsLoginTest, ARefusedConnectionAsksAgainAndRememberedValuesComeBack) {
    TempFolder cwd(true);
    PgDatabase db;
    // A user of the test's own: the dialog takes passwords of up to 30 characters.
    const std::string host = PgSetting("host"), user = PgUniqueName("qnt_login"), password = "Clave de prueba 1";
    db.ExecOk("CREATE ROLE " + user + " LOGIN PASSWORD '" + password + "'");
    struct DropRole {
        PgDatabase& db;
        std::string user;
        ~DropRole() {
            SqlStartHook(kSqlHookEnd);
            PgConnPtr admin = PgConnect();
            PgResultPtr r(PQexec(admin.get(), ("DROP ROLE IF EXISTS " + user).c_str()));
        }
    } drop{db, user};
    UiRobot robot(15000);
    robot.OnWindow([&](UiView& v) {
        EXPECT_EQ(v.caption(), "Acceso a Datos");
        EXPECT_EQ(v.control(kIdFieldBase).text, "localhost");
        EXPECT_EQ(v.control(kIdFieldBase + 1).text, "");
        Answer(v, host, db.name(), user, "no-es-la-clave");
    });
    robot.OnWindow([&](UiView& v) {
        // Refused: the dialog is back with the answer just given.
        EXPECT_EQ(v.control(kIdFieldBase).text, host);
        EXPECT_EQ(v.control(kIdFieldBase + 1).text, db.name());
        EXPECT_EQ(v.control(kIdFieldBase + 2).text, user);
        EXPECT_EQ(v.control(kIdFieldBase + 3).text, "no-es-la-clave");
        EXPECT_TRUE(v.control(kIdFieldBase + 3).masked);
        Answer(v, host, db.name(), user, password);
    });
    robot.OnWindow([&](UiView& v) {
        // The next login proposes what was remembered.
        EXPECT_EQ(v.control(kIdFieldBase + 1).text, db.name());
        EXPECT_EQ(v.control(kIdFieldBase + 3).text, password);
        v.Key(Qt::Key_Escape);
    });

    EXPECT_EQ(SqlLogin(S("sqlparams.dat"), 2, MsgText("0090")), 0) << Str(ErrDetail());
    EXPECT_TRUE(SqlSlotConnected(0));
    const std::string remembered = "'" + host + "','" + db.name() + "','" + user + "','" + password + "','SI'";
    EXPECT_EQ(cwd.Read("sqlusrprm.dat"), remembered);
    struct stat st {};
    ASSERT_EQ(stat(cwd.File("sqlusrprm.dat").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    SqlStartHook(kSqlHookEnd);
    EXPECT_EQ(SqlLogin(S(""), 2, MsgText("0090")), kErrCancelled);
    EXPECT_FALSE(SqlSlotConnected(0));
    EXPECT_EQ(robot.pending(), 0u);
}

}  // namespace
}  // namespace rt::test
