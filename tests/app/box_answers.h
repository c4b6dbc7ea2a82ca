// Answers every message box the contact directory opens, so that no test can hang on one, and keeps
// what each said. A box is told from the one before it by its life, not its address: the desktop
// builds each box in the same place.
#pragma once
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <string>
#include <vector>

#include "tests/support/window_input.h"

namespace rt::test {

class BoxAnswers {
public:
    // answer: the button clicked on each box (its default button when it has none such).
    explicit BoxAnswers(QMessageBox::StandardButton answer = QMessageBox::Ok) : answer_(answer) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start(5);
    }
    // The texts of the boxes answered so far, in order.
    const std::vector<std::string>& texts() const { return texts_; }
    void set_answer(QMessageBox::StandardButton answer) { answer_ = answer; }

private:
    void Poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible() || box == last_.data()) return;
        last_ = box;
        texts_.push_back(box->text().toStdString());
        QAbstractButton* button = box->button(answer_);
        if (button == nullptr) button = box->defaultButton();
        if (button != nullptr) Click(button);
        else box->done(0);
    }

    QTimer timer_;
    QMessageBox::StandardButton answer_;
    QPointer<QMessageBox> last_;
    std::vector<std::string> texts_;
};

}  // namespace rt::test
