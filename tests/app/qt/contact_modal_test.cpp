// The contact dialog run modally, as the application runs it, with a runtime question opened from it:
// the question takes the user's keys and clicks, and the dialog beneath takes none until it is gone.
// Every event goes through the window system path, where Qt's modality check applies.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>

#include "app/contact_template.h"
#include "platform/desktop.h"
#include "runtime/ui/win_create.h"
#include "runtime/ui/win_stack.h"
#include "tests/app/contact_db_fixture.h"
#include "tests/support/qt_ui_robot.h"
#include "tests/support/temp_folder.h"
#include "tests/support/window_input.h"

namespace rt::test {
namespace {

class ContactModalTest : public ContactDbTest {
protected:
    void RunModal(const std::function<void()>& body) {
        EXPECT_TRUE(ContactDbTest::RunModal(body)) << "the dialog did not end by the user's Escape";
    }
};

TEST_F(ContactModalTest, ARuntimeListOverTheModalDialogAnswersTheUserAndTheDialogBeneathTakesNothing) {
    std::string caption, shown_during;
    WinHandle list = kNoWindow;
    UiRobot robot;
    robot.OnWindow([&](UiView& v) {
        caption = v.caption();
        list = v.window();
        // The keys and clicks of a user who turns back to the dialog while the question is open.
        KeyToWindow(dialog_.get(), Qt::Key_End, Qt::ControlModifier);
        rt::test::Click(dialog_->control(kIdButtonNext));
        shown_during = Shown();
        v.Screenshot("modal_list_over_dialog");
        v.Key(Qt::Key_Escape);
    });
    RunModal([&] {
        KeyToWindow(dialog_.get(), Qt::Key_Home, Qt::ControlModifier);
        ASSERT_EQ(Shown(), "Alfa Distribuciones");
        dialog_->menuAction(kIdExport)->trigger();
        // The question is gone and the dialog answers again.
        EXPECT_EQ(WinTop(), kNoWindow);
        KeyToWindow(dialog_.get(), Qt::Key_End, Qt::ControlModifier);
        EXPECT_EQ(Shown(), "Zapatería Elche");
    });
    EXPECT_EQ(caption, "Selección de Tabla");
    EXPECT_NE(list, kNoWindow);
    EXPECT_EQ(shown_during, "Alfa Distribuciones") << "the dialog beneath the question moved";
    EXPECT_EQ(robot.pending(), 0u);
}

// Placement: a question opened from the dialog comes up over the dialog, not in a corner of the
// screen, and a list is wide enough to show its caption.
TEST_F(ContactModalTest, AQuestionOpensCentredOverTheDialog) {
    QRect over, list;
    int caption_width = 0;
    UiRobot robot;
    robot.OnWindow([&](UiView& v) {
        over = dialog_->frameGeometry();
        list = v.top()->geometry();
        caption_width = v.top()->fontMetrics().horizontalAdvance(v.top()->windowTitle());
        v.Key(Qt::Key_Escape);
    });
    RunModal([&] { dialog_->menuAction(kIdExport)->trigger(); });
    ASSERT_TRUE(list.isValid());
    EXPECT_LE(std::abs(list.center().x() - over.center().x()), 2) << "list " << list.x() << "," << list.y();
    EXPECT_LE(std::abs(list.center().y() - over.center().y()), 20);
    EXPECT_GE(list.width(), caption_width);
}

// Qt's own texts speak the program's language, and a file dialog starts in the user's documents (then
// in the folder it was last used in), never in the working folder with the database's files.
TEST_F(ContactModalTest, QtsOwnTextsAreSpanishAndFileDialogsStartInTheUsersFolders) {
    TempFolder home;
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(home.path() + "/Documents")));
    TempFolder chosen;
    chosen.Write("lista.csv", "x\r\n");
    const char* saved_home = std::getenv("HOME");
    const std::string previous_home = saved_home != nullptr ? saved_home : "";
    setenv("HOME", home.path().c_str(), 1);

    std::vector<std::string> buttons;
    std::string look_in, first_folder, second_folder;
    UiRobot robot;
    robot.OnBox([&](UiView& v) {
        for (QAbstractButton* b : v.top()->findChildren<QAbstractButton*>()) buttons.push_back(b->text().toStdString());
        v.ClickButton("No");
    });
    robot.OnFileDialog([&](UiView& v) {
        auto* label = v.top()->findChild<QLabel*>(QStringLiteral("lookInLabel"));
        look_in = label != nullptr ? label->text().toStdString() : "";
        first_folder = qobject_cast<QFileDialog*>(v.top())->directory().absolutePath().toStdString();
        v.Screenshot("file_dialog_spanish");
        v.AnswerFile(chosen.File("lista.csv"));
    });
    robot.OnFileDialog([&](UiView& v) {
        second_folder = qobject_cast<QFileDialog*>(v.top())->directory().absolutePath().toStdString();
        v.Key(Qt::Key_Escape);
    });
    RunModal([&] {
        KeyToWindow(dialog_.get(), Qt::Key_Home, Qt::ControlModifier);
        KeyToWindow(dialog_.get(), Qt::Key_Delete, Qt::ControlModifier);  // Borrar asks first
        FileDialogRequest request;
        request.title = u"Importar";
        std::u16string path;
        EXPECT_TRUE(DesktopGet()->RunFileDialog(request, &path));
        EXPECT_FALSE(DesktopGet()->RunFileDialog(request, &path));
    });
    setenv("HOME", previous_home.c_str(), 1);
    EXPECT_NE(std::find(buttons.begin(), buttons.end(), "&Sí"), buttons.end()) << ::testing::PrintToString(buttons);
    EXPECT_EQ(look_in, "Ver en:");  // Qt's Spanish for "Look in:"
    EXPECT_EQ(first_folder, home.path() + "/Documents");
    EXPECT_EQ(second_folder, chosen.path());
    EXPECT_EQ(Count(), "4");
}

}  // namespace
}  // namespace rt::test
