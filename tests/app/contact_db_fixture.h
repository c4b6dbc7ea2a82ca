// The contact directory as its users run it, on the real database of the test run: a database of
// the test's own with the table contactos of the default schema holding a few contacts, sqlparams.dat
// in the working folder, the runtime started and the contact file opened as the application does,
// and the contact dialog shown on the offscreen desktop.
#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>

#include "app/contact_dialog.h"
#include "app/contact_template.h"
#include "app/quintara_app.h"
#include "platform/process.h"
#include "platform/qt/qt_desktop.h"
#include "runtime/ui/win_create.h"
#include "runtime/ui/win_stack.h"
#include "runtime/data/file_open.h"
#include "runtime/text/mem_areas.h"
#include "tests/support/pg_fixture.h"
#include "tests/support/temp_folder.h"
#include "tests/support/window_input.h"

namespace rt::test {

class ContactDbTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The default schema from the sample file, then the test's own contacts (texts in UTF-8).
        PQsetClientEncoding(db_.conn(), "UTF8");
        std::ifstream in(QUINTARA_SOURCE_DIR "/app/data/contactos.sql", std::ios::binary);
        db_.ExecOk(std::string(std::istreambuf_iterator<char>(in), {}));
        db_.ExecOk("DELETE FROM contactos;"
                   "INSERT INTO contactos VALUES "
                   "('Alfa Distribuciones', 'Ana Martín', 'Calle Mayor, 1', '28013', 'Madrid', '915 00 00 01', '', "
                   "'ana@alfa.es', '', ''),"
                   "('Bodegas Peñalba', 'Íñigo Peñalba', 'Carretera de Haro, km 4', '26200', 'Haro', '941 31 07 55', "
                   "'', '', '', 'Crianza y reserva.'),"
                   "('José Ñúñez', 'José Ñúñez Córdoba', 'Calle Ñandú, 8', '14001', 'Córdoba', '957 47 25 36', "
                   "'611 234 567', 'jose.nunez@correo.es', 'Particular', 'Prefiere la tarde.\r\nNo los lunes.'),"
                   "('Zapatería Elche', 'Vicente Ferrándiz', 'Calle Corredora, 33', '03203', 'Elche', '', '', '', "
                   "'', '')");
        work_.Write("sqlparams.dat", "sqlhost='" + PgSetting("host") + "' database='" + db_.name() + "' user='" +
                                         PgSetting("user") + "' passw='" + PgSetting("password") + "'\n");
        program_ = work_.path() + "/quintara";
        const char* argv[] = {program_.c_str()};
        PlatformSetArgs(1, argv);

        DesktopSet(&desktop_);
        ASSERT_EQ(QuintaraStart(QuintaraStartHook), 0);
        started_ = true;
        ASSERT_EQ(QuintaraOpenContacts(&file_), 0);
        dialog_ = std::make_unique<ContactDialog>();
        dialog_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
        dialog_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog_.get()));
    }

    void TearDown() override {
        // Cancel, as a user ends the dialog: its runtime screen goes before the runtime ends.
        if (dialog_) dialog_->reject();
        dialog_.reset();
        if (started_) {
            FileClose(file_);
            RuntimeEnd(QuintaraStartHook, 0);
            EXPECT_FALSE(MemReady());
        }
        DesktopSet(nullptr);
    }

    // Runs the dialog modally, as the application does, with body inside its loop; the dialog ends
    // with the user's Escape after the body. Should the body hang (a window no user can reach), a guard
    // ends its windows and the dialog. Whether the Escape ended it.
    bool RunModal(const std::function<void()>& body) {
        bool ended = false;
        QTimer::singleShot(0, dialog_.get(), [&] {
            EXPECT_TRUE(QTest::qWaitForWindowActive(dialog_.get()));
            body();
            KeyToWindow(dialog_.get(), Qt::Key_Escape);
            ended = true;
        });
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, dialog_.get(), [this] {
            ADD_FAILURE() << "the dialog was still running after the guard's time";
            while (WinTop() != kNoWindow) WinDestroy(WinTop());
            dialog_->reject();
        });
        guard.start(15000);
        dialog_->hide();
        dialog_->exec();
        return ended;
    }

    // A real mouse click on a button of the dialog.
    void Click(std::uint16_t id) {
        auto* button = qobject_cast<QPushButton*>(dialog_->control(id));
        ASSERT_NE(button, nullptr) << id;
        rt::test::Click(button);
    }
    QLineEdit* Line(std::uint16_t id) { return qobject_cast<QLineEdit*>(dialog_->control(id)); }
    QPlainTextEdit* Notes() { return qobject_cast<QPlainTextEdit*>(dialog_->control(kIdEditObservaciones)); }
    // The RAZON SOCIAL the dialog shows, as UTF-8.
    std::string Shown() { return Line(kIdEditRazonSocial)->text().toStdString(); }
    // Replaces an edit's text the way a user does: select all, type.
    void Retype(std::uint16_t id, const QString& text) {
        QWidget* edit = dialog_->control(id);
        KeyTo(edit, Qt::Key_A, Qt::ControlModifier);
        KeyToWindow(edit, Qt::Key_Delete);
        TypeToWindow(edit, text);
    }
    // A value from the database (UTF-8).
    std::string Stored(const std::string& sql) { return db_.Value(sql); }
    std::string Count() { return Stored("SELECT count(*) FROM contactos"); }

    PgDatabase db_;
    TempFolder work_{true};
    std::string program_;
    QtDesktop desktop_;
    bool started_ = false;
    std::uint8_t file_ = 0;
    std::unique_ptr<ContactDialog> dialog_;
};

}  // namespace rt::test
