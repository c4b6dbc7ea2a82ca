// Dropping input that waits for the process: pending events are processed once while a filter on the
// application swallows every key, mouse, wheel and touch event, so only the input is lost.
#include <QApplication>
#include <QEvent>
#include <QObject>

#include "platform/qt/qt_desktop.h"

namespace rt {

namespace {

class InputSwallower final : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::ShortcutOverride:
            case QEvent::Shortcut:
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseMove:
            case QEvent::Wheel:
            case QEvent::TouchBegin:
            case QEvent::TouchUpdate:
            case QEvent::TouchEnd:
            case QEvent::TouchCancel:
            case QEvent::TabletPress:
            case QEvent::TabletRelease:
            case QEvent::TabletMove:
            case QEvent::ContextMenu:
                return true;
            default:
                return false;
        }
    }
};

}  // namespace

void QtDesktop::DiscardPendingInput() {
    if (!QtWidgetsReady()) return;
    InputSwallower swallower;
    qApp->installEventFilter(&swallower);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    qApp->removeEventFilter(&swallower);
}

}  // namespace rt
