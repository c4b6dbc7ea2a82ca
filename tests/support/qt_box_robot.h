// Answers every message box that the code under test opens on the offscreen desktop, keeping the
// caption and text of each, so that a test can say how many boxes a user saw and what they said.
#pragma once
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <string>
#include <vector>

#include "tests/support/window_input.h"

namespace rt::test {

class BoxRobot {
public:
    struct Seen {
        std::string caption;
        std::string text;
        QMessageBox::Icon icon;
    };

    // answer: the standard button clicked on each box (the default button when the box lacks it).
    explicit BoxRobot(QMessageBox::StandardButton answer = QMessageBox::Ok) : answer_(answer) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start(5);
    }

    const std::vector<Seen>& seen() const { return seen_; }

private:
    void Poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible() || box == last_) return;
        last_ = box;
        seen_.push_back({box->windowTitle().toStdString(), box->text().toStdString(), box->icon()});
        QAbstractButton* button = box->button(answer_);
        if (button == nullptr) button = box->defaultButton();
        if (button != nullptr) Click(button);
        else box->done(0);
    }

    QTimer timer_;
    QMessageBox::StandardButton answer_;
    QMessageBox* last_ = nullptr;
    std::vector<Seen> seen_;
};

}  // namespace rt::test
