// Error texts, the error detail, the first-error note, the run's log and assertions.
#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "platform/console/console_desktop.h"
#include "runtime/env/catalog.h"
#include "runtime/env/errors.h"
#include "runtime/ui/error_box.h"
#include "runtime/vars/run_log.h"
#include "runtime/vars/var_system.h"
#include "runtime/vars/variables.h"
#include "runtime/text/slot_table.h"
#include "tests/support/runtime_fixture.h"
#include "tests/support/temp_folder.h"

namespace rt::test {
namespace {

namespace fs = std::filesystem;

std::string RuntimePath(const fs::path& p) {
    std::string s = p.string();
    for (char& c : s)
        if (c == '/') c = '\\';
    return s;
}

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// A fresh runtime with the variable store, an empty note and detail, and an empty temporary folder
// as the default folder (so no language file replaces the built-in texts).
class ErrorsTest : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        ASSERT_EQ(VarInit(), 0);
        ASSERT_FALSE(folder_.path().empty());
        dir_ = folder_.path();
        ASSERT_EQ(SlotSet(0, 5, D(RuntimePath(dir_))), 0);
        MsgLangReset();
        ErrClear();
        ErrSetText(0, StrEmpty());
    }
    void TearDown() override {
        ErrClear();
        MsgLangReset();
        VarShutdown();
        RuntimeTest::TearDown();
    }
    rt::test::TempFolder folder_;
    fs::path dir_;
};

TEST_F(ErrorsTest, TextsOfCodes) {
    struct Case {
        ErrCode code;
        const char* detail;
        std::string text;
    } cases[] = {
        {0, "", "Proceso Completado Satisfactoriamente"},
        {5, "", "Precauci\xF3n "},
        {5, "ignored", "Precauci\xF3n "},
        {120, "", "Precauci\xF3n "},
        {121, "Se ha encontrado una estructura valida.", "Se ha encontrado una estructura valida."},
        {121, "", "Indefinido"},
        {126, "", "Datos incorrectos"},
        {126, "campo 3", "campo 3"},
        {122, "", "Cancelado por el usuario"},
        {127, "x", "No hay datos"},
        {145, "", "Error OUTOFMEMORY"},
        {163, "contactos", "Error de Datos: contactos"},
        {132, "", "Error Ejecuci\xF3n de Procedimiento"},
        {182, "", "Error Indefinido"},
        {185, "", "Error Soporte Grafico Insuficiente"},
        {186, "", "Error Indefinido"},
        {kNone, "", "Error Indefinido"},  // nothing noted
    };
    for (const Case& c : cases) {
        ErrSetText(c.code, StrFromC(c.detail));
        EXPECT_EQ(Str(ErrText(c.code)), c.text) << c.code;
    }
}

TEST_F(ErrorsTest, NotedAreaAndDetailInTheErrorText) {
    EXPECT_EQ(ErrNote(1, kAreaDynStrings, 159, 159), 159);
    EXPECT_EQ(ErrSetText(159, S("x")), 159);
    EXPECT_EQ(Str(ErrText(159)), "Error STROUTBOUND(DynStrings): x");
    // 0xFFFF shows the noted error itself.
    ErrSetText(0, StrEmpty());
    EXPECT_EQ(Str(ErrText(kNone)), "Error STROUTBOUND(DynStrings)");
    // The noted area is added to the text of any serious code.
    EXPECT_EQ(Str(ErrText(164)), "Error Fichero no encontrado(DynStrings)");
    EXPECT_EQ(Str(ErrText(124)), "Aviso Indefinido");
}

TEST_F(ErrorsTest, FirstErrorNoteRules) {
    ErrNote(1, kAreaSqlExec, 127, 0);  // below the serious range
    EXPECT_EQ(ErrNoted(), 0u);
    ErrNote(0, kAreaSqlExec, 162, 0);  // condition 0
    EXPECT_EQ(ErrNoted(), 0u);
    ErrNote(1, kAreaDynStrings, 159, 0);
    ErrNote(1, kAreaStreams, 160, 0);  // the first one stays
    EXPECT_EQ(ErrNoted(), (std::uint32_t(kAreaDynStrings) << 16) | 159u);
    ErrNote(2, kAreaStreams, 160, 0);  // condition 2 overwrites
    EXPECT_EQ(ErrNoted(), (std::uint32_t(kAreaStreams) << 16) | 160u);
    ErrClear();
    EXPECT_EQ(ErrNoted(), 0u);

    StrDesc other = S("kept");
    EXPECT_EQ(Str(ErrNoteDesc(0, kAreaSqlExec, 162, other)), "kept");
    StrDesc err = ErrNoteDesc(1, kAreaSqlExec, 162, other);
    EXPECT_TRUE(err.IsError());
    EXPECT_EQ(err.len, 162);
    EXPECT_EQ(ErrNoted(), (std::uint32_t(kAreaSqlExec) << 16) | 162u);
}

TEST_F(ErrorsTest, AppendedDetailKeepsWholeLinesUpTo1024Bytes) {
    EXPECT_EQ(ErrSetText(130, S("a")), 130);
    EXPECT_EQ(ErrSetText(130, S("b"), true), 130);
    EXPECT_EQ(Str(ErrDetail()), "a\r\nb");

    ErrSetText(0, StrEmpty());
    ErrSetText(130, S("b"), true);  // nothing to keep
    EXPECT_EQ(Str(ErrDetail()), "b");

    std::string a(600, 'A'), b(600, 'B'), c(10, 'C');
    std::string old = a + "\r\n" + b + "\r\n" + c;
    ErrSetText(0, D(old));
    ErrSetText(130, S("new"), true);
    EXPECT_EQ(Str(ErrDetail()), a + "\r\nnew");

    std::string exact(1024, 'E');
    ErrSetText(0, D(exact));
    ErrSetText(130, S("new"), true);
    EXPECT_EQ(Str(ErrDetail()), exact + "\r\nnew");

    std::string unbroken(2000, 'U');
    ErrSetText(0, D(unbroken));
    ErrSetText(130, S("new"), true);
    EXPECT_EQ(Str(ErrDetail()), "new");

    EXPECT_EQ(ErrSetText(0, StrEmpty()), 0);
    EXPECT_EQ(ErrDetail().len, 0);
}

TEST_F(ErrorsTest, NamesAndAreas) {
    EXPECT_EQ(Str(ErrName(122)), "Cancelado por el usuario");
    EXPECT_EQ(Str(ErrName(153)), "STRCONCATERR");
    EXPECT_EQ(Str(ErrName(154)), "MEMORYALLOCERR");
    EXPECT_EQ(Str(ErrName(183)), "Datos Existentes");
    EXPECT_EQ(Str(ErrName(121)), "Indefinido");
    EXPECT_EQ(Str(ErrAreaName(kAreaStringInit)), "STRINGINIT");
    EXPECT_EQ(Str(ErrAreaName(kAreaLocalLists)), "LocalLists");
    EXPECT_EQ(Str(ErrAreaName(22)), "HtmlScan");
    EXPECT_EQ(Str(ErrAreaName(0)), "");
    EXPECT_EQ(Str(ErrAreaName(23)), "");
}

// The terminal desktop writes a box as its caption and text: serious codes go under the fatal
// caption, the others under the informative one, and soft codes show nothing.
TEST_F(ErrorsTest, ErrShowShowsUnderTheCaptionOfItsRangeAndClearsTheDetail) {
    struct Case { ErrCode code; std::string shown; } cases[] = {
        {163, "Alerta de Mensaje Fatal\nError de Datos: detalle\n"},
        {121, "Mensaje Informativo\ndetalle\n"},
        {5, "Mensaje Informativo\nPrecauci\xC3\xB3n \n"},
        {122, ""},
    };
    ConsoleDesktop desktop;
    DesktopSet(&desktop);
    for (const Case& c : cases) {
        ErrSetText(c.code, S("detalle"));
        testing::internal::CaptureStderr();
        EXPECT_EQ(ErrShow(c.code), 0) << c.code;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.shown) << c.code;
        EXPECT_EQ(ErrDetail().len, 0) << c.code;
    }
    DesktopSet(nullptr);
}

TEST_F(ErrorsTest, LogLineFollowsTheTraceMask) {
    fs::path log = dir_ / "run.log";
    ASSERT_EQ(SlotSet(9, 10, D(RuntimePath(log))), 0);
    ASSERT_EQ(VarIntSlotSet(kSysTrace, 1), 0);
    LogLine(StrError(164), 1);
    LogLine(S("hola"), 1);
    LogLine(S("not traced"), 4);
    ASSERT_EQ(VarIntSlotSet(kSysTrace, 5), 0);
    LogLine(S("sql"), 4);
    EXPECT_EQ(ReadAll(log), "Error #164\r\nhola\r\nsql\r\n");
}

TEST_F(ErrorsTest, LogPathFallsBackToTheApplicationCode) {
    ASSERT_EQ(SlotSet(0, 2, S(":Quintara")), 0);
    EXPECT_EQ(Str(LogPath()), "log.txt");
    ASSERT_EQ(SlotSet(0, 2, S("X1:Name")), 0);
    EXPECT_EQ(Str(LogPath()), "X1log.txt");
    ASSERT_EQ(SlotSet(9, 10, S("C:\\logs\\run.txt")), 0);
    EXPECT_EQ(Str(LogPath()), "C:\\logs\\run.txt");
}

TEST_F(ErrorsTest, LogEntryWritesABanneredEntry) {
    fs::path file = dir_ / "entries.log";
    ASSERT_EQ(SlotSet(0, 4, S("ES")), 0);
    EXPECT_EQ(LogEntry(S("primera"), D(RuntimePath(file))), 0);
    EXPECT_EQ(LogEntry(S("segunda"), D(RuntimePath(file))), 0);
    const std::string entry =
        "\\*{29}\r\n Date:\\d\\d-\\d\\d-\\d{4} - Time:\\d\\d:\\d\\d - User:0\r\n%s\r\n\\*{22}\r\n\r\n";
    std::string one = std::regex_replace(entry, std::regex("%s"), "primera");
    std::string two = std::regex_replace(entry, std::regex("%s"), "segunda");
    EXPECT_TRUE(std::regex_match(ReadAll(file), std::regex(one + two))) << ReadAll(file);

    // Day first in Spanish.
    std::string text = ReadAll(file);
    int day = std::atoi(text.substr(text.find("Date:") + 5, 2).c_str());
    int month = std::atoi(text.substr(text.find("Date:") + 8, 2).c_str());
    EXPECT_GE(day, 1);
    EXPECT_LE(month, 12);
}

TEST_F(ErrorsTest, LogEntryToAnUnwritableFileGives164) {
    StrDesc path = S("\\no_such_folder_for_errors_test\\a.log");
    EXPECT_EQ(LogEntry(S("x"), path), 164);
    EXPECT_EQ(Str(ErrDetail()), "\\no_such_folder_for_errors_test\\a.log");
}

TEST_F(ErrorsTest, AssertHoldingDoesNothing) {
    bool logged = fs::exists("assertions.log");
    Assert(true, "ScreenSetWin");
    EXPECT_EQ(fs::exists("assertions.log"), logged);
}

TEST_F(ErrorsTest, FailedAssertLogsAndAborts) {
    const fs::path dir = dir_;
    EXPECT_EXIT(
        {
            if (chdir(dir.c_str()) != 0) std::_Exit(0);
            Assert(false, "DataFileCtrl");
        },
        ::testing::KilledBySignal(SIGABRT), "");
    std::string log = ReadAll(dir / "assertions.log");
    EXPECT_NE(log.find(" - User:0\r\nDataFileCtrl\r\n**********************\r\n\r\n"), std::string::npos) << log;
}

}  // namespace
}  // namespace rt::test
