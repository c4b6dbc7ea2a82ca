// The maintenance scenarios a user lives through on the desktop: a screen of the contact table in a
// runtime window on the offscreen Qt desktop, contacts typed into its edit controls with real key and
// mouse events, the commands of the contact dialog, and every message box read and answered by the
// UI robot. Each command must show exactly the boxes its row expects: one that does not come fails
// the robot, one more than expected fails the watchdog below.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_handles.h"
#include "runtime/env/fonts.h"
#include "runtime/mant/mant_action.h"
#include "runtime/text/err_codes.h"
#include "runtime/ui/cell_geometry.h"
#include "runtime/ui/ui_codes.h"
#include "runtime/ui/win_create.h"
#include "runtime/ui/win_procs.h"
#include "runtime/ui/win_stack.h"
#include "runtime/vars/variables.h"
#include "tests/runtime/mant/mant_fixture.h"
#include "tests/support/qt_ui_robot.h"

namespace rt::test {
namespace {

// The boxes as the robot reads them: "caption: text".
const std::string kInfoBox = "Mensaje Informativo: ";
const std::string kQuestionBox = "Solicitud de Informaci\xC3\xB3n: ";
const std::string kEndOfFileBox = kInfoBox + "Fin de fichero";
const std::string kNotFoundBox = kInfoBox + "Clave no encontrada";
const std::string kBadKeyBox = kInfoBox + "Clave incorrecta";
const std::string kChangedBox = kInfoBox + "Datos Cambiados. Grabaci\xC3\xB3n canceleda";
const std::string kKeyRefusedBox = kQuestionBox + "Modificaci\xC3\xB3n de Clave descartada";
const std::string kAskDeleteBox = kQuestionBox + "\xC2\xBF" "Anular Registro(s)?";

using Boxes = std::vector<std::string>;

class MantScenarioTest : public ContactsTestOn<QtDesktop> {
protected:
    void SetUp() override {
        ContactsTestOn::SetUp();
        FontReset();
        GridReset();
        WinLayerReset();
        ScreenInstall();
        // The maintenance window: the contact screen's three edit controls in a runtime window.
        window_ = WinCreateKind(kWinKindMant, S("Contactos"), 0, WinRect{80, 80, 420, 160}, nullptr);
        ASSERT_NE(window_, kNoWindow);
        MakeScreen(kContactScreen);
        WinSetScreenIndex(window_, static_cast<std::int16_t>(ScreenWinSelect(kScreenCurrent)));
        ASSERT_EQ(ScreenSetWin(2), 0);
        desktop_.WindowShow(window_, true, false);
        ASSERT_TRUE(UiRobot::WaitUntil([&] { return QtWidgetOf(window_)->isActiveWindow(); }, 3000));

        // An extra box would wait for an answer nobody gives: the watchdog fails the test and
        // closes it when it has been showing for a while with no robot step left to answer it.
        QObject::connect(&watchdog_, &QTimer::timeout, [this] { Watch(); });
        watchdog_.start(20);
    }
    void TearDown() override {
        watchdog_.stop();
        ScreenReset();
        while (WinTop() != kNoWindow) WinDestroy(WinTop());
        desktop_.Pump();
        WinLayerReset();
        GridReset();
        WinScreenHooksSet(nullptr);
        VarScreenHookSet(nullptr);
        ContactsTestOn::TearDown();
    }

    // Runs the command with a robot that answers each expected box (Yes where the box asks, else
    // OK): "<result> <fields shown>", the boxes seen in *seen.
    std::string Act(std::uint16_t code, std::size_t boxes, Boxes* seen, const char* answer = "Yes") {
        return Run([code] { return MantAction(code); }, boxes, seen, answer);
    }
    std::string Find(const char* text, std::size_t boxes, Boxes* seen) {
        return Run([text] { return MantFind(StrFromC(text), 1); }, boxes, seen, "Yes");
    }
    std::string Run(const std::function<ErrCode()>& command, std::size_t boxes, Boxes* seen, const char* answer) {
        UiRobot robot(3000);
        for (std::size_t i = 0; i < boxes; ++i) {
            robot.OnBox([answer](UiView& v) {
                const bool asks = static_cast<QMessageBox*>(v.top())->button(QMessageBox::Yes) != nullptr;
                v.ClickButton(asks ? answer : "OK");
            });
        }
        robot_ = &robot;
        const ErrCode r = command();
        robot_ = nullptr;
        *seen = robot.boxes_seen();
        return std::to_string(r) + " " + Fields();
    }

    // The edit controls as the user sees them: "RS|NOM|TEL".
    std::string Fields() {
        desktop_.Pump();
        UiView view(UiKind::kRuntimeWindow, QtWidgetOf(window_), window_);
        std::string out;
        for (std::uint16_t i = 0; i < 3; ++i) out += (i == 0 ? "" : "|") + view.control(kIdFieldBase + i).text;
        return out;
    }
    // The user clicks into field i (1-based), rubs out what it shows, types text and clicks into
    // another field.
    void Type(std::uint16_t field, const std::string& text) {
        UiView view(UiKind::kRuntimeWindow, QtWidgetOf(window_), window_);
        const std::uint16_t id = static_cast<std::uint16_t>(kIdFieldBase + field - 1);
        view.Click(id);
        ASSERT_TRUE(UiRobot::WaitUntil([&] { return view.focused_id() == id; }, 3000));
        view.Key(Qt::Key_End);
        for (std::size_t n = view.control(id).text.size(); n > 0; --n) view.Key(Qt::Key_Backspace);
        view.Type(QString::fromStdString(text));
        const std::uint16_t other = field == 1 ? kIdFieldBase + 1 : kIdFieldBase;
        view.Click(other);
        ASSERT_TRUE(UiRobot::WaitUntil([&] { return view.focused_id() == other; }, 3000));
    }

    void Watch() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible() || (robot_ != nullptr && robot_->pending() != 0)) {
            unanswered_ = 0;
            return;
        }
        if (++unanswered_ < 50) return;
        unanswered_ = 0;
        ADD_FAILURE() << "a box nobody expected: " << box->windowTitle().toStdString() << ": "
                      << box->text().toStdString();
        box->done(0);
    }

    WinHandle window_ = kNoWindow;
    UiRobot* robot_ = nullptr;
    QTimer watchdog_;
    int unanswered_ = 0;
};

struct Step {
    std::uint16_t code;
    std::string shown;  // "<result> <fields>"
    Boxes boxes;
};

TEST_F(MantScenarioTest, PagingInKeyOrderAndPastBothEnds) {
    const std::vector<Step> steps = {
        {kMantFirst, "0 ALFA|Zoe|111", {}},
        {kMantNext, "0 BETA|Beatriz|222", {}},
        {kMantNext, "0 GAMMA|Carlos|333", {}},
        {kMantNext, "2 ||", {kEndOfFileBox}},     // past the last: blank fields
        {kMantNext, "0 ALFA|Zoe|111", {}},        // again: the first key that is not blank
        {kMantPrevious, "1 ||", {kNotFoundBox}},  // before the first
        {kMantLast, "0 GAMMA|Carlos|333", {}},
    };
    for (const Step& s : steps) {
        Boxes seen;
        EXPECT_EQ(Act(s.code, s.boxes.size(), &seen), s.shown) << "code " << std::hex << s.code;
        EXPECT_EQ(seen, s.boxes) << "code " << std::hex << s.code;
    }
    EXPECT_EQ(Rows(), "ALFA=Zoe/111 BETA=Beatriz/222 GAMMA=Carlos/333");  // paging wrote nothing
}

TEST_F(MantScenarioTest, LettersFindAtOrAfterAndABlankTextTurnsTheKey) {
    db().ExecOk("INSERT INTO contactos VALUES ('GARCIA', 'Ana', NULL), ('GOMEZ', 'Ana', NULL), "
                "('ANTON', 'Ana', NULL);");
    struct Case {
        const char* text;
        std::string shown;
        Boxes boxes;
    };
    const std::vector<Case> cases = {
        {"GA", "0 GAMMA|Carlos|333", {}},
        {"GU", "2 GAMMA|Carlos|333", {kEndOfFileBox}},  // nothing at or after: the fields stay
        {"GB", "1 GOMEZ|Ana|", {kNotFoundBox}},         // the next key, which does not start with GB
    };
    for (const Case& c : cases) {
        Boxes seen;
        EXPECT_EQ(Find(c.text, c.boxes.size(), &seen), c.shown) << c.text;
        EXPECT_EQ(seen, c.boxes) << c.text;
    }

    // A blank text turns the active key (1, 2, back to 1) and reads nothing.
    Boxes seen;
    EXPECT_EQ(Find("", 0, &seen), "2 GOMEZ|Ana|");
    EXPECT_EQ(FileCtrl(file_).activeKey, 2);
    // By NOMBRE, the three contacts called Ana are stepped one by one (in the order the server gives
    // rows of one key), then the next name; back from it comes the last of them.
    std::vector<std::string> ana;
    for (std::uint16_t code : {kMantFirst, kMantNext, kMantNext}) ana.push_back(Act(code, 0, &seen));
    EXPECT_EQ(Act(kMantNext, 0, &seen), "0 BETA|Beatriz|222");
    EXPECT_EQ(Act(kMantPrevious, 0, &seen), ana.back());
    std::sort(ana.begin(), ana.end());
    EXPECT_EQ(ana, (std::vector<std::string>{"0 ANTON|Ana|", "0 GARCIA|Ana|", "0 GOMEZ|Ana|"}));
    Find(" ", 0, &seen);
    EXPECT_EQ(FileCtrl(file_).activeKey, 1);
}

TEST_F(MantScenarioTest, SavesWriteWhatWasTypedAndNothingElse) {
    Boxes seen;
    Act(kMantFirst, 0, &seen);
    // Unchanged: nothing sent, nothing shown.
    ClearTrace();
    EXPECT_EQ(Act(kMantSave, 0, &seen), "0 ALFA|Zoe|111");
    EXPECT_TRUE(Statements().empty()) << Statements().front();

    // New, a typed contact, next: inserted, then the contact after it.
    EXPECT_EQ(Act(kMantNew, 0, &seen), "0 ||");
    Type(1, "ANTON");
    Type(2, "Nuevo");
    EXPECT_EQ(Act(kMantNext, 0, &seen), "0 BETA|Beatriz|222");
    EXPECT_EQ(Rows(), "ALFA=Zoe/111 ANTON=Nuevo/ BETA=Beatriz/222 GAMMA=Carlos/333");

    // New with a blank key: nothing written, nothing shown, what was typed stays.
    Act(kMantNew, 0, &seen);
    Type(2, "sin clave");
    ClearTrace();
    EXPECT_EQ(Act(kMantSave, 0, &seen), "0 |sin clave|");
    EXPECT_TRUE(Statements().empty()) << Statements().front();

    // A changed key 1 is refused: neither saved nor moved.
    Act(kMantFirst, 0, &seen);
    Type(1, "ALFAX");
    ClearTrace();
    EXPECT_EQ(Act(kMantNext, 1, &seen), "0 ALFAX|Zoe|111");
    EXPECT_EQ(seen, Boxes{kKeyRefusedBox});
    EXPECT_TRUE(Statements().empty()) << Statements().front();
    EXPECT_EQ(Rows(), "ALFA=Zoe/111 ANTON=Nuevo/ BETA=Beatriz/222 GAMMA=Carlos/333");
}

TEST_F(MantScenarioTest, DeletesAskFirst) {
    Boxes seen;
    // Declined: nothing happens.
    Act(kMantFirst, 0, &seen);
    EXPECT_EQ(Act(kMantDelete, 1, &seen, "No"), "122 ALFA|Zoe|111");
    EXPECT_EQ(seen, Boxes{kAskDeleteBox});
    // After new there is nothing to delete.
    Act(kMantNew, 0, &seen);
    EXPECT_EQ(Act(kMantDelete, 2, &seen), "5 ||");
    EXPECT_EQ(seen, (Boxes{kAskDeleteBox, kBadKeyBox}));
    // The highest key: deleted, and no contact after it to show.
    Act(kMantLast, 0, &seen);
    EXPECT_EQ(Act(kMantDelete, 1, &seen), "0 ||");
    EXPECT_EQ(seen, Boxes{kAskDeleteBox});
    EXPECT_EQ(Rows(), "ALFA=Zoe/111 BETA=Beatriz/222");
}

TEST_F(MantScenarioTest, AContactDeletedByAnotherUserIsNotWrittenAgain) {
    Boxes seen;
    Act(kMantFirst, 0, &seen);
    db().ExecOk("DELETE FROM contactos WHERE \"RAZON_SOCIAL\" = 'ALFA';");
    Type(2, "Zoe Maria");
    ClearTrace();
    EXPECT_EQ(Act(kMantSave, 1, &seen), "7 ||");
    EXPECT_EQ(seen, Boxes{kChangedBox});
    // The save's guarded UPDATE touches no row, and the contact is not inserted again.
    for (const std::string& s : Statements()) EXPECT_EQ(s.rfind("INSERT", 0), std::string::npos) << s;
    EXPECT_EQ(Rows(), "BETA=Beatriz/222 GAMMA=Carlos/333");
}

}  // namespace
}  // namespace rt::test
