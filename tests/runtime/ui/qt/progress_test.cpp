// The progress window: how steps move the bar, the text panel, cancelling by button and by Escape,
// and a screenshot of the window with two lines of text.
#include <gtest/gtest.h>

#include <QProgressBar>
#include <QtTest/QTest>

#include "platform/qt/qt_handles.h"
#include "runtime/text/err_codes.h"
#include "runtime/ui/progress.h"
#include "runtime/ui/ui_codes.h"
#include "tests/support/qt_ui_fixture.h"
#include "tests/support/window_input.h"

namespace rt::test {
namespace {

class ProgressTest : public UiTest {
protected:
    void TearDown() override {
        ProgressClose();
        UiTest::TearDown();
    }
    int BarValue() { return static_cast<QProgressBar*>(QtWidgetOf(ProgressGet().child))->value(); }
    int BarMaximum() { return static_cast<QProgressBar*>(QtWidgetOf(ProgressGet().child))->maximum(); }
};

TEST_F(ProgressTest, AStepOfZeroAdvancesByOne) {
    ASSERT_EQ(ProgressOpen(0, 10), 0);
    EXPECT_EQ(ProgressStep(10, 0, S("")), 0);
    EXPECT_EQ(ProgressGet().position, 1u);
    EXPECT_EQ(ProgressStep(10, 3, S("")), 0);
    EXPECT_EQ(ProgressGet().position, 4u);
    EXPECT_EQ(BarMaximum(), 10);
    EXPECT_EQ(BarValue(), 4);
}

// 200000 units: the bar's range is halved twice to 50000 and steps are divided by 4, the
// remainder carried from step to step.
TEST_F(ProgressTest, ALargeRangeIsScaled) {
    ASSERT_EQ(ProgressOpen(0, 200000), 0);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(ProgressStep(0, 2, S("")), 0);
    EXPECT_EQ(ProgressGet().range, 50000u);
    EXPECT_EQ(ProgressGet().divisor, 4u);
    EXPECT_EQ(ProgressGet().position, 1u);
    EXPECT_EQ(ProgressGet().remainder, 2u);
    EXPECT_EQ(BarMaximum(), 50000);
}

TEST_F(ProgressTest, WithoutARangeTheBarCycles) {
    // No window yet: the first step opens it.
    for (int i = 0; i < 200; ++i) ProgressStep(0, 1, S(""));
    EXPECT_TRUE(ProgressGet().cyclic);
    EXPECT_EQ(ProgressGet().range, 200u);
    EXPECT_EQ(ProgressGet().position, 200u);
    ProgressStep(0, 1, S(""));
    EXPECT_EQ(ProgressGet().position, 1u);
}

TEST_F(ProgressTest, CancelarMakesTheNextStepAnswer122) {
    ASSERT_EQ(ProgressOpen(0, 100), 0);
    QWidget* button = QtWidgetOf(desktop_.ControlById(ProgressGet().window, kIdProgressCancel));
    ASSERT_NE(button, nullptr);
    Click(button);
    EXPECT_EQ(ProgressStep(100, 1, S("")), kErrCancelled);
    EXPECT_EQ(ProgressPoll(), kErrCancelled);  // and stays so
}

TEST_F(ProgressTest, EscapeMakesTheNextStepAnswer122) {
    ASSERT_EQ(ProgressOpen(0, 100), 0);
    ASSERT_TRUE(WaitFor([] { return QApplication::activeWindow() == QtWidgetOf(ProgressGet().window); }));
    KeyToWindow(QtWidgetOf(ProgressGet().window), Qt::Key_Escape);
    EXPECT_EQ(ProgressText(0, 0, S("ANA")), kErrCancelled);
}

// A run that shows texts: the bar gives way to the panel, whose lines are those of the text.
TEST_F(ProgressTest, TextsShowInThePanel) {
    ASSERT_EQ(ProgressText(0, 0, S("Exportando contactos\r\nPE\xD1" "A GARC\xCD" "A, ANA")), 0);
    EXPECT_TRUE(ProgressGet().text_mode);
    EXPECT_EQ(QString::fromStdU16String(desktop_.ControlText(ProgressGet().child)).toStdString(),
              "Exportando contactos\nPEÑA GARCÍA, ANA");
    // Steps of a run in text mode show their texts.
    EXPECT_EQ(ProgressStep(0, 1, S("UNO\nDOS")), 0);
    EXPECT_EQ(QString::fromStdU16String(desktop_.ControlText(ProgressGet().child)).toStdString(), "UNO\nDOS");
}

TEST_F(ProgressTest, ScreenshotWithTwoLines) {
    ASSERT_EQ(ProgressText(0, 0, S("Exportando contactos.txt\r\nPE\xD1" "A GARC\xCD" "A, ANA")), 0);
    ProgressCaption(S("Proceso en progreso.....contactos"));
    UiRobot robot;
    std::string shot;
    robot.OnWindow([&](UiView& v) {
        EXPECT_EQ(v.caption(), "Proceso en progreso.....contactos");
        EXPECT_EQ(v.control(kIdProgressCancel).text, "Cancelar");
        shot = v.Screenshot("progress_two_lines");
    });
    EXPECT_TRUE(WaitFor([&] { return robot.pending() == 0; }));
    EXPECT_FALSE(shot.empty());
}

}  // namespace
}  // namespace rt::test
