// The maintenance engine on a real contact table, as the contact dialog drives it: the seven command
// codes and the letter finds on a screen without fields, with the message boxes the user sees
// (terminal backend: each box is written to standard error as its caption and text, and answered
// with its first button).
#include <string>
#include <vector>

#include "runtime/mant/mant_action.h"
#include "runtime/text/err_codes.h"
#include "tests/runtime/mant/mant_fixture.h"

namespace rt::test {
namespace {

class MantActionTest : public ContactsTestOn<ConsoleDesktop> {
protected:
    void SetUp() override {
        ContactsTestOn::SetUp();
        // The contact dialog's screen: no fields, bound to the contact file.
        ASSERT_EQ(ScreenOpenPlain(file_), 0);
    }
    // Runs the action: "<result> <key 1 or -> | <boxes shown>".
    std::string Act(std::uint16_t code) {
        testing::internal::CaptureStderr();
        ErrCode r = MantAction(code);
        return Outcome(r, testing::internal::GetCapturedStderr());
    }
    std::string Find(const char* text) {
        testing::internal::CaptureStderr();
        ErrCode r = MantFind(StrFromC(text), 1);
        return Outcome(r, testing::internal::GetCapturedStderr());
    }
    std::string Outcome(ErrCode r, const std::string& boxes) {
        return std::to_string(r) + " " + (Blank(file_) ? "-" : Get(file_, 1)) + " | " + boxes;
    }
};

TEST_F(MantActionTest, PagingThroughTheContactsAndPastBothEnds) {
    EXPECT_EQ(Act(kMantFirst), "0 ALFA | ");
    EXPECT_EQ(Act(kMantNext), "0 BETA | ");
    EXPECT_EQ(Act(kMantNext), "0 GAMMA | ");
    EXPECT_EQ(Act(kMantNext), "2 - | " + kEndOfFile);
    EXPECT_EQ(Act(kMantPrevious), "0 GAMMA | ");  // previous at the end reads the last contact
    EXPECT_EQ(Act(kMantLast), "0 GAMMA | ");
    EXPECT_EQ(Act(kMantFirst), "0 ALFA | ");
    EXPECT_EQ(Act(kMantPrevious), "1 - | " + kNotFound);
    EXPECT_EQ(Act(kMantNext), "0 ALFA | ");
    EXPECT_EQ(Rows(), "ALFA=Zoe/111 BETA=Beatriz/222 GAMMA=Carlos/333");  // paging wrote nothing
}

TEST_F(MantActionTest, SavingWritesOnlyWhatChangedAndNothingForABlankKey) {
    Act(kMantFirst);
    ClearTrace();
    EXPECT_EQ(Act(kMantSave), "0 ALFA | ");
    EXPECT_TRUE(Statements().empty());  // unchanged: nothing sent, nothing shown
    Set(file_, 3, "999");
    EXPECT_EQ(Act(kMantNext), "0 BETA | ");  // moving away saves first
    EXPECT_EQ(Rows(), "ALFA=Zoe/999 BETA=Beatriz/222 GAMMA=Carlos/333");

    // New, a typed contact, next: inserted, then the contact after it is shown.
    EXPECT_EQ(Act(kMantNew), "0 - | ");
    Set(file_, 1, "ANTON");
    Set(file_, 2, "Nuevo");
    EXPECT_EQ(Act(kMantNext), "0 BETA | ");
    EXPECT_EQ(Rows(), "ALFA=Zoe/999 ANTON=Nuevo/ BETA=Beatriz/222 GAMMA=Carlos/333");

    // New and save with a blank key 1: nothing written, nothing shown, the blank record stays.
    EXPECT_EQ(Act(kMantNew), "0 - | ");
    Set(file_, 2, "sin clave");
    ClearTrace();
    EXPECT_EQ(Act(kMantSave), "0  | ");
    EXPECT_TRUE(Statements().empty());
    EXPECT_EQ(Get(file_, 2), "sin clave");

    // A new contact saved twice: the second save updates the row the first one inserted.
    Set(file_, 1, "DELTA");
    EXPECT_EQ(Act(kMantSave), "0 DELTA | ");
    Set(file_, 3, "444");
    EXPECT_EQ(Act(kMantSave), "0 DELTA | ");
    EXPECT_EQ(db().Value("SELECT \"NOMBRE\" || '/' || \"TELEFONO\" FROM contactos WHERE \"RAZON_SOCIAL\" = 'DELTA';"),
              "sin clave/444");

    // A contact typed into the blank fields left by the end of the file is inserted by Grabar.
    Act(kMantLast);
    EXPECT_EQ(Act(kMantNext), "2 - | " + kEndOfFile);
    Set(file_, 1, "OMEGA");
    EXPECT_EQ(Act(kMantSave), "0 OMEGA | ");
    EXPECT_EQ(db().Value("SELECT count(*) FROM contactos WHERE \"RAZON_SOCIAL\" = 'OMEGA';"), "1");
    // Inserting a key that exists: "Clave incorrecta", and the stored record is read at that key.
    Act(kMantNew);
    Set(file_, 1, "BETA");
    Set(file_, 2, "otra");
    EXPECT_EQ(Act(kMantSave), "5 BETA | " + kBadKey);
    EXPECT_EQ(Get(file_, 2), "Beatriz");
}

TEST_F(MantActionTest, AChangedKeyIsRefusedAndDeletesAsk) {
    Act(kMantFirst);
    Set(file_, 1, "ALFAX");
    ClearTrace();
    EXPECT_EQ(Act(kMantNext), "0 ALFAX | " + kKeyRefused);
    EXPECT_TRUE(Statements().empty());  // neither saved nor moved
    EXPECT_EQ(Rows(), "ALFA=Zoe/111 BETA=Beatriz/222 GAMMA=Carlos/333");
    // Every command but delete stays refused while the key is changed.
    EXPECT_EQ(Act(kMantSave), "0 ALFAX | " + kKeyRefused);
    Set(file_, 1, "ALFA");

    // Delete of a new record: asked, then "Clave incorrecta".
    EXPECT_EQ(Act(kMantNew), "0 - | ");
    EXPECT_EQ(Act(kMantDelete), "5 - | " + kAskDelete + kBadKey);
    // Delete of a contact reads the one after it; the highest one leaves blank fields and no message.
    Act(kMantFirst);
    EXPECT_EQ(Act(kMantDelete), "0 BETA | " + kAskDelete);
    Act(kMantLast);
    EXPECT_EQ(Act(kMantDelete), "0 - | " + kAskDelete);
    EXPECT_EQ(Rows(), "BETA=Beatriz/222");
}

TEST_F(MantActionTest, LettersFindTheFirstKeyAtOrAfterThemAndABlankOneTurnsTheKey) {
    db().ExecOk("INSERT INTO contactos VALUES ('GARCIA', 'Ana', NULL), ('GOMEZ', 'Luis', NULL);");
    EXPECT_EQ(Find("GA"), "0 GAMMA | ");
    EXPECT_EQ(Find("GAR"), "0 GARCIA | ");
    EXPECT_EQ(Find("GU"), "2 GARCIA | " + kEndOfFile);
    EXPECT_EQ(Find("GB"), "1 GOMEZ | " + kNotFound);
    EXPECT_EQ(Find("Z"), "2 GOMEZ | " + kEndOfFile);
    // The row a failed find left is not inserted again by the next command.
    EXPECT_EQ(Act(kMantNext), "2 - | " + kEndOfFile);
    // A blank text moves the active key on: 1, 2, back to 1, without reading.
    EXPECT_EQ(FileCtrl(file_).activeKey, 1);
    EXPECT_EQ(Find("  "), "2 - | ");
    EXPECT_EQ(FileCtrl(file_).activeKey, 2);
    EXPECT_EQ(Act(kMantFirst), "0 GARCIA | ");  // Ana, first by NOMBRE
    Find("");
    EXPECT_EQ(FileCtrl(file_).activeKey, 1);
}

TEST_F(MantActionTest, AContactAnotherUserChangedOrDeletedIsNotOverwritten) {
    Act(kMantFirst);
    // Another connection deletes the contact between the read and the save.
    db().ExecOk("DELETE FROM contactos WHERE \"RAZON_SOCIAL\" = 'ALFA';");
    Set(file_, 2, "Zoe Maria");
    ClearTrace();
    EXPECT_EQ(Act(kMantSave), "7 - | " + kChanged);
    // The save's guarded UPDATE touches no row, and the contact is not inserted again.
    for (const std::string& s : Statements()) EXPECT_EQ(s.rfind("INSERT", 0), std::string::npos) << s;
    EXPECT_EQ(Rows(), "BETA=Beatriz/222 GAMMA=Carlos/333");

    // Another user changed the TELEFONO this user changes too: refused, the other number stays.
    Act(kMantFirst);
    db().ExecOk("UPDATE contactos SET \"TELEFONO\" = '555' WHERE \"RAZON_SOCIAL\" = 'BETA';");
    Set(file_, 3, "666");
    EXPECT_EQ(Act(kMantNext), "7 BETA | " + kChanged);
    EXPECT_EQ(Get(file_, 3), "555");  // read again: the user now sees the stored number
    EXPECT_EQ(Rows(), "BETA=Beatriz/555 GAMMA=Carlos/333");
}

}  // namespace
}  // namespace rt::test
