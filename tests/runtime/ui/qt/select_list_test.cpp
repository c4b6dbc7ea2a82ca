// Selection lists driven like a user: keys and clicks on the list or the button grid, the answer, and
// a screenshot of a list for review.
#include <gtest/gtest.h>

#include <QFileInfo>

#include "runtime/env/fonts.h"
#include "runtime/ui/select_list.h"
#include "runtime/ui/ui_codes.h"
#include "runtime/vars/var_system.h"
#include "tests/support/qt_ui_fixture.h"

namespace rt::test {
namespace {

using SelectListTest = UiTest;

constexpr std::uint16_t kOwnList = kSelectOwnWindow | kSelectListBox;

TEST_F(SelectListTest, EnterOnTheThirdItemGivesThree) {
    UiRobot robot;
    robot.OnWindow([](UiView& v) {
        EXPECT_EQ(v.caption(), "Origen");
        EXPECT_EQ(v.control(kIdListBox).text, "NOMBRE -> NOMBRE,CP -> CP,TELEFONO -> MOVIL,EMAIL -> EMAIL");
        EXPECT_EQ(v.focused_id(), kIdListBox);
        v.Key(Qt::Key_Down);
        v.Key(Qt::Key_Down);
        v.Key(Qt::Key_Return);
    });
    EXPECT_EQ(SelectList(S("Origen"), S("'NOMBRE -> NOMBRE',CP -> CP,TELEFONO -> MOVIL,EMAIL -> EMAIL"), kOwnList), 3);
    EXPECT_EQ(SysVar(kSysStat), 3);
    EXPECT_EQ(WinCount(), 0);
}

TEST_F(SelectListTest, EscapeAndTheCloseBoxChooseNothing) {
    UiRobot robot;
    robot.OnWindow([](UiView& v) { v.Key(Qt::Key_Escape); });
    robot.OnWindow([](UiView& v) { v.CloseBox(); });
    EXPECT_EQ(SelectList(S("Origen"), S("A,B,C"), kOwnList), 0);
    EXPECT_EQ(SelectList(S("Origen"), S("A,B,C"), kOwnList), 0);
    EXPECT_EQ(WinCount(), 0);
}

TEST_F(SelectListTest, ADoubleClickChoosesItsItem) {
    UiRobot robot;
    robot.OnWindow([](UiView& v) { v.ChooseItem(2); });
    EXPECT_EQ(SelectList(S("Origen"), S("A,B,C"), kOwnList), 2);
}

// Up and Down wrap through the buttons of a grid; Enter presses the highlighted one.
TEST_F(SelectListTest, ButtonGridKeysWrap) {
    UiRobot robot;
    robot.OnWindow([](UiView& v) {
        EXPECT_EQ(v.focused_id(), kIdSelectBase);
        v.Key(Qt::Key_Up);  // from the first to the last
        EXPECT_EQ(v.focused_id(), kIdSelectBase + 2);
        v.Key(Qt::Key_Down);  // and round to the first again
        v.Key(Qt::Key_Down);
        EXPECT_EQ(v.focused_id(), kIdSelectBase + 1);
        v.Key(Qt::Key_Return);
    });
    EXPECT_EQ(SelectList(S("Botones"), S("Uno,Dos,Tres"), kSelectOwnWindow), 2);
}

TEST_F(SelectListTest, NothingToShowGivesNone) {
    EXPECT_EQ(SelectList(S(""), S("A,B"), kOwnList), kNone);
    EXPECT_EQ(SelectList(S("Origen"), S(""), kOwnList), kNone);
    EXPECT_EQ(WinCount(), 0);
}

// The list as the contact application shows it, in its screen font, for review.
TEST_F(SelectListTest, Screenshot) {
    ASSERT_EQ(FontSet(21, 9, 400, S("Courier New")), 0);
    UiRobot robot;
    std::string shot;
    robot.OnWindow([&](UiView& v) {
        v.Key(Qt::Key_Down);
        shot = v.Screenshot("select_list");
        v.Key(Qt::Key_Escape);
    });
    SelectList(S("Origen"), S("RAZON_SOCIAL -> RAZON_SOCIAL,NOMBRE -> NOMBRE,TELEFONO -> MOVIL,C.P. -> CP"), kOwnList);
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(shot))) << shot;
}

}  // namespace
}  // namespace rt::test
