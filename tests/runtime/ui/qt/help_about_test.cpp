// Help topics and the About box as a user sees them: the topic's lines in a box, the page looked for
// in the help folder and by its language's name, and boxes owned by the top runtime window.
#include <gtest/gtest.h>

#include "platform/qt/qt_handles.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/slot_table.h"
#include "runtime/ui/about_box.h"
#include "runtime/ui/help_topic.h"
#include "tests/support/qt_ui_fixture.h"
#include "tests/support/temp_folder.h"

namespace rt::test {
namespace {

class HelpTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        SlotSet(kRunGroup, kSlotIdentity, S("QT:Quintara"));
        SlotSet(kRunGroup, kSlotLanguage, S("ES"));
        SlotSet(kRunGroup, kSlotDefaultFolder, D(Runtime(defaults_.path())));
        SlotSet(kRunGroup, kSlotHelpFolder, D(Runtime(help_.path())));
    }
    static std::string Runtime(std::string p) {
        for (char& c : p)
            if (c == '/') c = '\\';
        return p;
    }
    TempFolder defaults_;
    TempFolder help_;
};

// Topic 3 of the application's page in the help folder: its first line captions the box.
TEST_F(HelpTest, ATopicIsShownFromTheHelpFolder) {
    help_.Write("QTHELP.HLP", "01 Otro\r\n03 Exportar\r\n03 Escribe los contactos\r\n03 en un fichero.\r\n");
    UiRobot robot;
    robot.OnBox([](UiView& v) {
        EXPECT_EQ(v.caption(), "Exportar");
        EXPECT_EQ(v.text(), "Escribe los contactos\nen un fichero.");
        v.ClickButton("OK");
    });
    EXPECT_EQ(HelpTopic(S(",3")), 0);
    EXPECT_EQ(robot.pending(), 0u);
}

TEST_F(HelpTest, MissingPagesAndTopicsGive164) {
    EXPECT_EQ(HelpTopic(S(",3")), kErrFileNotFound);
    help_.Write("QTHELP.HLP", "01 Otro\r\n");
    EXPECT_EQ(HelpTopic(S(",3")), kErrFileNotFound);
}

// A page found under neither name as given is looked for by the language's name.
TEST_F(HelpTest, ThePageIsLookedForByItsLanguageName) {
    defaults_.Write("GUIA_es.HLP", "0102 Ayuda\r\n0102 Texto\r\n");
    UiRobot robot;
    robot.OnBox([](UiView& v) {
        EXPECT_EQ(v.caption(), "Ayuda");
        v.ClickButton("OK");
    });
    EXPECT_EQ(HelpTopic(S("GUIA.HLP,102")), 0);
}

// While a runtime window is open, the About box belongs to it.
TEST_F(HelpTest, TheAboutBoxIsOwnedByTheTopWindow) {
    SlotSet(kRunGroup, kSlotDescription, S("Quintara"));
    const WinHandle w = WinCreateKind(kWinKindDialog, S("Prueba"), kWinStyleModal, WinRect{50, 50, 200, 80}, nullptr);
    ASSERT_NE(w, kNoWindow);
    UiRobot robot;
    robot.OnBox([&](UiView& v) {
        EXPECT_EQ(v.caption(), "Acerca de");
        EXPECT_EQ(v.text(), "Quintara\nVersion 2.20 (0 ES  1900)");
        EXPECT_EQ(v.top()->parentWidget(), QtWidgetOf(w));
        v.ClickButton("OK");
    });
    AboutBox(S(""));
    EXPECT_EQ(robot.pending(), 0u);
}

}  // namespace
}  // namespace rt::test
