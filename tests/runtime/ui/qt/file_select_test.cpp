// File dialogs by kind on the real desktop: the filters and initial name a user sees, the extension
// a save adds to a bare name, a cancelled dialog, and the current folder set back afterwards.
#include <gtest/gtest.h>

#include <QFileDialog>

#include "platform/process.h"
#include "runtime/ui/file_select.h"
#include "tests/support/qt_ui_fixture.h"
#include "tests/support/temp_folder.h"

namespace rt::test {
namespace {

using FileSelectTest = UiTest;

std::string RuntimePath(std::string p) {
    for (char& c : p)
        if (c == '/') c = '\\';
    return p;
}

TEST_F(FileSelectTest, TextKindShowsItsFiltersAndSavingAddsTxt) {
    TempFolder folder(true);
    UiRobot robot;
    robot.OnFileDialog([&](UiView& v) {
        auto* dialog = static_cast<QFileDialog*>(v.top());
        EXPECT_EQ(dialog->nameFilters(), (QStringList{"Ficheros de Texto (*.TXT)", "Todos (*.*)"}));
        EXPECT_EQ(v.text(), "*.TXT");
        v.AnswerFile(folder.path() + "/informe");
    });
    StrDesc path = FileSelectKind(true, 8);
    EXPECT_EQ(Str(path), RuntimePath(folder.path() + "/informe.TXT"));
    EXPECT_EQ(robot.pending(), 0u);
}

TEST_F(FileSelectTest, KindZeroOffersAllFilesAndOpensAnExistingOne) {
    TempFolder folder(true);
    folder.Write("datos.csv", "a;b\r\n");
    UiRobot robot;
    robot.OnFileDialog([&](UiView& v) {
        auto* dialog = static_cast<QFileDialog*>(v.top());
        EXPECT_EQ(dialog->nameFilters(), QStringList{"Todos (*.*)"});
        EXPECT_EQ(v.text(), "*");
        v.AnswerFile(folder.path() + "/datos.csv");
    });
    EXPECT_EQ(Str(FileSelectKind(false, 0)), RuntimePath(folder.path() + "/datos.csv"));
}

// A cancelled dialog gives the empty name; flag 0x80 sets the current folder back.
TEST_F(FileSelectTest, CancelGivesNothingAndTheFolderComesBack) {
    TempFolder folder(true);
    TempFolder elsewhere;
    const std::string before = PlatformCurrentFolder();
    UiRobot robot;
    robot.OnFileDialog([&](UiView& v) {
        PlatformSetCurrentFolder(RuntimePath(elsewhere.path()));
        v.Key(Qt::Key_Escape);
    });
    EXPECT_EQ(Str(FileSelectKind(false, 8 | kFileRestoreFolder)), "");
    EXPECT_EQ(PlatformCurrentFolder(), before);
}

TEST_F(FileSelectTest, FiltersAndInitialNamesOfTheKinds) {
    EXPECT_EQ(Str(FileKindFilters(8)), "Ficheros de Texto (*.TXT),*.TXT,Todos (*.*),*.*");
    EXPECT_EQ(Str(FileKindFilters(0)), "Todos (*.*),*.*");
    EXPECT_EQ(Str(FileKindInitial(1)), "??DICC.DAT");
    EXPECT_EQ(Str(FileKindInitial(6 | kFileAppPrefix)), "??MENU.PPN");  // no application code
    SlotSet(kRunGroup, kSlotIdentity, S("QT:Quintara"));
    EXPECT_EQ(Str(FileKindInitial(6 | kFileAppPrefix)), "QTMENU.PPN");
    EXPECT_EQ(Str(FileKindInitial(2)), "*.PAN");
    EXPECT_EQ(Str(FileWithExt(S("LISTA"), 11)), "LISTA.TXT");
    EXPECT_EQ(Str(FileWithExt(S("LISTA"), 0)), "LISTA");
}

}  // namespace
}  // namespace rt::test
