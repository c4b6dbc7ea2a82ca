// What a user sees of a failed start on the real desktop: one error box, and no box for a start
// that the application's own phase stops quietly.
#include <gtest/gtest.h>

#include "platform/qt/qt_desktop.h"
#include "runtime/start/runtime_start.h"
#include "runtime/text/mem_areas.h"
#include "runtime/data/file_table.h"
#include "runtime/vars/variables.h"
#include "tests/support/qt_box_robot.h"
#include "tests/support/runtime_fixture.h"

namespace rt::test {
namespace {

ErrCode FailPhaseTwo(std::uint16_t phase) { return (phase & 15) == 2 ? 162 : 0; }

class StartBoxTest : public ::testing::Test {
protected:
    void SetUp() override { DesktopSet(&desktop_); }
    void TearDown() override {
        // The run's own take-down first, then the memory check, then the rest of the end.
        if (MemReady()) {
            FileTableReset();
            VarShutdown();
            EXPECT_EQ(MemShutdownReport(), "") << "the test left memory areas live";
            RuntimeEnd(nullptr, 0);
        }
        DesktopSet(nullptr);
    }
    QtDesktop desktop_;
};

TEST_F(StartBoxTest, AFailedPhaseTwoShowsExactlyOneErrorBox) {
    BoxRobot robot;
    StartRequest r;
    r.commandLine = u"\\bin\\quintara";
    r.identity = S(":Quintara");
    r.description = S("Quintara");
    r.flags = 2;
    r.callback = FailPhaseTwo;
    EXPECT_EQ(RuntimeStart(r), 162);
    ASSERT_EQ(robot.seen().size(), 1u);
    EXPECT_EQ(robot.seen()[0].caption, "Alerta de Mensaje Fatal");
    EXPECT_EQ(robot.seen()[0].text, "Error SQLERROR");
    EXPECT_EQ(robot.seen()[0].icon, QMessageBox::Critical);
    EXPECT_EQ(RuntimeEnd(FailPhaseTwo, 162), 162);
    EXPECT_FALSE(MemReady());
}

// Phase 1 ends the start with its own answer; a serious one is shown like any other failed start,
// a soft one (122 to 127) stops the start quietly.
TEST_F(StartBoxTest, AFailedPhaseOneIsShownUnlessItIsSoft) {
    struct Case { ErrCode answer; std::size_t boxes; };
    for (Case c : {Case{162, 1}, Case{124, 0}}) {
        static ErrCode answer;
        answer = c.answer;
        BoxRobot robot;
        StartRequest r;
        r.commandLine = u"\\bin\\quintara";
        r.callback = [](std::uint16_t phase) -> ErrCode { return (phase & 15) == 1 ? answer : 0; };
        EXPECT_EQ(RuntimeStart(r), c.answer);
        EXPECT_EQ(robot.seen().size(), c.boxes) << c.answer;
        if (c.boxes != 0) {
            EXPECT_EQ(robot.seen()[0].text, "Error SQLERROR");
        }
        RuntimeEnd(nullptr, c.answer);
    }
}

TEST_F(StartBoxTest, TheTraceStartShowsTheAboutBox) {
    BoxRobot robot;
    StartRequest r;
    r.commandLine = u"\\bin\\quintara /TRACE:256";
    r.identity = S(":Quintara");
    r.description = S("Quintara");
    EXPECT_EQ(RuntimeStart(r), 0);
    ASSERT_EQ(robot.seen().size(), 1u);
    EXPECT_EQ(robot.seen()[0].caption, "Acerca de");
    EXPECT_EQ(robot.seen()[0].text, "Quintara\nVersion 2.20 (0 ES 2 1900)");
}

}  // namespace
}  // namespace rt::test
