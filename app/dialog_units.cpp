// Dialog units measured on the dialog font and converted to pixels.
#include "app/dialog_units.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>

#include <cmath>

namespace rt {

namespace {

// The letters whose average width is the horizontal base unit.
constexpr char kBaseLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr int kBaseLetterCount = 52;

// Faces of the template's system and the faces that share their metrics, best first.
QStringList FacesFor(const QString& face) {
    const QString f = face.toLower();
    if (f == "ms sans serif" || f == "ms shell dlg" || f == "ms shell dlg 2" || f == "microsoft sans serif" ||
        f == "arial" || f == "tahoma")
        return {"Liberation Sans", "Arimo", "Arial", face};
    if (f == "courier new" || f == "courier")
        return {"Liberation Mono", "Cousine", "Courier New", face};
    if (f == "times new roman")
        return {"Liberation Serif", "Tinos", "Times New Roman", face};
    return {face};
}

// Rounded a * b / c, as the template system's own integer arithmetic does it (halves away from zero).
int MulDiv(int a, int b, int c) {
    if (c == 0) return 0;
    return static_cast<int>(std::lround(static_cast<double>(a) * b / c));
}

int LogicalDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
    return dpi > 0 ? static_cast<int>(std::lround(dpi)) : 96;
}

}  // namespace

QFont DialogFont(const QString& face, int points) {
    QFont font;
    const QStringList installed = QFontDatabase::families();
    QStringList faces;
    for (const QString& candidate : FacesFor(face))
        if (installed.contains(candidate, Qt::CaseInsensitive)) faces << candidate;
    // With none installed, the desktop's own sans face stands in.
    if (!faces.isEmpty()) font.setFamilies(faces);
    font.setPixelSize(std::max(1, MulDiv(points, LogicalDpi(), 72)));
    font.setWeight(QFont::Normal);
    font.setStyleStrategy(QFont::PreferDefault);
    return font;
}

DialogBaseUnits MeasureBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(QString::fromLatin1(kBaseLetters));
    // The average rounded to whole pixels: (letters / 26 + 1) / 2.
    return {(letters / (kBaseLetterCount / 2) + 1) / 2, metrics.height()};
}

int DialogUnitsToPixelsX(int units, const DialogBaseUnits& base) { return MulDiv(units, base.width, 4); }

int DialogUnitsToPixelsY(int units, const DialogBaseUnits& base) { return MulDiv(units, base.height, 8); }

QRect DialogRectToPixels(const DialogRect& rect, const DialogBaseUnits& base) {
    // Both corners are converted, so that neighbouring controls meet where the template says.
    const int left = DialogUnitsToPixelsX(rect.x, base);
    const int top = DialogUnitsToPixelsY(rect.y, base);
    const int right = DialogUnitsToPixelsX(rect.x + rect.width, base);
    const int bottom = DialogUnitsToPixelsY(rect.y + rect.height, base);
    return QRect(left, top, right - left, bottom - top);
}

}  // namespace rt
