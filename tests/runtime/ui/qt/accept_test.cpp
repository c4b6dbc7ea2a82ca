// Field-entry dialogs driven like a user on the offscreen desktop: what the dialog shows, the keys and
// buttons that end it, the values it gives back and remembers, and the credentials dialog's picture.
#include <gtest/gtest.h>

#include <QFileInfo>

#include "runtime/env/catalog.h"
#include "runtime/env/errors.h"
#include "runtime/env/fonts.h"
#include "runtime/env/streams.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/text_build.h"
#include "runtime/ui/accept.h"
#include "runtime/ui/screen.h"
#include "runtime/ui/ui_codes.h"
#include "runtime/vars/var_system.h"
#include "tests/support/qt_ui_fixture.h"
#include "tests/support/temp_folder.h"

namespace rt::test {
namespace {

class AcceptTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        ScreenInstall();
    }
    void TearDown() override {
        ScreenReset();
        UiTest::TearDown();
    }
    // Accept's outcome as one comparable text: status, key, values and condition.
    static std::string Outcome(const AcceptResult& r) {
        return std::to_string(r.status) + " key " + std::to_string(r.key) + " [" + Str(r.values) + "] [" +
               Str(r.condition) + "]";
    }
};

constexpr char kThree[] = "'Servidor:':'A30'::'localhost','Usuario:':'A30'::'postgres','Contrase\xF1" "a:':'P30'";

TEST_F(AcceptTest, ThreeFieldsShowTheirDefaultsAndGiveTheTypedPassword) {
    UiRobot robot;
    robot.OnWindow([](UiView& v) {
        EXPECT_EQ(v.caption(), "Acceso");
        std::vector<UiControl> labels, edits;
        for (const UiControl& c : v.controls()) {
            if (c.kind == "label") labels.push_back(c);
            if (c.kind == "edit") edits.push_back(c);
        }
        ASSERT_EQ(labels.size(), 3u);
        ASSERT_EQ(edits.size(), 3u);
        // Labels right-aligned, ending in one column where the inputs begin, one row each.
        for (const UiControl& l : labels) {
            EXPECT_TRUE(l.right_aligned);
            EXPECT_EQ(l.rect.right(), labels[0].rect.right());
            EXPECT_LE(l.rect.right(), edits[0].rect.left());
        }
        EXPECT_EQ(labels[2].text, "Contraseña:");
        EXPECT_LT(labels[0].rect.top(), labels[1].rect.top());
        EXPECT_EQ(edits[0].text, "localhost");
        EXPECT_EQ(edits[1].text, "postgres");
        EXPECT_EQ(edits[2].text, "");
        EXPECT_FALSE(edits[0].masked);
        EXPECT_TRUE(edits[2].masked);
        EXPECT_EQ(v.focused_id(), kIdFieldBase);
        v.Key(Qt::Key_Tab);
        v.Key(Qt::Key_Tab);
        EXPECT_EQ(v.focused_id(), kIdFieldBase + 2);
        v.Type("s3cr eto");
        v.Click(kIdOk);
    });
    const AcceptResult r = Accept(S("Acceso"), S(kThree));
    EXPECT_EQ(Outcome(r), "0 key 0 ['localhost','postgres','s3cr eto'] []");
    EXPECT_EQ(WinCount(), 0);
    EXPECT_EQ(ScreenCount(), 0);
}

// With ';' and no ':' the parts are separated by ';'; Enter on the last field confirms.
TEST_F(AcceptTest, SemicolonsStandForColons) {
    UiRobot robot;
    robot.OnWindow([](UiView& v) {
        EXPECT_EQ(v.control(kIdFieldBase + 1).text, "postgres");
        v.Key(Qt::Key_Return);
        v.Key(Qt::Key_Return);
        v.Type("clave");
        v.Key(Qt::Key_Return);
    });
    const AcceptResult r = Accept(S(""), S("'Servidor';'A30';;'db1','Usuario';'A30';;'postgres','Clave';'P30'"));
    EXPECT_EQ(Outcome(r), "0 key 0 ['db1','postgres','clave'] []");
}

// Escape cancels: status 122, no values, and what was remembered stays; the next dialog of the same
// form shows the values confirmed last.
TEST_F(AcceptTest, EscapeCancelsAndTheLastConfirmedValuesComeBack) {
    const char* form = "'Nombre:':'A20','Ciudad:':'A20'";
    UiRobot robot;
    robot.OnWindow([](UiView& v) {
        v.Type("Ana");
        v.Key(Qt::Key_Tab);
        v.Type("Madrid");
        v.Key(Qt::Key_Return);
    });
    robot.OnWindow([](UiView& v) {
        EXPECT_EQ(v.control(kIdFieldBase).text, "Ana");
        EXPECT_EQ(v.control(kIdFieldBase + 1).text, "Madrid");
        v.Type("Luis");
        v.Key(Qt::Key_Escape);
    });
    robot.OnWindow([](UiView& v) {
        EXPECT_EQ(v.control(kIdFieldBase).text, "Ana");
        v.CloseBox();
    });
    EXPECT_EQ(Outcome(Accept(S(""), D(form))), "0 key 0 ['Ana','Madrid'] []");
    EXPECT_EQ(Outcome(Accept(S(""), D(form))), "122 key 3 [] []");
    EXPECT_EQ(Str(SlotGet(kRunTextsGroup, kSlotAcceptValues)), "'Ana','Madrid'");
    EXPECT_EQ(Outcome(Accept(S(""), D(form))), "122 key 3 [] []");
    EXPECT_EQ(robot.pending(), 0u);
}

// The close box right after Enter counts as confirmation; typed texts cross as Windows-1252, a
// value holding ' comes back in double quotes.
TEST_F(AcceptTest, TypedTextsComeBackByteForByte) {
    UiRobot robot;
    robot.OnWindow([](UiView& v) {
        v.Type(QString::fromUtf8("Peña 5€"));
        v.Key(Qt::Key_Return);
        v.Type(QString::fromUtf8("O'Brien Ω"));
        v.Key(Qt::Key_Return);
        v.CloseBox();
    });
    const AcceptResult r = Accept(S(""), S("'Nombre:':'A20','Otro:':'A20','Tercero:':'A5'"));
    EXPECT_EQ(Outcome(r), "0 key 0 ['Pe\xF1" "a 5\x80',\"O'Brien ?\",''] []");
}

TEST_F(AcceptTest, ALogicalFieldIsATickedCheckBox) {
    SysBitsSet(kSysAuxStat, static_cast<std::uint16_t>(SysBits(kSysAuxStat) | 16));
    UiRobot robot;
    robot.OnWindow([](UiView& v) {
        EXPECT_EQ(v.control(kIdFieldBase + 1).kind, "check");
        EXPECT_EQ(v.control(kIdFieldBase + 1).text, "1");
        v.Click(kIdOk);
    });
    robot.OnWindow([](UiView& v) {
        v.Key(Qt::Key_Tab);
        EXPECT_EQ(v.focused_id(), kIdFieldBase + 1);
        v.Key(Qt::Key_Space);  // clears it
        v.Key(Qt::Key_Return);
    });
    const char* form = "'Fichero:':'A255'::'salida.txt','Modo a\xF1" "adir:':'L1'::'1'";
    EXPECT_EQ(Outcome(Accept(S(""), D(form))), "0 key 0 ['salida.txt','SI'] []");
    EXPECT_EQ(Outcome(Accept(S(""), D(form))), "0 key 0 ['salida.txt',''] []");
}

// With _INHND naming an input that has a line left, that line is the answer and no window opens.
TEST_F(AcceptTest, BatchInputAnswersWithoutADialog) {
    TempFolder folder;
    folder.Write("respuestas.txt", "'db1','ana'\r\n");
    std::string path = folder.File("respuestas.txt");
    const std::uint16_t h = StreamOpen(D(path), kStreamReadOnly);
    ASSERT_LT(h, kStreamCount);
    SysVarSet(kSysInHnd, static_cast<std::int16_t>(h));
    EXPECT_EQ(Outcome(Accept(S(""), S("'Base:':'A30','Usuario:':'A30'"))), "0 key 0 ['db1','ana'] []");
    EXPECT_EQ(WinCount(), 0);
    EXPECT_EQ(SlotGet(kRunTextsGroup, kSlotAcceptValues).len, 0);  // nothing remembered
    StreamClose(h);
    SysVarSet(kSysInHnd, 0);
}

// EDIT$ lists C then A: C is entered first, then A, then B with its own number.
TEST_F(AcceptTest, EditOrderFollowsEditList) {
    UiRobot robot;
    robot.OnWindow([](UiView& v) {
        EXPECT_EQ(v.focused_id(), kIdFieldBase + 2);
        v.Type("c");
        v.Key(Qt::Key_Tab);
        EXPECT_EQ(v.focused_id(), kIdFieldBase);
        v.Type("a");
        v.Key(Qt::Key_Tab);
        EXPECT_EQ(v.focused_id(), kIdFieldBase + 1);
        v.Type("b");
        v.Key(Qt::Key_Tab, Qt::ShiftModifier);
        EXPECT_EQ(v.focused_id(), kIdFieldBase);
        v.Key(Qt::Key_Tab);
        v.Key(Qt::Key_Return);
    });
    const AcceptResult r = Accept(S(""), S("'A:':'A5','B:':'A5','C:':'A5' /FD$=\"_A$,_B$,_C$\":EDIT$=\"_C$,_A$\""));
    EXPECT_EQ(Outcome(r), "0 key 0 ['a','b','c'] []");
}

// A hidden field has no control and keeps its value.
TEST_F(AcceptTest, AHiddenFieldKeepsItsValue) {
    UiRobot robot;
    robot.OnWindow([](UiView& v) {
        EXPECT_EQ(v.controls().size(), 4u);  // two labels, one edit, "Ok"
        v.Type("x");
        v.Key(Qt::Key_Return);
    });
    const AcceptResult r = Accept(S(""), S("'A:':'A5','B:':'A6'::'oculto' /FD$=\"_A$,_B$\":HIDDEN$=\"_B$\""));
    EXPECT_EQ(Outcome(r), "0 key 0 ['x','oculto'] []");
}

// An ALARM$ that does not hold keeps the focus in its field and answers 126; once it holds, the
// field can be left.
TEST_F(AcceptTest, AnAlarmKeepsTheFocus) {
    UiRobot robot;
    robot.OnWindow([](UiView& v) {
        v.Type("0");
        v.Key(Qt::Key_Return);
        EXPECT_EQ(v.focused_id(), kIdFieldBase);
        EXPECT_EQ(WinTop(), v.window());
        EXPECT_EQ(ScreenAction(kActNextField), kErrBadData);
        EXPECT_EQ(Str(ErrDetail()), "La edad debe ser positiva");
        v.Key(Qt::Key_Backspace);
        v.Type("7");
        v.Key(Qt::Key_Return);
    });
    const AcceptResult r = Accept(S(""), S("'Edad:':'N3' /FD$=\"_EDAD#\":ALARM$=\"_EDAD#>0;'La edad debe ser positiva'\""));
    EXPECT_EQ(Outcome(r), "0 key 0 ['  7'] []");
}

// A variable as binding receives the value; ON_CONFIRM$ runs on confirmation, not on cancel.
TEST_F(AcceptTest, TargetsAndConfirmStatements) {
    UiRobot robot;
    robot.OnWindow([](UiView& v) {
        v.Type("12");
        v.Key(Qt::Key_Return);
        v.Key(Qt::Key_Return);
    });
    robot.OnWindow([](UiView& v) { v.Key(Qt::Key_Escape); });
    const char* form = "'Cantidad:':'N4':CANT#::,'Nombre:':'A10':NOM$:'luis' /ON_CONFIRM$=\"HECHO#=1\":ON_CANCEL$=\"HECHO#=2\"";
    EXPECT_EQ(Outcome(Accept(S(""), D(form))), "0 key 0 ['  12','luis'] []");
    EXPECT_EQ(Str(VarGetText(S("CANT#"))), "12");
    EXPECT_EQ(Str(VarGetText(S("NOM$"))), "luis");
    EXPECT_EQ(Str(VarGetText(S("HECHO#"))), "1");
    EXPECT_EQ(Accept(S(""), D(form)).status, kErrCancelled);
    EXPECT_EQ(Str(VarGetText(S("HECHO#"))), "2");
}

// The credentials dialog as the SQL login shows it (catalog 0091 captioned by 0090), in the
// application's screen font, with the defaults of a first start.
TEST_F(AcceptTest, CredentialsDialogScreenshot) {
    ASSERT_EQ(FontSet(21, 9, 400, S("Courier New")), 0);
    StrDesc form = FormatText(1000, MsgText("0091"), "'localhost'", "", "", "");
    UiRobot robot;
    std::string shot;
    robot.OnWindow([&](UiView& v) {
        EXPECT_EQ(v.caption(), "Acceso a Datos");
        EXPECT_EQ(v.control(kIdFieldBase).text, "localhost");
        EXPECT_TRUE(v.control(kIdFieldBase + 3).masked);
        v.Key(Qt::Key_Tab);
        v.Type("contactos");
        v.Key(Qt::Key_Tab);
        v.Type("ana");
        v.Key(Qt::Key_Tab);
        v.Type("clave");
        shot = v.Screenshot("credentials_dialog");
        v.Key(Qt::Key_Escape);
    });
    EXPECT_EQ(Accept(MsgText("0090"), form).status, kErrCancelled);
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(shot))) << shot;
}

}  // namespace
}  // namespace rt::test
