// The control font of runtime windows against the cell grid their controls are laid out in.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QString>

#include "platform/qt/qt_handles.h"
#include "runtime/env/fonts.h"
#include "runtime/ui/cell_geometry.h"
#include "runtime/ui/ui_font.h"
#include "tests/support/qt_ui_fixture.h"

namespace rt::test {
namespace {

using UiFontTest = UiTest;

// Before the application sets a font of its own (the credentials dialog of the start-up runs then), the
// cells come from the desktop's proportional default font while controls use a fixed face: every
// label text must still fit the cells it is given, or right-aligned labels lose their first letters.
TEST_F(UiFontTest, WithoutAFontOfTheRunLabelTextsFitTheirCells) {
    ASSERT_EQ(FontCurrent(), nullptr);
    const QFontMetrics metrics(QtFontFor(UiControlFont()));
    for (const char* label : {"Servidor:", "Contraseña:", "Recordar (S/N):", "MMMMMMMMMMWWWWWWWWWW"}) {
        const QString text = QString::fromUtf8(label);
        EXPECT_LE(metrics.horizontalAdvance(text), CellsWide(int(text.size()))) << label;
    }
}

}  // namespace
}  // namespace rt::test
