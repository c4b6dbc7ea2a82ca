// The maintenance engine on a screen whose fields are bound to the contact table: the fields show the
// record each command leaves, what is typed into them reaches the record and is saved by the next
// command, and the screen's SAVED$, SET$ and IK$(1) take part (terminal backend: boxes go to
// standard error and are answered with their first button).
#include <string>
#include <vector>

#include "runtime/expr/evaluator.h"
#include "runtime/mant/mant_action.h"
#include "runtime/text/err_codes.h"
#include "tests/runtime/mant/mant_fixture.h"

namespace rt::test {
namespace {

class MantScreenTest : public ContactsTestOn<ConsoleDesktop> {
protected:
    // Runs the action: "<result> <fields shown> | <boxes>".
    std::string Act(std::uint16_t code) {
        testing::internal::CaptureStderr();
        ErrCode r = MantAction(code);
        return std::to_string(r) + " " + Shown() + " | " + testing::internal::GetCapturedStderr();
    }
    std::string Find(const char* text) {
        testing::internal::CaptureStderr();
        ErrCode r = MantFind(StrFromC(text), 1);
        return std::to_string(r) + " " + Shown() + " | " + testing::internal::GetCapturedStderr();
    }
    // What the input flow does when the user leaves a field after typing into it.
    void Type(std::uint16_t field, const std::string& text) {
        ASSERT_EQ(ScreenFieldStore(kRefreshFound, field, D(text)), 0);
    }
    static std::string Value(const char* expression) {
        DynScope scope;
        return Str(ExpText(StrFromC(expression)));
    }

    struct Step {
        std::uint16_t code;
        std::string outcome;
    };
    void Run(const std::vector<Step>& steps) {
        for (const Step& s : steps) EXPECT_EQ(Act(s.code), s.outcome) << "code " << std::hex << s.code;
    }
};

TEST_F(MantScreenTest, TheFieldsShowTheRecordEachCommandLeaves) {
    MakeScreen(kContactScreen);
    ASSERT_EQ(ScreenCurrent()->file, file_);
    Run({
        {kMantFirst, "0 ALFA|Zoe|111 | "},
        {kMantNext, "0 BETA|Beatriz|222 | "},
        {kMantLast, "0 GAMMA|Carlos|333 | "},
        {kMantNext, "2 || | " + kEndOfFile},  // past the end: blank, as the record is
        {kMantPrevious, "0 GAMMA|Carlos|333 | "},
        {kMantFirst, "0 ALFA|Zoe|111 | "},
        {kMantPrevious, "1 || | " + kNotFound},
        {kMantNext, "0 ALFA|Zoe|111 | "},
        {kMantNew, "0 || | "},  // a new record shows blank fields
        {kMantNext, "0 ALFA|Zoe|111 | "},
    });
    // A letter shows the contact found; a miss keeps the fields.
    EXPECT_EQ(Find("GA"), "0 GAMMA|Carlos|333 | ");
    EXPECT_EQ(Find("Z"), "2 GAMMA|Carlos|333 | " + kEndOfFile);
}

TEST_F(MantScreenTest, WhatIsTypedIsSavedByTheNextCommandAndAFailedSaveShowsTheStoredRow) {
    MakeScreen(kContactScreen);
    Act(kMantFirst);
    Type(3, "999");
    EXPECT_EQ(Act(kMantNext), "0 BETA|Beatriz|222 | ");
    EXPECT_EQ(Rows(), "ALFA=Zoe/999 BETA=Beatriz/222 GAMMA=Carlos/333");

    // New, a typed contact, next: inserted, then the contact after it.
    EXPECT_EQ(Act(kMantNew), "0 || | ");
    Type(1, "ANTON");
    Type(2, "Nuevo");
    EXPECT_EQ(Act(kMantNext), "0 BETA|Beatriz|222 | ");
    EXPECT_EQ(Rows(), "ALFA=Zoe/999 ANTON=Nuevo/ BETA=Beatriz/222 GAMMA=Carlos/333");

    // A changed key is refused: the key field keeps what was typed, nothing is written or read.
    Type(1, "BETAX");
    EXPECT_EQ(Act(kMantNext), "0 BETAX|Beatriz|222 | " + kKeyRefused);
    Type(1, "BETA");

    // Deleting shows the contact after the deleted one; deleting the highest leaves blank fields.
    EXPECT_EQ(Act(kMantDelete), "0 GAMMA|Carlos|333 | " + kAskDelete);
    EXPECT_EQ(Act(kMantDelete), "0 || | " + kAskDelete);
    EXPECT_EQ(Rows(), "ALFA=Zoe/999 ANTON=Nuevo/");

    // Another user changed the number this user changes: refused, and the fields show the stored row.
    Act(kMantFirst);
    db().ExecOk("UPDATE contactos SET \"TELEFONO\" = '555' WHERE \"RAZON_SOCIAL\" = 'ALFA';");
    Type(3, "666");
    EXPECT_EQ(Act(kMantSave), "7 ALFA|Zoe|555 | " + kChanged);
    // A key that exists, typed into a new record: refused, and the stored contact is shown.
    Act(kMantNew);
    Type(1, "ANTON");
    Type(2, "otro");
    EXPECT_EQ(Act(kMantSave), "5 ANTON|Nuevo| | " + kBadKey);
    EXPECT_EQ(Rows(), "ALFA=Zoe/555 ANTON=Nuevo/");
}

TEST_F(MantScreenTest, SavedRunsAfterEachSucceededWriteAndSetAfterANewRecord) {
    ASSERT_EQ(ExpRun(S("GRABADOS=0;NUEVOS=0")), 0);
    MakeScreen(kContactScreen + ":SAVED$=\"GRABADOS=GRABADOS+1\":SET$=\",NUEVOS=NUEVOS+1\"");
    Act(kMantFirst);
    Type(2, "Zoe Maria");
    Act(kMantSave);
    EXPECT_EQ(Value("GRABADOS"), "2");
    EXPECT_EQ(Act(kMantNew), "0 || | ");
    EXPECT_EQ(Value("NUEVOS"), "1");
    // A refused insert runs neither.
    Type(1, "BETA");
    EXPECT_EQ(Act(kMantSave), "5 BETA|Beatriz|222 | " + kBadKey);
    EXPECT_EQ(Value("GRABADOS"), "3");
    EXPECT_EQ(Value("NUEVOS"), "1");
    EXPECT_EQ(Rows(), "ALFA=Zoe Maria/111 BETA=Beatriz/222 GAMMA=Carlos/333");
}

TEST_F(MantScreenTest, TheKeyPrefixKeepsEveryStepInsideItsRange) {
    db().ExecOk("INSERT INTO contactos VALUES ('BRAVO', 'Bruno', '444');");
    MakeScreen(kContactScreen + ":IK$(1)=\"'B'\"");
    Run({
        {kMantFirst, "0 BETA|Beatriz|222 | "},  // ALFA lies before the range
        {kMantNext, "0 BRAVO|Bruno|444 | "},
        // GAMMA lies after it: the range ends there, and the record read stays the one shown
        {kMantNext, "2 GAMMA|Carlos|333 | " + kEndOfFile},
        {kMantPrevious, "0 BRAVO|Bruno|444 | "},
        {kMantLast, "0 BRAVO|Bruno|444 | "},
        {kMantFirst, "0 BETA|Beatriz|222 | "},
        {kMantPrevious, "2 ALFA|Zoe|111 | " + kEndOfFile},
    });
    EXPECT_EQ(Find("GA"), "1 GAMMA|Carlos|333 | " + kNotFound);
}

TEST_F(MantScreenTest, ABlankFindTurnsTheWindowsKeyCounter) {
    MakeScreen(kContactScreen + ":INDEX%=2");
    EXPECT_EQ(ScreenCurrentWin()->active_key, 2);
    EXPECT_EQ(Find(" "), "2 || | ");
    EXPECT_EQ(ScreenCurrentWin()->active_key, 1);
    EXPECT_EQ(FileCtrl(file_).activeKey, 1);
    Find("");
    EXPECT_EQ(ScreenCurrentWin()->active_key, 2);
    EXPECT_EQ(Act(kMantFirst), "0 BETA|Beatriz|222 | ");  // first by NOMBRE
}

}  // namespace
}  // namespace rt::test
