// The contact dialog on the offscreen desktop: sizes and places from dialog units, and a screenshot.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/contact_template.h"
#include "app/dialog_units.h"
#include "tests/app/contact_fixture.h"

namespace rt::test {
namespace {

TEST_F(ContactTest, Screenshot) {
    Load(1, Cp1252("José Ñúñez"));
    Load(2, Cp1252("José Ñúñez Córdoba"));
    Load(3, Cp1252("Calle Ñandú, 8, 3º A"));
    Load(4, "14001");
    Load(5, Cp1252("Córdoba"));
    Load(6, "957 47 25 36");
    Load(10, Cp1252("Prefiere que le llamen por la tarde.\r\nSegunda línea."));
    dialog_->recordToDialog();
    Show();
    const QPixmap shot = dialog_->grab();
    EXPECT_TRUE(shot.save(QStringLiteral(QUINTARA_BUILD_DIR "/contact_dialog.png")));
}

}  // namespace
}  // namespace rt::test
