// Keys, typed text and mouse clicks as a window system delivers them: every event goes to the widget's
// top-level window through QTest's QWindow overloads, so Qt's modality check blocks it exactly where it
// would block a user (the QWidget overloads hand the event straight to the widget and skip that check).
// A key goes to the focused widget of the window, as a real key does; KeyTo focuses its widget first.
#pragma once
#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace rt::test {

inline QWindow* WindowOf(QWidget* w) {
    QWidget* top = w->window();
    top->winId();
    return top->windowHandle();
}

// A key press and release to the window of w; a non-empty text is the character the key carries.
inline void KeyToWindow(QWidget* w, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                        const QString& text = QString()) {
    QWindow* window = WindowOf(w);
    if (text.isEmpty()) {
        QTest::keyClick(window, key, modifiers);
        return;
    }
    QTest::sendKeyEvent(QTest::Press, window, key, text, modifiers);
    QTest::sendKeyEvent(QTest::Release, window, key, text, modifiers);
}

// The key of an ASCII letter or digit, Key_unknown for any other character (it travels as text).
inline Qt::Key KeyOfChar(QChar c) {
    return c.isLetterOrNumber() && c.unicode() < 0x80 ? static_cast<Qt::Key>(c.toUpper().unicode()) : Qt::Key_unknown;
}

// Types text into the focused widget of w's window, one key per character carrying the character
// (accented letters arrive as a keyboard layout or an input method delivers them).
inline void TypeToWindow(QWidget* w, const QString& text) {
    for (QChar c : text) KeyToWindow(w, KeyOfChar(c), Qt::NoModifier, QString(c));
}

// Focuses w (as a click or Tab would) and sends it the key through its window.
inline void KeyTo(QWidget* w, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    if (QApplication::focusWidget() != w && w->focusPolicy() != Qt::NoFocus) w->setFocus(Qt::OtherFocusReason);
    KeyToWindow(w, key, modifiers);
}

// Focuses w and types text into it through its window.
inline void TypeTo(QWidget* w, const QString& text) {
    if (QApplication::focusWidget() != w && w->focusPolicy() != Qt::NoFocus) w->setFocus(Qt::OtherFocusReason);
    TypeToWindow(w, text);
}

// A key press left waiting for w's window, as input typed ahead waits until the program next reads
// its events; when it is read, the window hands it to its focused widget. (It waits in Qt's event
// queue: a test cannot leave an event in the window system's own.)
inline void PostKeyToWindow(QWidget* w, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                            const QString& text = QString()) {
    QCoreApplication::postEvent(WindowOf(w), new QKeyEvent(QEvent::KeyPress, key, modifiers, text));
}

// A point of a widget in its top-level window's coordinates.
inline QPoint InWindow(QWidget* w, QPoint at) { return w->mapTo(w->window(), at); }

inline void ClickAt(QWidget* w, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mouseClick(WindowOf(w), Qt::LeftButton, modifiers, InWindow(w, at));
}
inline void Click(QWidget* w) { ClickAt(w, w->rect().center()); }
// A right click; the press opens the context menu of the widget under the pointer.
inline void RightClickAt(QWidget* w, QPoint at) {
    QTest::mouseClick(WindowOf(w), Qt::RightButton, Qt::NoModifier, InWindow(w, at));
}
inline void DoubleClickAt(QWidget* w, QPoint at) {
    QTest::mouseDClick(WindowOf(w), Qt::LeftButton, Qt::NoModifier, InWindow(w, at));
}

}  // namespace rt::test
