// The contact dialog on the offscreen desktop: its size and every control's place converted from
// dialog units, the kinds of its controls, and a screenshot of it showing a contact.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/about_dialog.h"
#include "app/contact_template.h"
#include "app/dialog_units.h"
#include "app/template_widgets.h"
#include "tests/app/contact_fixture.h"

namespace rt::test {
namespace {

// The conversion rounds as the template system does, and a rectangle keeps the converted corners
// (so two controls that touch in units touch in pixels).
TEST(DialogUnits, ConvertCornersWithRounding) {
    const DialogBaseUnits base{6, 13};
    struct Case { DialogRect units; QRect pixels; };
    const Case cases[] = {
        {{0, 0, 342, 231}, QRect(0, 0, 513, 375)},       // 342*6/4 = 513, 231*13/8 = 375.4
        {{15, 5, 44, 14}, QRect(23, 8, 66, 23)},         // 22.5 rounds up; right 88.5 -> 89, bottom 30.9 -> 31
        {{109, 42, 166, 12}, QRect(164, 68, 249, 20)},   // 163.5 -> 164, right 412.5 -> 413
        {{326, 28, 14, 10}, QRect(489, 46, 21, 16)},     // the last letter button
        {{1, 1, 1, 1}, QRect(2, 2, 1, 1)},               // 1.5 -> 2, right 3; 1.6 -> 2, bottom 3.25 -> 3
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DialogRectToPixels(c.units, base), c.pixels)
            << c.units.x << "," << c.units.y << "," << c.units.width << "," << c.units.height;
    }
}

// The dialog font resolves to the metric-compatible face, and the base units are measured on it.
TEST(DialogUnits, DialogFontIsTheMetricCompatibleFace) {
    const QFont font = DialogFont(QStringLiteral("MS Sans Serif"), 8);
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));
    const DialogBaseUnits base = MeasureBaseUnits(font);
    // 8 points at 96 dots per inch are 11 pixels; the face's 52 letters average 6 pixels, and its
    // ascent and descent at that size are 10 and 2 pixels.
    EXPECT_EQ(font.pixelSize(), 11);
    EXPECT_EQ(base.width, 6);
    EXPECT_EQ(base.height, 12);
    EXPECT_EQ(base.height, QFontMetrics(font).ascent() + QFontMetrics(font).descent());
}

TEST_F(ContactTest, EveryControlSitsWhereItsTemplateSays) {
    Show();
    const DialogSpec& spec = ContactDialogSpec();
    const DialogBaseUnits base = dialog_->baseUnits();
    EXPECT_EQ(dialog_->windowTitle(), QStringLiteral("Quintara de Contactos"));
    EXPECT_EQ(dialog_->clientArea()->size(), DialogClientSize(spec, base));
    // The menu bar sits above the template's client area, which begins right under it.
    EXPECT_EQ(dialog_->clientArea()->y(), dialog_->menuBar()->height());

    int labels = 0;
    for (const ControlSpec& c : spec.controls) {
        if (c.id == kIdStatic) {
            ++labels;
            continue;
        }
        QWidget* widget = dialog_->control(c.id);
        ASSERT_NE(widget, nullptr) << c.id;
        EXPECT_EQ(widget->geometry(), DialogRectToPixels(c.rect, base)) << c.id;
        EXPECT_EQ(widget->parentWidget(), dialog_->clientArea()) << c.id;
    }
    EXPECT_EQ(labels, 9);

    // Labels right-aligned at their places, edits of their kinds.
    const QList<QLabel*> shown = dialog_->clientArea()->findChildren<QLabel*>();
    ASSERT_EQ(shown.size(), 9);
    for (QLabel* label : shown) {
        EXPECT_TRUE(label->alignment() & Qt::AlignRight) << label->text().toStdString();
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
    }
    for (std::uint16_t id = kIdEditFirst; id < kIdEditLast; ++id) EXPECT_NE(Control<QLineEdit>(id), nullptr) << id;
    auto* notes = Control<QPlainTextEdit>(kIdEditObservaciones);
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(notes->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(Control<QPushButton>(kIdButtonDial)->text(), QString::fromUtf8("Marcar Teléfono"));
}

TEST_F(ContactTest, ASingleLineEditScrollsAHorizontalTextLongerThanItself) {
    Show();
    auto* cp = Control<QLineEdit>(kIdEditCp);
    const QString typed = QStringLiteral("1234567890123456789012345678901234567890");
    TypeTo(cp, typed);
    EXPECT_EQ(cp->text(), typed);
    EXPECT_GT(cp->fontMetrics().horizontalAdvance(typed), cp->width());
}

TEST_F(ContactTest, TheAboutBoxFollowsItsTemplate) {
    AboutDialog about;
    const DialogSpec& spec = AboutDialogSpec();
    EXPECT_EQ(about.windowTitle(), QStringLiteral("Acerca de Quintara"));
    EXPECT_EQ(about.size(), DialogClientSize(spec, about.baseUnits()));
    QStringList texts;
    for (QLabel* label : about.findChildren<QLabel*>())
        if (!label->text().isEmpty()) texts << label->text();
    EXPECT_EQ(texts, QStringList({QString::fromUtf8("Quintara Versión 1.0"), QStringLiteral("Directorio de contactos")}));
    auto* ok = about.findChild<QPushButton*>();
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("Aceptar"));
    EXPECT_TRUE(ok->isDefault());
}

// A contact with accents, as the user sees it; the picture is left in the build folder.
TEST_F(ContactTest, ScreenshotOfAContact) {
    Load(1, Cp1252("José Ñúñez"));
    Load(2, Cp1252("José Ñúñez Córdoba"));
    Load(3, Cp1252("Calle Ñandú, 8, 3º A"));
    Load(4, "14001");
    Load(5, Cp1252("Córdoba"));
    Load(6, "957 47 25 36");
    Load(7, "611 234 567");
    Load(8, "jose.nunez@correo.es");
    Load(9, "Particular");
    Load(10, Cp1252("Prefiere que le llamen por la tarde.\r\nMóvil sólo en horario de oficina."));
    dialog_->recordToDialog();
    Show();
    const QPixmap shot = dialog_->grab();
    EXPECT_EQ(shot.size(), dialog_->size() * shot.devicePixelRatio());
    EXPECT_TRUE(shot.save(QStringLiteral(QUINTARA_BUILD_DIR "/contact_dialog.png")));
}

}  // namespace
}  // namespace rt::test
