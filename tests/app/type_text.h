// Typing into a widget with key events, accented letters included.
#pragma once
#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QTest>

namespace rt::test {

// Types text into widget as key events. Characters beyond ASCII arrive as a keyboard layout or an
// input method delivers them: a key press carrying the character as its text.
inline void TypeText(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, c.toLatin1());
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

}  // namespace rt::test
