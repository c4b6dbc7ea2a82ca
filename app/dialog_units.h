// Dialog units: the font-relative measure in which dialog templates place their controls. One
// horizontal unit is a quarter of the dialog font's average letter width, one vertical unit an eighth
// of its character height, so a template keeps its proportions on any font and screen.
#pragma once
#include <QFont>
#include <QRect>
#include <QString>

namespace rt {

// The base units of a font, in pixels: the average width of the 52 letters A-Z a-z and the
// character height (ascent + descent).
struct DialogBaseUnits {
    int width = 0;
    int height = 0;
};

// A rectangle of a template, in dialog units.
struct DialogRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The font a template names, on this desktop: the Windows dialog and fixed faces resolve to their
// metric-compatible faces (Liberation Sans, Liberation Mono, Liberation Serif) so that the letters
// take the room the template was drawn for. The size is in points, turned into whole pixels at the
// screen's logical resolution as the template's own system does.
QFont DialogFont(const QString& face, int points);

DialogBaseUnits MeasureBaseUnits(const QFont& font);

// Units to pixels: x = units * width / 4, y = units * height / 8, rounded to the nearest pixel.
int DialogUnitsToPixelsX(int units, const DialogBaseUnits& base);
int DialogUnitsToPixelsY(int units, const DialogBaseUnits& base);
QRect DialogRectToPixels(const DialogRect& rect, const DialogBaseUnits& base);

}  // namespace rt
