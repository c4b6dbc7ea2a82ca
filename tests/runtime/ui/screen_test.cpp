// Screens without a desktop: fields built from parameter texts, generated names, the screen-field
// hook, SET$ events, refresh from ASSIGN$ and the empty screen of a window the caller owns.
#include <gtest/gtest.h>

#include "platform/console/console_desktop.h"
#include "runtime/expr/evaluator.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/slot_table.h"
#include "runtime/ui/screen.h"
#include "runtime/vars/parm_blocks.h"
#include "runtime/vars/var_system.h"
#include "runtime/vars/variables.h"
#include "tests/support/desktop_fixture.h"

namespace rt::test {
namespace {

class ScreenTest : public DesktopTest<ConsoleDesktop> {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        ASSERT_EQ(VarInit(), 0);
        ScreenInstall();
    }
    void TearDown() override {
        ScreenReset();
        VarShutdown();
        DesktopTest::TearDown();
    }
    // A screen and its window from a parameter text, with count fields of the given types.
    ErrCode Make(const std::string& block, const std::string& types = "") {
        EXPECT_EQ(SlotPush(kParmStackGroup, D(block)), 0);
        ScreenCtrl templ;
        std::vector<ScreenField> fields(types.size());
        for (std::size_t i = 0; i < types.size(); ++i) {
            fields[i].type = types[i];
            fields[i].width = fields[i].storage = 10;
            fields[i].row = static_cast<std::uint16_t>(i + 1);
        }
        templ.count = static_cast<std::uint16_t>(types.size());
        ErrCode e = ScreenCreate(templ, types.empty() ? nullptr : fields.data(), S("T"));
        ParmPop();
        if (e == 0) e = ScreenWinCreate();
        return e;
    }
};

TEST_F(ScreenTest, AnEmptyParameterTextMakesAScreenWithoutFields) {
    ASSERT_EQ(Make(""), 0);
    EXPECT_EQ(ScreenCurrent()->count, 0);
    EXPECT_EQ(ScreenRefresh(kRefreshNavigated, nullptr, 0), 0);
    EXPECT_EQ(ScreenSnapshot(), 0);
    std::uint16_t keys[5];
    EXPECT_EQ(ScreenKeyFields(1, keys, 5), 0);
    EXPECT_EQ(ScreenDestroy(kScreenCurrent), 0);
    EXPECT_EQ(ScreenDestroy(kScreenCurrent), kErrScreenStructErr);
}

// Three fields with one FD$ name: the others are named _SCRF2$ (text) and _SCRF3# (number), and the
// completed list leads the screen's parameter text.
TEST_F(ScreenTest, MissingNamesAreGenerated) {
    ASSERT_EQ(Make("FD$=\"_NOM$\":HELP$=\"X\"", "AAN"), 0);
    EXPECT_EQ(Str(ScreenCurrent()->text), "FD$=\"_NOM$,_SCRF2$,_SCRF3#\":FD$=\"_NOM$\":HELP$=\"X\"");
    EXPECT_EQ(Str(ScreenTextOf(ScreenFieldAt(3)->name)), "_SCRF3#");
    EXPECT_EQ(Str(ScreenCurrent()->tag), "T");
}

// Names starting with '_' reach the fields: reads give the current value, assignments store it, and
// a field's dependents follow (the NAME$ form: _SUM#$ names _TOT# to refresh, which ASSIGN$ computes).
TEST_F(ScreenTest, FieldsAreVariablesOfExpressions) {
    ASSERT_EQ(Make("FD$=\"_SUM#,_TOT#,_TXT$\":ASSIGN$=\",_SUM#*2\":_SUM#$=\"_TOT#\"", "NNA"), 0);
    EXPECT_EQ(ExpRun(S("_TXT$='Pe\xF1" "a'")), 0);
    EXPECT_EQ(Str(ExpText(S("_TXT$"))), "Pe\xF1" "a");
    EXPECT_EQ(ExpRun(S("_SUM#=21")), 0);
    EXPECT_EQ(Str(ExpText(S("_TOT#"))), "42");
    EXPECT_EQ(Str(ScreenFieldText(2)), "        42");
    // A name of no field is an ordinary variable.
    EXPECT_EQ(ExpRun(S("_OTRO#=3")), 0);
    EXPECT_EQ(Str(ExpText(S("_OTRO#"))), "3");
    // The reference values are the snapshot's.
    EXPECT_EQ(ScreenSnapshot(), 0);
    EXPECT_EQ(Str(ScreenReferenceValue(1)), "        21");
}

TEST_F(ScreenTest, OneSetItemRunsForEveryEvent) {
    ASSERT_EQ(Make("SET$=\"N#=N#+1\""), 0);
    EXPECT_EQ(ScreenEvent(2), 0);
    EXPECT_EQ(ScreenEvent(5), 0);
    EXPECT_EQ(Str(ExpText(S("N#"))), "2");
    ScreenDestroy(kScreenCurrent);
    ASSERT_EQ(Make("SET$=\"SCRBACK=GUARDA$,N#=10\"", "A"), 0);
    EXPECT_EQ(ScreenEvent(2), 0);
    EXPECT_EQ(Str(ExpText(S("N#"))), "10");
    // The SCRBACK form saves the values buffer and loads it back over the reference values.
    EXPECT_EQ(ScreenFieldStore(kRefreshFound, 1, S("hola")), 0);
    EXPECT_EQ(ScreenEventSave(), 0);
    EXPECT_EQ(Str(VarGetText(S("GUARDA$"))), "hola      ");
    EXPECT_EQ(ScreenEvent(1), 0);
    EXPECT_EQ(Str(ScreenReferenceValue(1)), "hola      ");
}

// The screen of a window the application owns: no fields, the data file and the active key for the
// maintenance engine; the stack of screens nests and unwinds.
TEST_F(ScreenTest, APlainScreenGivesTheEngineItsFile) {
    ASSERT_EQ(ScreenOpenPlain(3), 0);
    ASSERT_NE(ScreenCurrentWin(), nullptr);
    EXPECT_EQ(ScreenCurrentWin()->file, 3);
    EXPECT_EQ(ScreenCurrent()->file, 3);
    EXPECT_EQ(ScreenCurrentWin()->active_key, 1);
    EXPECT_EQ(ScreenCurrent()->users, 1);
    ASSERT_EQ(Make("FD$=\"_A$\"", "A"), 0);
    EXPECT_EQ(ScreenWinCount(), 2);
    EXPECT_EQ(ScreenDestroy(kScreenCurrent), 0);
    EXPECT_EQ(ScreenCurrentWin()->file, 3);
    EXPECT_EQ(ScreenDestroy(kScreenCurrent), 0);
    EXPECT_EQ(ScreenCount(), 0);
    EXPECT_EQ(ScreenCurrentWin(), nullptr);
}

}  // namespace
}  // namespace rt::test
