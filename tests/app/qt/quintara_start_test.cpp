// The application's run from start to end on the offscreen desktop: what the user sees when the
// contact file is missing or the start fails, and the order of a normal run (font set, file open,
// dialog, file closed before the runtime's last phase).
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <iterator>
#include <string>

#include "app/contact_dialog.h"
#include "app/quintara_app.h"
#include "platform/process.h"
#include "platform/qt/qt_desktop.h"
#include "runtime/data/fields.h"
#include "runtime/data/file_table.h"
#include "runtime/env/fonts.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/mem_areas.h"
#include "runtime/ui/screen.h"
#include "tests/support/pg_fixture.h"
#include "tests/support/qt_box_robot.h"
#include "tests/support/temp_folder.h"
#include "tests/support/window_input.h"

namespace rt::test {
namespace {

// What the phase hook saw of the run.
struct HookLog {
    std::string phases;
    bool fileOpenAtEnd = true;
    bool fontSetAtEnd = false;
    ErrCode phaseTwoAnswer = 0;
    bool registerContacts = false;
    int screensAtEnd = -1;
};
HookLog g_log;

// The application's phase hook as the database's hook behaves: phase 2 registers the tables (here
// the contact file, when asked to) or fails; phase 3 ends.
ErrCode Hook(std::uint16_t code) {
    const std::uint16_t phase = code & 15;
    g_log.phases += std::to_string(phase);
    if (phase == 2) {
        if (g_log.phaseTwoAnswer != 0) return g_log.phaseTwoAnswer;
        if (g_log.registerContacts) {
            FileRegister(0, S("contactos"), StrEmpty());
            for (const char* name : {"RAZON_SOCIAL", "NOMBRE", "DIRECCION", "CP", "POBLACION", "TELEFONO", "MOVIL",
                                     "EMAIL", "OTROS", "OBSERVACIONES"})
                FieldAdd(StrFromC(name), 20, 'A');
        }
    } else if (phase == 3) {
        g_log.screensAtEnd = ScreenWinCount();
        const std::uint8_t f = FileByName(S("contactos"));
        g_log.fileOpenAtEnd = f != 0 && FileCtrl(f).openMode != 0;
        const FontSpec* font = FontCurrent();
        g_log.fontSetAtEnd = font != nullptr && std::string(font->face) == "Courier New" && font->height == 21 &&
                             font->width == 9 && font->weight == 400;
    }
    return 0;
}

class QuintaraStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log = HookLog{};
        program_ = folder_.path() + "/quintara";
        const char* argv[] = {program_.c_str()};
        PlatformSetArgs(1, argv);
        DesktopSet(&desktop_);
        // The dialog, when it shows, is noted and closed with Escape as a user would.
        QObject::connect(&watch_, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<ContactDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr || !dialog->isVisible()) return;
            ++dialogsShown_;
            fieldsShown_ = FieldCount(FileResolve(0));
            // The dialog's runtime screen is bound to the contact file.
            screenFile_ = ScreenCurrent() != nullptr ? ScreenCurrent()->file : 0;
            KeyToWindow(dialog, Qt::Key_Escape);
        });
        watch_.start(10);
    }
    void TearDown() override {
        watch_.stop();
        DesktopSet(nullptr);
        EXPECT_FALSE(MemReady());
    }

    TempFolder folder_;
    std::string program_;
    QtDesktop desktop_;
    QTimer watch_;
    int dialogsShown_ = 0;
    int fieldsShown_ = 0;
    std::uint8_t screenFile_ = 0;
};

// The same run on the real database of the test run, reached through sqlparams.dat in the working
// folder as the run command leaves it there.
class QuintaraDatabaseStartTest : public QuintaraStartTest {
protected:
    void SetUp() override {
        QuintaraStartTest::SetUp();
        work_.Write("sqlparams.dat", "sqlhost='" + PgSetting("host") + "' database='" + db_.name() + "' user='" +
                                         PgSetting("user") + "' passw='" + PgSetting("password") + "'\n");
    }
    void LoadSampleContacts() {
        std::ifstream in(QUINTARA_SOURCE_DIR "/app/data/contactos.sql", std::ios::binary);
        // The file is UTF-8; one query string is converted as a whole before its SET is read.
        PQsetClientEncoding(db_.conn(), "UTF8");
        db_.ExecOk(std::string(std::istreambuf_iterator<char>(in), {}));
    }
    PgDatabase db_;
    TempFolder work_{true};
};

TEST_F(QuintaraStartTest, WithoutTheContactFileOneErrorBoxNamesItAndNoDialogOpens) {
    BoxRobot robot;
    ContactDialog dialog;
    EXPECT_EQ(QuintaraInitInstance(dialog, Hook), 0);
    ASSERT_EQ(robot.seen().size(), 1u);
    EXPECT_EQ(robot.seen()[0].text, "Error de Datos: contactos");
    EXPECT_EQ(robot.seen()[0].icon, QMessageBox::Critical);
    EXPECT_EQ(dialogsShown_, 0);
    EXPECT_EQ(g_log.phases, "123");
}

TEST_F(QuintaraStartTest, AFailingPhaseTwoShowsOnlyTheStartError) {
    g_log.phaseTwoAnswer = kErrSqlError;
    BoxRobot robot;
    ContactDialog dialog;
    EXPECT_EQ(QuintaraInitInstance(dialog, Hook), 0);
    ASSERT_EQ(robot.seen().size(), 1u);
    EXPECT_EQ(robot.seen()[0].text, "Error SQLERROR");
    EXPECT_EQ(dialogsShown_, 0);
    EXPECT_EQ(g_log.phases, "123");
}

TEST_F(QuintaraStartTest, ARunShowsTheDialogAndClosesTheFileBeforeTheRuntimeEnds) {
    g_log.registerContacts = true;
    BoxRobot robot;
    ContactDialog dialog;
    EXPECT_EQ(QuintaraInitInstance(dialog, Hook), 0);
    EXPECT_EQ(robot.seen().size(), 0u);
    EXPECT_EQ(dialogsShown_, 1);
    EXPECT_EQ(g_log.phases, "123");
    EXPECT_FALSE(g_log.fileOpenAtEnd);
    EXPECT_TRUE(g_log.fontSetAtEnd);
    EXPECT_EQ(screenFile_, 1);
    EXPECT_EQ(g_log.screensAtEnd, 0) << "Cancel removes the dialog's screen";
}

TEST_F(QuintaraDatabaseStartTest, ADatabaseWithoutContactosGivesOneErrorBoxAndNoDialog) {
    BoxRobot robot;
    ContactDialog dialog;
    EXPECT_EQ(QuintaraInitInstance(dialog, QuintaraStartHook), 0);
    ASSERT_EQ(robot.seen().size(), 1u);
    EXPECT_EQ(robot.seen()[0].text, "Error de Datos: contactos");
    EXPECT_EQ(dialogsShown_, 0);
}

TEST_F(QuintaraDatabaseStartTest, TheSampleDatabaseOpensTheDialogOnItsTenFields) {
    LoadSampleContacts();
    BoxRobot robot;
    ContactDialog dialog;
    EXPECT_EQ(QuintaraInitInstance(dialog, QuintaraStartHook), 0);
    EXPECT_EQ(robot.seen().size(), 0u);
    EXPECT_EQ(dialogsShown_, 1);
    EXPECT_EQ(fieldsShown_, 10);
}

}  // namespace
}  // namespace rt::test
