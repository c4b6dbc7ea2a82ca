// Inside the Qt backend: the registry of runtime windows and controls, the one way events reach the
// runtime's procedures, and the deferred deletion of destroyed widgets.
#pragma once
#include <QObject>
#include <QPointer>
#include <QWidget>

#include "platform/desktop.h"

namespace rt {

struct QtEntry {
    QPointer<QWidget> widget;
    WinHandle window = kNoWindow;  // the runtime window it belongs to (itself for a window)
    std::uint16_t id = 0;
    WinProc proc = nullptr;
    bool is_window = false;
    bool fixed_size = false;  // a dialog frame: the user cannot resize it
    bool centre = false;      // a window placed by the desktop: centred over its owner when shown
    WinHandle owner = kNoWindow;  // a window's runtime owner
    QPointer<QWidget> over;       // the window it was shown modal over, given the focus back when it goes
    ControlKind kind = ControlKind::kLabel;
    std::u16string class_name;
};

// Registers a widget and installs the input filter on it; gives its new handle.
WinHandle QtRegister(QWidget* widget, const QtEntry& entry);
QtEntry* QtEntryOf(WinHandle handle);
// The client area of a runtime window, where its controls live (null for an unknown window).
QWidget* QtContentOf(WinHandle window);
// Calls the procedure of target with event; false when it has none or did not consume the event.
bool QtDispatch(WinHandle target, const WinEvent& event);
// Destroys every registered window without calling procedures, and deletes what waits for deletion.
void QtDestroyAll();

// Conversions shared by the backend's files.
QString QtString(const std::u16string& text);
std::u16string QtUtf16(const QString& text);

// The platform-neutral key of a Qt key code.
PlatformKey QtKeyOf(int qt_key);

}  // namespace rt
