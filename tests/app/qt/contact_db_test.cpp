// The contact directory on the real database, driven with real clicks and keys: paging in key
// order, the end of the file, the letter find, new contacts, the refused key change, deleting,
// accented contacts left untouched by paging, and the keys that do what the buttons do.
#include <gtest/gtest.h>

#include <QMessageBox>

#include "tests/app/contact_db_fixture.h"
#include "tests/app/box_answers.h"

namespace rt::test {
namespace {

TEST_F(ContactDbTest, InicioSiguienteAnteriorUltimoPageInKeyOrder) {
    BoxAnswers robot;
    EXPECT_EQ(Shown(), "");  // no record before the first command
    Click(kIdButtonFirst);
    EXPECT_EQ(Shown(), "Alfa Distribuciones");
    EXPECT_EQ(Line(kIdEditNombre)->text().toStdString(), "Ana Martín");
    Click(kIdButtonNext);
    EXPECT_EQ(Shown(), "Bodegas Peñalba");
    Click(kIdButtonNext);
    EXPECT_EQ(Shown(), "José Ñúñez");
    Click(kIdButtonPrevious);
    EXPECT_EQ(Shown(), "Bodegas Peñalba");
    Click(kIdButtonLast);
    EXPECT_EQ(Shown(), "Zapatería Elche");
    EXPECT_TRUE(robot.texts().empty());
}

TEST_F(ContactDbTest, SiguienteOnTheLastContactShowsFinDeFicheroAndBlankEdits) {
    BoxAnswers robot;
    Click(kIdButtonLast);
    Click(kIdButtonNext);
    ASSERT_EQ(robot.texts().size(), 1u);
    EXPECT_EQ(robot.texts()[0], "Fin de fichero");
    for (std::uint16_t id = kIdEditFirst; id < kIdEditObservaciones; ++id) EXPECT_EQ(Line(id)->text(), "") << id;
    EXPECT_EQ(Notes()->toPlainText(), "");
    // Anterior from the end of the file gives the last contact.
    Click(kIdButtonPrevious);
    EXPECT_EQ(Shown(), "Zapatería Elche");
}

TEST_F(ContactDbTest, LettersFindTheFirstContactOfTheirLetter) {
    BoxAnswers robot;
    Click(kIdLetterM + 7);  // T: no contact; the find says so and shows the next one in key order
    ASSERT_EQ(robot.texts().size(), 1u);
    EXPECT_EQ(robot.texts()[0], "Clave no encontrada");
    EXPECT_EQ(Shown(), "Zapatería Elche");
    Click(kIdLetterA);
    EXPECT_EQ(Shown(), "Alfa Distribuciones");
    Click(kIdLetterA + 9);  // J
    EXPECT_EQ(Shown(), "José Ñúñez");
    Click(kIdLetterA + 1);  // B
    EXPECT_EQ(Shown(), "Bodegas Peñalba");
    EXPECT_EQ(robot.texts().size(), 1u);
}

TEST_F(ContactDbTest, NuevoTypingAndGrabarInsertAContact) {
    BoxAnswers robot;
    Click(kIdButtonFirst);
    Click(kIdButtonNew);
    EXPECT_EQ(Shown(), "");
    Retype(kIdEditRazonSocial, "Gamma Consultores");
    TypeTo(Line(kIdEditNombre), QString::fromUtf8("Begoña Ibáñez"));
    TypeTo(Notes(), "uno");
    KeyToWindow(Notes(), Qt::Key_Return);
    TypeToWindow(Notes(), "dos");
    Click(kIdButtonSave);
    EXPECT_TRUE(robot.texts().empty()) << robot.texts()[0];
    EXPECT_EQ(Count(), "5");
    EXPECT_EQ(Stored("SELECT \"NOMBRE\" FROM contactos WHERE \"RAZON_SOCIAL\" = 'Gamma Consultores'"),
              "Begoña Ibáñez");
    EXPECT_EQ(Stored("SELECT \"OBSERVACIONES\" = E'uno\\r\\ndos' FROM contactos WHERE \"RAZON_SOCIAL\" = "
                     "'Gamma Consultores'"),
              "t");
    // The new contact takes its place in key order.
    Click(kIdButtonFirst);
    Click(kIdButtonNext);
    Click(kIdButtonNext);
    EXPECT_EQ(Shown(), "Gamma Consultores");
}

TEST_F(ContactDbTest, ChangingTheKeyOfALoadedContactIsRefused) {
    BoxAnswers robot;
    Click(kIdButtonFirst);
    Retype(kIdEditRazonSocial, "Alfa Cambiada");
    Click(kIdButtonNext);
    ASSERT_EQ(robot.texts().size(), 1u);
    EXPECT_EQ(robot.texts()[0], "Modificación de Clave descartada");
    EXPECT_EQ(Stored("SELECT count(*) FROM contactos WHERE \"RAZON_SOCIAL\" = 'Alfa Distribuciones'"), "1");
    EXPECT_EQ(Stored("SELECT count(*) FROM contactos WHERE \"RAZON_SOCIAL\" = 'Alfa Cambiada'"), "0");
}

TEST_F(ContactDbTest, BorrarAsksFirstAndDeletesOnlyWhenConfirmed) {
    Click(kIdButtonFirst);
    Click(kIdButtonNext);
    {
        BoxAnswers robot(QMessageBox::No);
        Click(kIdButtonDelete);
        ASSERT_EQ(robot.texts().size(), 1u);
        EXPECT_EQ(robot.texts()[0], "¿Anular Registro(s)?");
    }
    EXPECT_EQ(Count(), "4");
    EXPECT_EQ(Shown(), "Bodegas Peñalba");
    {
        BoxAnswers robot(QMessageBox::Yes);
        Click(kIdButtonDelete);
        ASSERT_GE(robot.texts().size(), 1u);
        EXPECT_EQ(robot.texts()[0], "¿Anular Registro(s)?");
    }
    EXPECT_EQ(Count(), "3");
    EXPECT_EQ(Stored("SELECT count(*) FROM contactos WHERE \"RAZON_SOCIAL\" = 'Bodegas Peñalba'"), "0");
    // The record after the deleted one is shown.
    EXPECT_EQ(Shown(), "José Ñúñez");
}

// 'José Ñúñez' shows with its accents, and paging past every contact writes nothing: each row keeps
// its bytes and its row version.
TEST_F(ContactDbTest, AccentedContactsShowAsTheyAreAndPagingPastThemChangesNothing) {
    const std::string rows = "SELECT string_agg(xmin::text || ':' || encode(convert_to(c::text, 'UTF8'), 'hex'), ',' "
                             "ORDER BY \"RAZON_SOCIAL\") FROM contactos c";
    const std::string before = Stored(rows);
    BoxAnswers robot;
    Click(kIdLetterA + 9);
    EXPECT_EQ(Shown(), "José Ñúñez");
    EXPECT_EQ(Line(kIdEditNombre)->text().toStdString(), "José Ñúñez Córdoba");
    EXPECT_EQ(Line(kIdEditDireccion)->text().toStdString(), "Calle Ñandú, 8");
    EXPECT_EQ(Notes()->toPlainText().toStdString(), "Prefiere la tarde.\nNo los lunes.");
    EXPECT_TRUE(dialog_->grab().save(QStringLiteral(QUINTARA_BUILD_DIR "/contact_dialog_db.png")));
    Click(kIdButtonFirst);
    for (int i = 0; i < 4; ++i) Click(kIdButtonNext);
    Click(kIdButtonLast);
    for (int i = 0; i < 4; ++i) Click(kIdButtonPrevious);
    Click(kIdButtonSave);
    EXPECT_EQ(Stored(rows), before);
    // The ends of the file, each said once: after the last contact, before the first.
    EXPECT_EQ(robot.texts(), (std::vector<std::string>{"Fin de fichero", "Clave no encontrada"}));
}

// The command keys do what their buttons do, wherever the focus is, even in an edit that has a use
// of its own for the key.
TEST_F(ContactDbTest, CommandKeysDoWhatTheirButtonsDo) {
    BoxAnswers robot(QMessageBox::No);
    KeyTo(Line(kIdEditNombre), Qt::Key_Home, Qt::ControlModifier);  // Inicio
    EXPECT_EQ(Shown(), "Alfa Distribuciones");
    KeyTo(Line(kIdEditRazonSocial), Qt::Key_PageDown);  // Siguiente
    EXPECT_EQ(Shown(), "Bodegas Peñalba");
    KeyTo(Notes(), Qt::Key_PageDown);
    EXPECT_EQ(Shown(), "José Ñúñez");
    KeyTo(Notes(), Qt::Key_PageUp);  // Anterior
    EXPECT_EQ(Shown(), "Bodegas Peñalba");
    KeyTo(Notes(), Qt::Key_End, Qt::ControlModifier);  // Ultimo
    EXPECT_EQ(Shown(), "Zapatería Elche");
    KeyTo(Notes(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(Shown(), "Alfa Distribuciones");

    // Grabar: the edited name is stored.
    Retype(kIdEditNombre, "Ana Ruiz");
    KeyTo(Line(kIdEditNombre), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(Stored("SELECT \"NOMBRE\" FROM contactos WHERE \"RAZON_SOCIAL\" = 'Alfa Distribuciones'"), "Ana Ruiz");

    // Borrar asks, here declined; the edit keeps its word although Ctrl+Delete would delete it.
    KeyTo(Line(kIdEditDireccion), Qt::Key_Home);
    KeyTo(Line(kIdEditDireccion), Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(robot.texts().size(), 1u);
    EXPECT_EQ(robot.texts()[0], "¿Anular Registro(s)?");
    EXPECT_EQ(Line(kIdEditDireccion)->text().toStdString(), "Calle Mayor, 1");
    EXPECT_EQ(Count(), "4");

    // Nuevo: a blank record. (The window manager gives the focus back after a box; here the test does.)
    dialog_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog_.get()));
    KeyTo(Line(kIdEditDireccion), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(Shown(), "");
    EXPECT_EQ(Line(kIdEditNombre)->text(), "");
}

// Enter in a single-line edit saves nothing and moves nowhere; in OBSERVACIONES it is a new line.
TEST_F(ContactDbTest, EnterNeverRunsACommand) {
    BoxAnswers robot;
    Click(kIdButtonFirst);
    Retype(kIdEditNombre, "Otra");
    KeyTo(Line(kIdEditNombre), Qt::Key_Return);
    EXPECT_EQ(Shown(), "Alfa Distribuciones");
    EXPECT_EQ(Stored("SELECT \"NOMBRE\" FROM contactos WHERE \"RAZON_SOCIAL\" = 'Alfa Distribuciones'"), "Ana Martín");
    EXPECT_TRUE(robot.texts().empty());
}

}  // namespace
}  // namespace rt::test
