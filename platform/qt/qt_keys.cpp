// Qt key codes as the runtime's platform-neutral keys.
#include <Qt>

#include "platform/qt/qt_registry.h"

namespace rt {

PlatformKey QtKeyOf(int qt_key) {
    if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F12)
        return static_cast<PlatformKey>(static_cast<int>(PlatformKey::kF1) + (qt_key - Qt::Key_F1));
    switch (qt_key) {
        case Qt::Key_Return:
        case Qt::Key_Enter: return PlatformKey::kEnter;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return PlatformKey::kTab;  // Backtab comes with Shift held
        case Qt::Key_Escape: return PlatformKey::kEscape;
        case Qt::Key_Backspace: return PlatformKey::kBackspace;
        case Qt::Key_Space: return PlatformKey::kSpace;
        case Qt::Key_Left: return PlatformKey::kLeft;
        case Qt::Key_Right: return PlatformKey::kRight;
        case Qt::Key_Up: return PlatformKey::kUp;
        case Qt::Key_Down: return PlatformKey::kDown;
        case Qt::Key_PageUp: return PlatformKey::kPageUp;
        case Qt::Key_PageDown: return PlatformKey::kPageDown;
        case Qt::Key_Home: return PlatformKey::kHome;
        case Qt::Key_End: return PlatformKey::kEnd;
        case Qt::Key_Insert: return PlatformKey::kInsert;
        case Qt::Key_Delete: return PlatformKey::kDelete;
        case Qt::Key_Shift: return PlatformKey::kShift;
        case Qt::Key_Control: return PlatformKey::kControl;
        case Qt::Key_Alt: return PlatformKey::kAlt;
        default: return PlatformKey::kOther;
    }
}

}  // namespace rt
