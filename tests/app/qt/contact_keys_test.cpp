// The contact dialog worked from the keyboard on the offscreen desktop, with real key events: the
// tab order, what Enter and Escape do, the menu mnemonics, and the two About boxes. (What the
// command keys do to the contacts is tested on the database, in contact_db_test.)
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>

#include "app/about_dialog.h"
#include "app/contact_template.h"
#include "tests/app/contact_fixture.h"
#include "tests/support/qt_box_robot.h"

namespace rt::test {
namespace {

// Calls act on the widget find gives, as soon as it gives one (tried every 10 ms for two seconds),
// from within whatever modal loop is running by then.
void WhenShown(QObject* context, std::function<QWidget*()> find, std::function<void(QWidget*)> act, int tries = 200) {
    QTimer::singleShot(10, context, [=] {
        if (QWidget* w = find(); w != nullptr && w->isVisible()) act(w);
        else if (tries > 0) WhenShown(context, find, act, tries - 1);
    });
}

QWidget* ActivePopup() { return QApplication::activePopupWidget(); }

TEST_F(ContactTest, TabWalksTheEditsThenTheLettersThenTheCommandButtons) {
    Show();
    EXPECT_EQ(QApplication::focusWidget(), dialog_->control(kIdEditRazonSocial));
    const auto order = ContactTabOrder();
    for (std::size_t i = 1; i <= order.size(); ++i) {
        KeyToWindow(dialog_.get(), Qt::Key_Tab);
        const std::uint16_t expected = order[i % order.size()];
        ASSERT_EQ(QApplication::focusWidget(), dialog_->control(expected)) << "step " << i << ", expected " << expected;
    }
    // Shift+Tab goes back: from RAZON SOCIAL to Borrar.
    KeyToWindow(dialog_.get(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), dialog_->control(kIdButtonDelete));
}

TEST_F(ContactTest, EnterDoesNothingButInObservacionesWhereItStartsANewLine) {
    Show();
    auto* name = Control<QLineEdit>(kIdEditRazonSocial);
    TypeTo(name, "Bodegas");
    KeyToWindow(name, Qt::Key_Return);
    KeyToWindow(name, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(name->text(), QStringLiteral("Bodegas"));

    // Enter on a focused command button does not press it: the record stays untouched and the
    // engine says nothing.
    BoxRobot robot;
    const std::string before = Record();
    KeyTo(dialog_->control(kIdButtonNext), Qt::Key_Return);
    EXPECT_EQ(Record(), before);
    EXPECT_TRUE(robot.seen().empty());
    EXPECT_TRUE(dialog_->isVisible());

    auto* notes = Control<QPlainTextEdit>(kIdEditObservaciones);
    TypeTo(notes, "uno");
    KeyToWindow(notes, Qt::Key_Return);
    TypeToWindow(notes, "dos");
    EXPECT_EQ(notes->toPlainText(), QStringLiteral("uno\ndos"));
    EXPECT_TRUE(dialog_->isVisible());
    // The record keeps the line end as CR LF.
    dialog_->dialogToRecord();
    EXPECT_EQ(Field(10), Padded("uno\r\ndos", 250));
}

TEST_F(ContactTest, EscapeAndTheCloseBoxCancel) {
    Show();
    KeyTo(Control<QLineEdit>(kIdEditNombre), Qt::Key_Escape);
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);

    Show();
    KeyTo(Control<QPlainTextEdit>(kIdEditObservaciones), Qt::Key_Escape);
    EXPECT_FALSE(dialog_->isVisible());

    Show();
    dialog_->setResult(QDialog::Accepted);
    EXPECT_TRUE(dialog_->close());
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
}

TEST_F(ContactTest, MenuMnemonicsOpenTheirMenus) {
    Show();
    struct Case { Qt::Key key; const char* title; };
    for (Case c : {Case{Qt::Key_A, "&Archivo"}, Case{Qt::Key_C, "&Commandos"}, Case{Qt::Key_Y, "A&yuda"}}) {
        KeyTo(Control<QLineEdit>(kIdEditNombre), c.key, Qt::AltModifier);
        auto* menu = qobject_cast<QMenu*>(ActivePopup());
        ASSERT_NE(menu, nullptr) << c.title;
        EXPECT_EQ(menu->title(), QString::fromUtf8(c.title));
        KeyToWindow(menu, Qt::Key_Escape);
        KeyToWindow(dialog_.get(), Qt::Key_Escape);  // the menu bar keeps the keyboard until a second Escape
        EXPECT_EQ(ActivePopup(), nullptr);
        dialog_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog_.get()));
        Control<QLineEdit>(kIdEditNombre)->setFocus();
    }
    // Archivo, Salir: the dialog ends as with Cancel.
    KeyTo(Control<QLineEdit>(kIdEditNombre), Qt::Key_A, Qt::AltModifier);
    ASSERT_NE(ActivePopup(), nullptr);
    KeyToWindow(ActivePopup(), Qt::Key_S);
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
}

TEST_F(ContactTest, AyudaAcercaDeShowsTheRuntimesAboutBox) {
    Show();
    BoxRobot robot;
    KeyTo(Control<QLineEdit>(kIdEditNombre), Qt::Key_Y, Qt::AltModifier);
    ASSERT_NE(ActivePopup(), nullptr);
    KeyToWindow(ActivePopup(), Qt::Key_A);
    ASSERT_EQ(robot.seen().size(), 1u);
    EXPECT_EQ(robot.seen()[0].caption, "Acerca de");
    EXPECT_EQ(robot.seen()[0].text, "Quintara\nVersion 2.20 (0 ES  1900)");
    EXPECT_TRUE(dialog_->isVisible());
}

// A right click on the dialog's background offers "&Acerca de Quintara...", which opens the About
// box of the application; Enter closes it.
TEST_F(ContactTest, TheContextMenuOpensTheApplicationsAboutBox) {
    Show();
    QString item;
    QString caption;
    WhenShown(dialog_.get(), ActivePopup, [&](QWidget* popup) {
        auto* menu = qobject_cast<QMenu*>(popup);
        if (menu != nullptr && !menu->actions().isEmpty()) item = menu->actions().first()->text();
        WhenShown(dialog_.get(), [] { return qobject_cast<AboutDialog*>(QApplication::activeModalWidget()); },
                  [&](QWidget* about) {
                      caption = about->windowTitle();
                      KeyToWindow(about, Qt::Key_Return);
                  });
        KeyToWindow(popup, Qt::Key_A);
    });
    QWidget* background = dialog_->clientArea();
    RightClickAt(background, QPoint(5, background->height() - 5));
    EXPECT_EQ(item, QStringLiteral("&Acerca de Quintara..."));
    EXPECT_EQ(caption, QStringLiteral("Acerca de Quintara"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(dialog_->isVisible());
}

}  // namespace
}  // namespace rt::test
