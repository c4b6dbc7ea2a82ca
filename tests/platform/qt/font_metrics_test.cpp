// Font metrics measured on the real Qt desktop with the installed faces.
#include <gtest/gtest.h>

#include "platform/qt/qt_desktop.h"

namespace rt {
namespace {

TEST(QtFontMetrics, RequestedCellIsMetWithinOnePixel) {
    QtDesktop desktop;
    struct Case { const char16_t* face; std::uint16_t height, width, weight; };
    const Case cases[] = {
        {u"Courier New", 21, 9, 400},  // the contact application's screen font
        {u"Courier New", 16, 8, 700},
        {u"Courier New", 13, 7, 400},
        {u"Liberation Sans", 20, 8, 400},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        const CharMetrics m = desktop.FontMetrics(FontRequest{c.face, c.height, c.width, c.weight});
        EXPECT_NEAR(m.height, c.height, 1) << "height " << c.height;
        EXPECT_NEAR(m.avg_width, c.width, 1) << "width " << c.width;
    }
}

TEST(QtFontMetrics, UnsetWidthKeepsTheFaceProportions) {
    QtDesktop desktop;
    // A monospaced face is about three fifths of an em wide and 1.13 em high.
    const CharMetrics m = desktop.FontMetrics(FontRequest{u"Courier New", 34, 0, 400});
    EXPECT_NEAR(m.height, 34, 1);
    EXPECT_NEAR(m.avg_width, 18, 2);
}

TEST(QtFontMetrics, DefaultAndUnsizedFontsMeasureSomething) {
    QtDesktop desktop;
    const CharMetrics def = desktop.DefaultFontMetrics();
    EXPECT_GT(def.avg_width, 0);
    EXPECT_GT(def.height, 0);
    const CharMetrics unsized = desktop.FontMetrics(FontRequest{u"No Such Face At All", 0, 0, 0});
    EXPECT_GT(unsized.avg_width, 0);
    EXPECT_GT(unsized.height, 0);
}

}  // namespace
}  // namespace rt
