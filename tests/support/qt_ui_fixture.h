// A runtime on the offscreen Qt desktop for tests of what a user sees: memory, variables and the
// catalog set up, the window layer empty; tear-down closes every runtime window the test left open
// and checks that every memory area came back.
#pragma once
#include <gtest/gtest.h>

#include "platform/qt/qt_desktop.h"
#include "runtime/env/catalog.h"
#include "runtime/env/fonts.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/text_build.h"
#include "runtime/ui/cell_geometry.h"
#include "runtime/ui/win_create.h"
#include "runtime/ui/win_stack.h"
#include "runtime/vars/variables.h"
#include "tests/support/qt_ui_robot.h"
#include "tests/support/runtime_fixture.h"

namespace rt::test {

class UiTest : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        ASSERT_EQ(VarInit(), 0);
        MsgLangReset();
        // The locale record of a Spanish start: numbers, logical words and dates as the user reads them.
        {
            DynScope scope;
            StrDesc nul = S("\0");
            SlotSet(kRunGroup, kSlotLocale, StrAssemble({MsgText("0019"), nul, MsgText("0117"), nul, S(" ")}));
        }
        FontReset();
        GridReset();
        WinLayerReset();
        DesktopSet(&desktop_);
    }
    void TearDown() override {
        while (WinTop() != kNoWindow) WinDestroy(WinTop());
        desktop_.Pump();
        WinLayerReset();
        GridReset();
        DesktopSet(nullptr);
        VarShutdown();
        CheckMemory();
    }
    // Pumps until cond holds (bounded); the condition's last answer.
    static bool WaitFor(const std::function<bool()>& cond) { return UiRobot::WaitUntil(cond, 3000); }

    QtDesktop desktop_;
};

}  // namespace rt::test
