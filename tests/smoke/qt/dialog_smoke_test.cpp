// The offscreen desktop works end to end: a real mouse click on a dialog's button opens a modal
// message box, the test answers it like a user would, and the answer reaches the code that asked.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "tests/support/window_input.h"

namespace {

// Clicks `answer` on the message box once it is the active modal window, retrying briefly while the
// box is still being shown; gives up after about two seconds. Pending tries end with `context`.
void AnswerModalBox(QObject* context, QMessageBox::StandardButton answer, bool* answered, int triesLeft = 200) {
    QTimer::singleShot(10, context, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QAbstractButton* button = box != nullptr ? box->button(answer) : nullptr;
        if (button != nullptr && box->isVisible()) {
            *answered = true;
            rt::test::Click(button);
        } else if (triesLeft > 0) {
            AnswerModalBox(context, answer, answered, triesLeft - 1);
        } else if (box != nullptr) {
            box->reject();
        }
    });
}

TEST(QtDialogSmoke, ButtonOpensModalBoxAndItsAnswerReachesTheCaller) {
    QDialog dialog;
    dialog.setWindowTitle("Quintara de Contactos");
    auto* deleteButton = new QPushButton("Borrar", &dialog);
    deleteButton->resize(120, 30);

    int asked = 0;
    QMessageBox::StandardButton reply = QMessageBox::NoButton;
    QObject::connect(deleteButton, &QPushButton::clicked, [&] {
        ++asked;
        reply = QMessageBox::question(&dialog, "Quintara", "Borrar el contacto?",
                                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                      QMessageBox::Yes);
    });

    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    // "No" is neither the default button (Enter) nor the escape button (Cancel): only a click on it
    // can give this answer.
    QObject answering;
    bool answered = false;
    AnswerModalBox(&answering, QMessageBox::No, &answered);
    rt::test::Click(deleteButton);

    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(answered);
    EXPECT_EQ(reply, QMessageBox::No);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
