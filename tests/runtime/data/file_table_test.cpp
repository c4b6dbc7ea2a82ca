// The file registry: numbers, names, limits, field lookups and companion file names.
#include "runtime/data/file_table.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "runtime/env/errors.h"
#include "runtime/text/dyn_strings.h"
#include "tests/runtime/data/data_fixture.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;

namespace rt::test {
namespace {

class FileTableTest : public DataTest {};

TEST_F(FileTableTest, NumbersOutsideTheTableStandForTheCurrentFile) {
    AddFile("uno", {{"A", 1, 'A'}});
    AddFile("dos", {{"A", 1, 'A'}});
    ASSERT_EQ(SysVarSet(kSysCurFil, 2), 0);
    struct Case { std::uint8_t given, resolved; } cases[] = {{0, 2}, {255, 2}, {3, 2}, {30, 2}, {1, 1}, {2, 2}};
    for (const Case& c : cases) EXPECT_EQ(FileResolve(c.given), c.resolved) << int{c.given};

    EXPECT_EQ(FileSelect(1), 1);
    EXPECT_EQ(SysVar(kSysCurFil), 1);
    EXPECT_EQ(FileSelect(7), 1) << "an unregistered number leaves _CURFIL alone";
    EXPECT_EQ(FileSelect(0), 1);
}

TEST_F(FileTableTest, NamesAreStoredAndSoughtInLowerCaseUnlessAuxStatBit8) {
    AddFile("Contactos", {});
    EXPECT_EQ(Str(FileName(1, 1)), "contactos");
    EXPECT_EQ(FileByName(S("CONTACTOS")), 1);
    EXPECT_EQ(FileByName(S("contactos")), 1);
    EXPECT_EQ(FileByName(S("otros")), 0);

    ASSERT_EQ(SysVarSet(kSysAuxStat, 8), 0);
    AddFile("Clientes", {});
    EXPECT_EQ(Str(FileName(2, 1)), "Clientes");
    EXPECT_EQ(FileByName(S("Clientes")), 2);
    EXPECT_EQ(FileByName(S("clientes")), 0);
    EXPECT_EQ(FileByName(S("CONTACTOS")), 0) << "with the bit set only the exact spelling matches";
    EXPECT_EQ(Str(FileNameList(1)), "contactos,Clientes");
}

TEST_F(FileTableTest, NumbersAndTheEmptyTextAreTakenAsGiven) {
    AddFile("uno", {});
    AddFile("dos", {});
    ASSERT_EQ(SysVarSet(kSysCurFil, 2), 0);
    EXPECT_EQ(FileByName(S("7")), 7) << "a number is returned unchecked";
    EXPECT_EQ(FileByName(S("1")), 1);
    EXPECT_EQ(FileByName(S("")), 2);
}

TEST_F(FileTableTest, ThirtyFilesAtMostAndTheThirtiethTakesNoFields) {
    EXPECT_EQ(FieldAdd(S("A"), 1, 'A'), 161) << "no file yet";
    for (int i = 1; i <= 29; ++i) ASSERT_EQ(FileRegister(0, StrFromC(("f" + std::to_string(i)).c_str()), S("")), 0);
    EXPECT_EQ(FieldAdd(S("A"), 3, 'A'), 0);
    ASSERT_EQ(FileRegister(0, S("f30"), S("")), 0);
    EXPECT_EQ(FileCount(), 30);
    EXPECT_EQ(FieldAdd(S("A"), 3, 'A'), 161);
    EXPECT_EQ(FieldCount(30), 0);
    EXPECT_EQ(FileRegister(0, S("f31"), S("")), 161);
    EXPECT_EQ(FileCount(), 30);
}

TEST_F(FileTableTest, FieldsAreLaidEndToEnd) {
    AddFile("uno", {{"X", 2, 'A'}});
    AddFile("dos", {{"CODIGO", 10, 'A'}, {"IMPORTE", 8, '2'}, {"FECHA", 8, 'D'}});
    EXPECT_EQ(RecordLength(2), 26);
    FieldDesc f = FieldInfo(2, 2);
    EXPECT_EQ(f.status, 0);
    EXPECT_EQ(f.file, 2);
    EXPECT_EQ(f.field, 2);
    EXPECT_EQ(f.offset, 10);
    EXPECT_EQ(f.width, 8);
    EXPECT_EQ(f.type, '2');
    EXPECT_EQ(Str(FieldName(2, 3)), "FECHA");
    EXPECT_EQ(FieldByName(2, S("IMPORTE")), 2);
    EXPECT_EQ(FieldByName(2, S("X")), 0xFFFF) << "a field of another file";
    EXPECT_EQ(Str(FieldRefName(2, 1)), "CODIGO{2}");
    EXPECT_EQ(Str(FieldNameList(2, false)), "CODIGO,IMPORTE,FECHA");
    EXPECT_EQ(Str(FieldNameList(2, true)), "CODIGO{2},IMPORTE{2},FECHA{2}");
    ASSERT_EQ(SysVarSet(kSysCurFil, 2), 0);
    EXPECT_EQ(Str(FieldRefName(0, 2)), "IMPORTE{}");
    // Any other number names the file it stands for, so that the reference reads back.
    EXPECT_EQ(Str(FieldRefName(255, 2)), "IMPORTE{2}");
    EXPECT_EQ(Str(FieldNameList(9, true)), "CODIGO{2},IMPORTE{2},FECHA{2}");

    // An unnamed field keeps its place in the list: positions stand for field numbers.
    AddFile("tres", {{"", 1, 'A'}, {"B", 1, 'A'}, {"", 1, 'A'}});
    EXPECT_EQ(Str(FieldNameList(3, false)), ",B,");
}

TEST_F(FileTableTest, BadFieldNumbersFailWithTheirNumbersInTheDetail) {
    AddFile("uno", {{"A", 1, 'A'}, {"B", 1, 'A'}});
    EXPECT_EQ(FieldCheck(1, 2), 0);
    EXPECT_EQ(FieldCheck(1, kFileOnly), 0);
    struct Case { std::uint8_t file; std::uint16_t field; const char* detail; } cases[] = {
        {1, 3, "(File:1, Field:3)"}, {1, 0, "(File:1, Field:0)"}, {2, 1, "(File:2, Field:1)"},
        {0, kFileOnly, "(File:0, Field:65535)"}};
    for (const Case& c : cases) {
        EXPECT_EQ(FieldCheck(c.file, c.field), 168);
        EXPECT_EQ(Str(ErrDetail()), c.detail);
    }
    EXPECT_EQ(FieldInfo(1, 3).status, 168);
}

TEST_F(FileTableTest, RecordsLongerThanTwoImagesCanHoldAreRefused) {
    AddFile("uno", {{"A", 30000, 'A'}});
    EXPECT_EQ(FieldAdd(S("B"), 2767, 'A'), 0);
    EXPECT_EQ(FieldAdd(S("C"), 1, 'A'), 168);
    EXPECT_EQ(RecordLength(1), 32767);
    EXPECT_EQ(FieldCount(1), 2);
}

TEST_F(FileTableTest, CompanionNamesTakeFolderExtensionAndCompatibilityBits) {
    AddFile("clientesviejos", {}, "C:\\datos");
    AddFile("sql", {});
    struct Case { std::uint16_t compat; std::uint8_t file, kind; const char* name; } cases[] = {
        {0, 1, 1, "clientesviejos"},
        {0, 1, 2, "C:\\datos\\clientesviejos.FD"},
        {0, 1, 3, "C:\\datos\\clientesviejos.DIR"},
        {2, 1, 3, "C:\\datos\\clientesviejos.NDX"},
        {8, 1, 6, "C:\\datos\\clientes.TXT"},
        {0, 1, 0, "C:\\datos\\clientesviejos"},
        {0, 2, 5, "sql.TMP"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(SysVarSet(kSysCompat, static_cast<std::int16_t>(c.compat)), 0);
        EXPECT_EQ(Str(FileName(c.file, c.kind)), c.name);
    }
}

TEST_F(FileTableTest, DisplayWidthGrowsForDigitTypesUnderCompatBit64) {
    struct Case { std::uint16_t compat; char type; std::uint16_t width, shown; } cases[] = {
        {0, '2', 8, 8}, {64, '2', 8, 11}, {64, '0', 5, 6}, {64, '8', 5, 14}, {64, '9', 5, 5}, {64, 'A', 5, 5},
        {64, 'N', 5, 5}};
    for (const Case& c : cases) {
        ASSERT_EQ(SysVarSet(kSysCompat, static_cast<std::int16_t>(c.compat)), 0);
        EXPECT_EQ(DisplayWidth(c.type, c.width), c.shown) << c.type;
    }
}

TEST_F(FileTableTest, ControlBlocksStartAtTheirInitialValues) {
    AddFile("uno", {});
    DataFileCtrl& ctrl = FileCtrl(1);
    EXPECT_EQ(ctrl.activeKey, 1);
    EXPECT_EQ(ctrl.status, 2);
    EXPECT_EQ(ctrl.handle, 0xFFFF);
    EXPECT_EQ(ctrl.multiSlot, 0xFFFF);
    EXPECT_EQ(ctrl.relationMark, 0xFFFF);
    EXPECT_EQ(ctrl.openMode, 0);
    ctrl.status = 0;
    CtrlReset(1);
    EXPECT_EQ(FileCtrl(1).status, 2);
}

TEST_F(FileTableTest, ControlBlockOfAnUnregisteredFileIsABrokenContract) {
    AddFile("uno", {});
    // The child writes assertions.log into a folder of its own.
    TempFolder folder;
    const fs::path dir = folder.path();
    ASSERT_FALSE(dir.empty());
    EXPECT_EXIT(
        {
            if (chdir(dir.c_str()) != 0) std::_Exit(0);
            FileCtrl(2);
        },
        ::testing::KilledBySignal(SIGABRT), "");
    std::ifstream in(dir / "assertions.log", std::ios::binary);
    std::string log((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(log.find("DataFileCtrl"), std::string::npos) << log;
}

}  // namespace
}  // namespace rt::test
