// Font metrics on the Qt desktop. A runtime font names its character height (ascent + descent) and
// average character width in pixels; Qt sizes fonts by em height, so the pixel size is corrected
// once against the measured height, and the width is reached by stretching the face.
#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QString>

#include <algorithm>
#include <cmath>

#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_handles.h"

namespace rt {

namespace {

CharMetrics Measure(const QFont& font) {
    QFontMetrics metrics(font);
    CharMetrics result;
    result.avg_width = static_cast<std::uint16_t>(std::clamp(metrics.averageCharWidth(), 0, 0xFFFF));
    result.height = static_cast<std::uint16_t>(std::clamp(metrics.height(), 0, 0xFFFF));
    return result;
}

int Scaled(int value, int wanted, int measured) {
    if (measured <= 0) return value;
    return static_cast<int>(std::lround(static_cast<double>(value) * wanted / measured));
}

}  // namespace

QFont QtFontFor(const FontRequest& request) {
    QFont font = QApplication::font();
    if (!request.face.empty())
        font.setFamily(QString::fromUtf16(request.face.data(), static_cast<qsizetype>(request.face.size())));
    const int weight = request.weight == 0 ? 400 : std::clamp<int>(request.weight, 1, 1000);
    font.setWeight(static_cast<QFont::Weight>(weight));

    if (request.height != 0) {
        const int wanted = std::min<int>(request.height, 4096);
        font.setPixelSize(wanted);
        const int pixels = std::max(1, Scaled(wanted, wanted, Measure(font).height));
        font.setPixelSize(pixels);
    }
    if (request.width != 0) {
        const CharMetrics natural = Measure(font);
        const int stretch = std::clamp(Scaled(100, request.width, natural.avg_width), 1, 4000);
        font.setStretch(stretch);
    }
    return font;
}

CharMetrics QtDesktop::FontMetrics(const FontRequest& request) {
    if (!QtWidgetsReady()) return {};
    return Measure(QtFontFor(request));
}

CharMetrics QtDesktop::DefaultFontMetrics() {
    if (!QtWidgetsReady()) return {};
    return Measure(QApplication::font());
}

}  // namespace rt
