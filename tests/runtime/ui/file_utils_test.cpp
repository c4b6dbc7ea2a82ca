// Whole-file helpers, and the file dialog of the terminal desktop (which has none).
#include <gtest/gtest.h>

#include "platform/console/console_desktop.h"
#include "runtime/text/err_codes.h"
#include "runtime/ui/file_select.h"
#include "runtime/ui/file_utils.h"
#include "runtime/vars/variables.h"
#include "tests/support/desktop_fixture.h"
#include "tests/support/temp_folder.h"

namespace rt::test {
namespace {

class FileUtilsTest : public DesktopTest<ConsoleDesktop> {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        ASSERT_EQ(VarInit(), 0);
    }
    void TearDown() override {
        VarShutdown();
        DesktopTest::TearDown();
    }
    std::string Path(const std::string& name) {
        std::string p = folder_.File(name);
        for (char& c : p)
            if (c == '/') c = '\\';
        return p;
    }
    TempFolder folder_;
};

TEST_F(FileUtilsTest, ReadLinesJoinsEveryLineEnd) {
    folder_.Write("crlf.txt", "a\r\nb\r\nc");
    folder_.Write("mixed.txt", "a\r\nb\nc\r\n\nd");
    EXPECT_EQ(Str(FileReadLines(D(Path("crlf.txt")), S(";"))), "a;b;c");
    EXPECT_EQ(Str(FileReadLines(D(Path("mixed.txt")), S(";"))), "a;b;c;;d");
    EXPECT_EQ(Str(FileReadLines(D(Path("mixed.txt")), S(", "))), "a, b, c, , d");
}

TEST_F(FileUtilsTest, SizesPartsAndMissingFiles) {
    folder_.Write("datos.bin", std::string("0123456789"));
    const std::string name = Path("datos.bin");
    EXPECT_EQ(FileSizeOf(D(name)), 10u);
    char buffer[16] = {};
    EXPECT_EQ(FileReadPart(D(name), 3, 4, buffer, sizeof buffer), 4);
    EXPECT_EQ(std::string(buffer, 4), "3456");
    EXPECT_EQ(FileReadPart(D(name), 7, kNone, buffer, sizeof buffer), 3);
    EXPECT_EQ(std::string(buffer, 3), "789");
    EXPECT_EQ(Str(FileReadAll(D(name), 6)), "6789");

    folder_.Write("vacio.txt", "");
    EXPECT_EQ(Str(FileReadAll(D(Path("vacio.txt")), 0)), "");
    const std::string missing = Path("no_existe.txt");
    EXPECT_EQ(FileSizeOf(D(missing)), 0u);
    EXPECT_EQ(FileReadPart(D(missing), 0, 4, buffer, sizeof buffer), kNone);
    EXPECT_EQ(Str(FileReadAll(D(missing), 0)), "");
}

// A file larger than the arena's free room is refused, not cut.
TEST_F(FileUtilsTest, AFileLargerThanTheArenaIsRefused) {
    folder_.Write("grande.txt", std::string(70000, 'x'));
    StrDesc r = FileReadAll(D(Path("grande.txt")), 0);
    ASSERT_TRUE(r.IsError());
    EXPECT_EQ(r.len, kErrOutOfMemory);
}

TEST_F(FileUtilsTest, RenameTo) {
    folder_.Write("viejo.txt", "x");
    EXPECT_EQ(FileRenameTo(D(Path("viejo.txt")), D(Path("nuevo.txt"))), 0);
    EXPECT_EQ(FileSizeOf(D(Path("nuevo.txt"))), 1u);
    EXPECT_EQ(FileRenameTo(D(Path("viejo.txt")), D(Path("otro.txt"))), kNone);
}

TEST_F(FileUtilsTest, TheTerminalHasNoFileDialog) {
    EXPECT_EQ(Str(FileSelectKind(true, 8)), "");
    EXPECT_EQ(Str(FileDialog(false, S(""), S("*"), 0, S("Todos (*.*),*.*"), S(""))), "");
}

}  // namespace
}  // namespace rt::test
