// The contact dialog across a lost connection (the server restarted, or ended the session, between two
// commands): the next step simply goes on; a save right after it either lands or is reported with the
// edit still on screen, so that the next command saves it.
#include <gtest/gtest.h>

#include <QMessageBox>

#include <string>

#include "tests/app/box_answers.h"
#include "tests/app/contact_db_fixture.h"

namespace rt::test {
namespace {

class ContactRestartTest : public ContactDbTest {
protected:
    // Ends every other session of the test's database, as a server restart does.
    void DropSessions() {
        db_.ExecOk("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                   "WHERE datname = current_database() AND pid <> pg_backend_pid();");
    }
};

TEST_F(ContactRestartTest, PagingGoesOnAfterTheConnectionWasLost) {
    BoxAnswers robot;
    Click(kIdButtonFirst);
    ASSERT_EQ(Shown(), "Alfa Distribuciones");
    DropSessions();
    Click(kIdButtonNext);
    EXPECT_EQ(Shown(), "Bodegas Peñalba");
    Click(kIdButtonNext);
    EXPECT_EQ(Shown(), "José Ñúñez");
    EXPECT_TRUE(robot.texts().empty()) << robot.texts().front();
}

TEST_F(ContactRestartTest, ASaveRightAfterTheLossLandsOrKeepsTheEditOnScreen) {
    BoxAnswers robot;
    Click(kIdButtonFirst);
    ASSERT_EQ(Shown(), "Alfa Distribuciones");
    Retype(kIdEditNombre, "Ana Ruiz");
    DropSessions();
    Click(kIdButtonSave);
    const std::string stored =
        Stored("SELECT \"NOMBRE\" FROM contactos WHERE \"RAZON_SOCIAL\" = 'Alfa Distribuciones'");
    if (stored != "Ana Ruiz") {
        // Not written: the user was told, and what they typed is still there for the next command.
        EXPECT_FALSE(robot.texts().empty()) << "a lost save must not pass in silence";
        EXPECT_EQ(Line(kIdEditNombre)->text().toStdString(), "Ana Ruiz");
        EXPECT_EQ(Shown(), "Alfa Distribuciones");
        Click(kIdButtonSave);
        EXPECT_EQ(Stored("SELECT \"NOMBRE\" FROM contactos WHERE \"RAZON_SOCIAL\" = 'Alfa Distribuciones'"),
                  "Ana Ruiz");
    }
    // Either way the dialog pages on.
    Click(kIdButtonNext);
    EXPECT_EQ(Shown(), "Bodegas Peñalba");
}

}  // namespace
}  // namespace rt::test
