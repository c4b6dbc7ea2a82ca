// The window layer on real widgets: key events through the input procedures and the key maps, the
// runtime window procedure's close request and commands, and the modal mark on the window stack.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QtTest/QTest>

#include <vector>

#include "platform/qt/qt_handles.h"
#include "runtime/text/slot_table.h"
#include "runtime/ui/ui_codes.h"
#include "runtime/ui/win_procs.h"
#include "runtime/vars/var_system.h"
#include "tests/support/qt_ui_fixture.h"
#include "tests/support/window_input.h"

namespace rt::test {
namespace {

// What the screens would have heard: every input code and action code, with the control's id.
struct Heard {
    std::uint16_t id;
    std::uint16_t code;
};
std::vector<Heard> g_input;
std::vector<std::uint16_t> g_actions;
std::uint16_t g_action_answer = 0;

std::uint16_t RecordInput(WinHandle, WinHandle control, std::uint16_t code) {
    g_input.push_back({DesktopGet()->ControlId(control), code});
    return 0;
}
std::uint16_t RecordAction(WinHandle, std::uint16_t code) {
    g_actions.push_back(code);
    return g_action_answer;
}
std::uint16_t SelectNone(std::uint16_t) { return 0xFFFF; }

class WindowLayerTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        g_input.clear();
        g_actions.clear();
        g_action_answer = 0;
        WinScreenHooks hooks;
        hooks.input = RecordInput;
        hooks.action = RecordAction;
        hooks.select = SelectNone;
        WinScreenHooksSet(&hooks);
    }
    void TearDown() override {
        WinScreenHooksSet(nullptr);
        UiTest::TearDown();
    }

    // A shown dialog window with two edits (ids 2000, 2001) and a check box (2002) on the input
    // procedures; the first edit has the focus.
    WinHandle Dialog(std::uint16_t style = kWinStyleModal) {
        const WinHandle w = WinCreateKind(kWinKindDialog, S("Prueba"), style, WinRect{100, 100, 300, 120}, nullptr);
        EXPECT_NE(w, kNoWindow);
        for (std::uint16_t i = 0; i < 3; ++i) {
            ControlRequest r;
            r.parent = w;
            r.kind = i < 2 ? ControlKind::kEdit : ControlKind::kCheckBox;
            r.id = static_cast<std::uint16_t>(kIdFieldBase + i);
            r.rect = WinRect{10, 10 + 30 * i, 200, 24};
            r.style = kStyleBorder;
            r.proc = i < 2 ? WinEditProc : WinCheckProc;
            desktop_.ControlCreate(r);
        }
        desktop_.WindowShow(w, true, false);
        desktop_.WindowFocus(desktop_.ControlById(w, kIdFieldBase));
        EXPECT_TRUE(WaitFor([&] { return desktop_.FocusedControl() == desktop_.ControlById(w, kIdFieldBase); }));
        g_input.clear();
        return w;
    }
    QWidget* Widget(WinHandle w, std::uint16_t id) { return QtWidgetOf(desktop_.ControlById(w, id)); }
    std::vector<std::uint16_t> Codes() {
        std::vector<std::uint16_t> codes;
        for (const Heard& h : g_input) codes.push_back(h.code);
        return codes;
    }
};

// Each key of an edit field: the key number left in _LASTKEY and the codes the screen hears.
TEST_F(WindowLayerTest, EditKeysGoThroughTheKeyMap) {
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        std::int16_t keymap;
        std::int16_t last_key;
        std::vector<std::uint16_t> codes;
    };
    const Case cases[] = {
        {Qt::Key_F4, Qt::NoModifier, 1, 14, {}},              // map 1: F4 does nothing
        {Qt::Key_F3, Qt::NoModifier, 1, 13, {0x0F19}},
        {Qt::Key_F11, Qt::NoModifier, 1, 21, {0x0F19}},
        {Qt::Key_F4, Qt::NoModifier, 0, 14, {0x0C19}},
        {Qt::Key_F3, Qt::NoModifier, 0, 13, {0x0D19}},
        {Qt::Key_Tab, Qt::ShiftModifier, 0, 8, {kActPrevField}},
        {Qt::Key_Tab, Qt::NoModifier, 0, 9, {kActNextField}},
        {Qt::Key_Return, Qt::NoModifier, 0, 0, {kActNextField}},
        {Qt::Key_End, Qt::ControlModifier, 0, 32, {kActEndOfRange}},
        {Qt::Key_Escape, Qt::NoModifier, 0, 3, {kActCancel}},
        {Qt::Key_Up, Qt::NoModifier, 0, 22, {kActPrevFieldUp}},
        {Qt::Key_PageDown, Qt::NoModifier, 0, 29, {0x0519}},
        {Qt::Key_F1, Qt::NoModifier, 0, 11, {kActHelp}},
        {Qt::Key_Left, Qt::NoModifier, 0, 4, {}},            // passed on to the control
    };
    const WinHandle w = Dialog();
    for (const Case& c : cases) {
        SysVarSet(kSysKeyMap, c.keymap);
        g_input.clear();
        KeyTo(Widget(w, kIdFieldBase), c.key, c.mods);
        EXPECT_EQ(SysVar(kSysLastKey), c.last_key) << "key " << c.key << " map " << c.keymap;
        EXPECT_EQ(Codes(), c.codes) << "key " << c.key << " map " << c.keymap;
    }
    // Nothing of the above moved the focus: the screen decides where it goes.
    EXPECT_EQ(desktop_.FocusedControl(), desktop_.ControlById(w, kIdFieldBase));
}

TEST_F(WindowLayerTest, OrdinaryKeysReachTheControl) {
    const WinHandle w = Dialog();
    TypeTo(Widget(w, kIdFieldBase), "ab");
    EXPECT_EQ(static_cast<QLineEdit*>(Widget(w, kIdFieldBase))->text(), "ab");
    EXPECT_EQ(SysVar(kSysLastKey), kKeyNone);
    EXPECT_TRUE(g_input.empty());
}

// Ctrl+] starts a typed command; the first control character ends it, the text goes onto group 30
// and the screen hears code 24. The typed characters do not reach the field.
TEST_F(WindowLayerTest, CtrlBracketCollectsATypedCommand) {
    const WinHandle w = Dialog();
    QWidget* edit = Widget(w, kIdFieldBase);
    KeyTo(edit, Qt::Key_BracketRight, Qt::ControlModifier);
    TypeToWindow(edit, "lista");
    KeyToWindow(edit, Qt::Key_Return);
    EXPECT_EQ(Codes(), std::vector<std::uint16_t>{kActTypedCommand});
    EXPECT_EQ(Str(SlotPeek(kUserStackGroup)), "lista");
    EXPECT_EQ(static_cast<QLineEdit*>(edit)->text(), "");
    SlotPop(kUserStackGroup);
}

TEST_F(WindowLayerTest, CheckBoxesSendTheirKeysAndToggleWithSpace) {
    const WinHandle w = Dialog();
    desktop_.WindowFocus(desktop_.ControlById(w, kIdFieldBase + 2));
    ASSERT_TRUE(WaitFor([&] { return Widget(w, kIdFieldBase + 2)->hasFocus(); }));
    g_input.clear();
    KeyTo(Widget(w, kIdFieldBase + 2), Qt::Key_Space);
    EXPECT_TRUE(desktop_.ControlChecked(desktop_.ControlById(w, kIdFieldBase + 2)));
    KeyTo(Widget(w, kIdFieldBase + 2), Qt::Key_Tab, Qt::ShiftModifier);
    KeyTo(Widget(w, kIdFieldBase + 2), Qt::Key_Return);
    EXPECT_EQ(Codes(), (std::vector<std::uint16_t>{kActPrevField, kActNextField}));
    EXPECT_EQ(SysVar(kSysLastKey), kKeyEnter);
}

// Focus moving between fields: the field left hears 92, the field entered 91.
TEST_F(WindowLayerTest, FocusChangesReachTheScreen) {
    const WinHandle w = Dialog();
    desktop_.WindowFocus(desktop_.ControlById(w, kIdFieldBase + 1));
    ASSERT_TRUE(WaitFor([&] { return g_input.size() >= 2; }));
    EXPECT_EQ(g_input[0].id, kIdFieldBase);
    EXPECT_EQ(g_input[0].code, kInputFocusOut);
    EXPECT_EQ(g_input[1].id, kIdFieldBase + 1);
    EXPECT_EQ(g_input[1].code, kInputFocusIn);
}

// The close box of a window with a screen asks action 28; the window goes only when the answer is
// not 0. Without a screen it simply goes.
TEST_F(WindowLayerTest, TheCloseBoxSendsAction28) {
    const WinHandle w = Dialog();
    WinSetScreenIndex(w, 0);
    QtWidgetOf(w)->close();
    EXPECT_EQ(g_actions, std::vector<std::uint16_t>{kActCloseRequest});
    EXPECT_TRUE(WinOnStack(w));
    g_action_answer = kResultClose | 16;
    QtWidgetOf(w)->close();
    EXPECT_FALSE(WinOnStack(w));
    EXPECT_EQ(QtWidgetOf(w), nullptr);

    const WinHandle bare = Dialog();
    QtWidgetOf(bare)->close();
    EXPECT_FALSE(WinOnStack(bare));
}

// A button's command reaches the screen as its code; "Ok" leaves _LASTKEY alone, others set it to 4.
TEST_F(WindowLayerTest, CommandsBecomeActionCodes) {
    const WinHandle w = Dialog();
    int top = 10;
    for (std::uint16_t id : {kIdOk, std::uint16_t(kIdMantBase + 3)}) {
        ControlRequest r;
        r.parent = w;
        r.kind = ControlKind::kButton;
        r.id = id;
        r.text = u"B";
        r.rect = WinRect{220, top, 60, 24};  // one under the other, each where a click finds it
        top += 30;
        desktop_.ControlCreate(r);
    }
    SysVarSet(kSysLastKey, kKeyEnter);
    Click(Widget(w, kIdOk));
    EXPECT_EQ(SysVar(kSysLastKey), kKeyEnter);
    Click(Widget(w, kIdMantBase + 3));
    EXPECT_EQ(SysVar(kSysLastKey), kKeyNone);
    EXPECT_EQ(g_actions, (std::vector<std::uint16_t>{kActConfirm, ActButton(3)}));
}

// A modal window disables its owner; when it goes, the owner is enabled again and has the focus.
TEST_F(WindowLayerTest, AModalWindowDisablesItsOwnerUntilItGoes) {
    const WinHandle owner = Dialog();
    const WinHandle modal = Dialog(kWinStyleModal);
    EXPECT_EQ(WinTop(), modal);
    EXPECT_FALSE(desktop_.WindowEnabled(owner));
    EXPECT_TRUE(desktop_.WindowEnabled(modal));
    WinDestroy(modal);
    EXPECT_EQ(WinTop(), owner);
    EXPECT_TRUE(desktop_.WindowEnabled(owner));
    EXPECT_TRUE(WaitFor([&] { return QtWidgetOf(owner)->isActiveWindow(); }));
    EXPECT_TRUE(WaitFor([&] { return desktop_.FocusedControl() == desktop_.ControlById(owner, kIdFieldBase); }));
}

// The modal run ends when its window goes; the stack gives the windows back in order.
TEST_F(WindowLayerTest, TheModalRunEndsWhenItsWindowGoes) {
    const WinHandle w = Dialog();
    UiRobot robot;
    robot.OnWindow([](UiView& v) {
        EXPECT_EQ(v.caption(), "Prueba");
        EXPECT_EQ(v.focused_id(), kIdFieldBase);
        v.CloseBox();
    });
    WinRunModal(w);
    EXPECT_EQ(robot.pending(), 0u);
    EXPECT_EQ(WinCount(), 0);
}

TEST(WinStackTest, HoldsThirtyTwoWindowsAndPopsOutOfTurn) {
    WinStackReset();
    for (WinHandle h = 1; h <= kWinStackMax; ++h) EXPECT_EQ(WinStackPush(h, kNoScreenWin), 0);
    EXPECT_NE(WinStackPush(99, kNoScreenWin), 0);
    EXPECT_EQ(WinCount(), kWinStackMax);
    EXPECT_EQ(WinStackPush(5, 7), 0);  // brought to the top with its new screen window
    EXPECT_EQ(WinTop(), 5u);
    EXPECT_EQ(WinScreenIndex(5), 7);
    EXPECT_EQ(WinStackPop(10), 0);
    EXPECT_EQ(WinTop(), 5u);
    EXPECT_NE(WinStackPop(10), 0);
    EXPECT_EQ(WinCount(), kWinStackMax - 1);
    WinStackReset();
}

}  // namespace
}  // namespace rt::test
