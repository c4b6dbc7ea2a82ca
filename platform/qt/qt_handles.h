// Runtime window handles on the Qt desktop: which widget a handle stands for, and back. The backend
// keeps every runtime window and control it created in one registry; tests reach the widgets of the
// runtime's windows through it to drive them with real events.
#pragma once
#include <QFont>

#include "platform/desktop.h"

class QObject;
class QWidget;

namespace rt {

// The widget of a live handle, null when the handle is unknown or destroyed.
QWidget* QtWidgetOf(WinHandle handle);
// The handle of a registered widget (a window or a control), kNoWindow for any other object.
WinHandle QtHandleOf(const QObject* object);
// The runtime class name a window was created with (empty for a control or an unknown handle).
std::u16string QtClassOf(WinHandle window);

// The Qt font that best matches a runtime font request (the face, the character height in pixels,
// the average character width reached by stretching, the weight).
QFont QtFontFor(const FontRequest& request);

}  // namespace rt
