// Message boxes on the terminal backend: caption then text on standard error, answered with the
// first button; and the answers of a box no desktop can show.
#include <gtest/gtest.h>

#include <string>

#include "platform/console/console_desktop.h"
#include "runtime/env/catalog.h"
#include "runtime/ui/message_box.h"
#include "tests/support/desktop_fixture.h"
#include "tests/support/language_file.h"
#include "tests/support/runtime_fixture.h"

namespace rt {
namespace {

using ConsoleMessageBoxTest = test::DesktopTest<ConsoleDesktop>;

TEST_F(ConsoleMessageBoxTest, WritesCaptionThenTextAndAnswersTheFirstButton) {
    struct Case {
        std::uint16_t kind;
        const char* caption;  // UTF-8 as the terminal receives it
        std::uint8_t answer;
    };
    const Case cases[] = {
        {0, "Solicitud de Informaci\xC3\xB3n", 'S'}, {1, "Mensaje Informativo", 'S'},
        {2, "Solicitud de Informaci\xC3\xB3n", 'S'}, {3, "Alerta de Mensaje Fatal", 'S'},
        {4, "Mensaje Informativo", 'S'},             {5, "Solicitud de Informaci\xC3\xB3n", 'S'},
        {6, "Solicitud de Informaci\xC3\xB3n", 'S'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind);
        testing::internal::CaptureStderr();
        const std::uint8_t answer = MsgShow(S("Fin de fichero\r\nA\xF1o \x80"), StrEmpty(), c.kind);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(answer, c.answer);
        EXPECT_EQ(err, std::string(c.caption) + "\nFin de fichero\nA\xC3\xB1o \xE2\x82\xAC\n");
    }

    testing::internal::CaptureStderr();
    EXPECT_TRUE(MsgAsk(S("\xBF" "Anular Registro(s)?")));
    MsgInfo(S("Quintara"), S("Acerca de"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Solicitud de Informaci\xC3\xB3n\n\xC2\xBF" "Anular Registro(s)?\nAcerca de\nQuintara\n");
}

// Without a desktop nothing can be shown: the answer is the box's least confirming button.
TEST_F(ConsoleMessageBoxTest, WithoutADesktopBoxesNeverConfirm) {
    DesktopSet(nullptr);
    EXPECT_EQ(MsgShow(S("x"), StrEmpty(), kMsgInfo), 'S');
    EXPECT_EQ(MsgShow(S("x"), StrEmpty(), kMsgOkCancel), kMsgAnswerCancel);
    EXPECT_EQ(MsgShow(S("x"), StrEmpty(), kMsgRetryCancel), kMsgAnswerCancel);
    EXPECT_EQ(MsgShow(S("x"), StrEmpty(), kMsgYesNo), 'N');
    EXPECT_EQ(MsgShow(S("x"), StrEmpty(), kMsgYesNoCancel), kMsgAnswerCancel);
    EXPECT_FALSE(MsgAsk(S("x")));
}

TEST_F(ConsoleMessageBoxTest, AnswerLetterFollowsTheLanguageFile) {
    test::LanguageFile language("EN", "0011 Yy,Nn\r\n0012 Notice\r\n0013 Fatal alert\r\n0014 Information request\r\n");

    testing::internal::CaptureStderr();
    EXPECT_EQ(MsgShow(S("Continue?"), StrEmpty(), kMsgYesNo), 'Y');
    EXPECT_TRUE(MsgAsk(S("Continue?")));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Information request\nContinue?\nInformation request\nContinue?\n");

    DesktopSet(nullptr);
    EXPECT_EQ(MsgShow(S("x"), StrEmpty(), kMsgYesNo), 'N');
}

// A language file whose range covers "0011" without holding it leaves the answer letters empty; Yes
// and No must still answer differently, so that a No never confirms.
TEST_F(ConsoleMessageBoxTest, AnswersStayApartWhenTheLanguageFileLacksTheLetters) {
    test::LanguageFile language("EN", "0010 Ten\r\n0012 Notice\r\n");
    ASSERT_EQ(MsgText("0011").len, 0);

    testing::internal::CaptureStderr();
    EXPECT_TRUE(MsgAsk(S("Continue?")));  // the terminal answers Yes
    testing::internal::GetCapturedStderr();
    DesktopSet(nullptr);                   // no desktop: the box answers No
    EXPECT_FALSE(MsgAsk(S("Continue?")));
    EXPECT_NE(MsgShow(S("x"), StrEmpty(), kMsgYesNo), 0);
}

TEST(ConsoleFontMetrics, CellIsTheRequestedSizeOrTheTerminalCell) {
    ConsoleDesktop desktop;
    const CharMetrics asked = desktop.FontMetrics(FontRequest{u"Courier New", 21, 9, 400});
    EXPECT_EQ(asked.avg_width, 9);
    EXPECT_EQ(asked.height, 21);
    const CharMetrics unsized = desktop.FontMetrics(FontRequest{});
    EXPECT_EQ(unsized.avg_width, ConsoleDesktop::kCellWidth);
    EXPECT_EQ(unsized.height, ConsoleDesktop::kCellHeight);
}

}  // namespace
}  // namespace rt
