// Widgets made from a dialog template's control table: each control of its kind, with its text, at
// its place converted from dialog units.
#pragma once
#include <QWidget>

#include "app/contact_template.h"
#include "app/dialog_units.h"

namespace rt {

// Creates the widget of one control as a child of parent, placed at its converted rectangle:
// buttons never act on Enter by themselves (only a click, the space bar or a shortcut presses
// them), labels are right-aligned plain text, edits scroll horizontally, the multi-line edit wraps,
// keeps a vertical scroll bar and takes Enter as a new line, and the icon control shows icon at its
// standard size.
QWidget* MakeControl(const ControlSpec& spec, const DialogBaseUnits& base, const QIcon& icon, QWidget* parent);

// The pixel size of a template's client area.
QSize DialogClientSize(const DialogSpec& spec, const DialogBaseUnits& base);

}  // namespace rt
