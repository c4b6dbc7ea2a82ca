// Structure dictionaries written into a temporary folder and loaded into the file table.
#include "runtime/data/dictionary.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "runtime/data/file_table.h"
#include "runtime/data/keys.h"
#include "runtime/data/relations.h"
#include "runtime/env/errors.h"
#include "tests/runtime/data/data_fixture.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;

namespace rt::test {
namespace {

// "01" in columns 1-2, the width in columns 10-12, the type letter in column 14, the name from 15.
std::string FieldLine(int width, char type, const std::string& name) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "01       %03d ", width);
    return buf + std::string(1, type) + name;
}

class DictionaryTest : public DataTest {
protected:
    void SetUp() override {
        DataTest::SetUp();
        ASSERT_FALSE(folder_.path().empty());
        dir_ = folder_.path();
    }
    void TearDown() override { DataTest::TearDown(); }
    void Write(const std::string& name, const std::vector<std::string>& lines) {
        std::ofstream out(dir_ / name, std::ios::binary);
        for (const std::string& line : lines) out << line << "\r\n";
    }
    ErrCode Load(const char* prefix, const char* defaultFolder = "") {
        return DictLoad(D(dir_.string()), StrFromC(prefix), StrFromC(defaultFolder));
    }
    std::vector<std::string> Fields(std::uint8_t n) {
        std::vector<std::string> names;
        for (std::uint16_t i = 1; i <= FieldCount(n); ++i) {
            FieldDesc d = FieldInfo(n, i);
            names.push_back(Str(FieldName(n, i)) + ":" + std::to_string(d.width) + d.type);
        }
        return names;
    }
    std::vector<std::string> Keys(std::uint8_t n) {
        std::vector<std::string> keys;
        for (std::uint16_t k = 1; k <= KeyCount(n); ++k) {
            KeyDesc key = KeyInfo(n, k);
            std::string text;
            for (std::uint16_t s = 0; s < key.count && s < kMaxKeySegments; ++s)
                text += "(" + std::to_string(key.segments[s].offset) + "," + std::to_string(key.segments[s].length) + ")";
            keys.push_back(text);
        }
        return keys;
    }
    // Two dictionaries: AB includes CD in the middle of its own files.
    void WriteApplication() {
        Write("ABDICC.DAT", {"01*C:\\DATOS*01Clientes", FieldLine(6, 'A', "CODIGO"), FieldLine(30, 'A', "NOMBRE"),
                             FieldLine(8, 'D', "ALTA"), "31<0001006>", "01*$*00CD", "31<0007005>",
                             "01**00pedidos  \t", FieldLine(6, 'N', "NUM"), FieldLine(8, 'D', "FECHA"),
                             "32<0007008>", ""});
        Write("CDDICC.DAT", {"01*D:\\ART  *02articulos", FieldLine(6, 'A', "REF"), FieldLine(4, 'N', "N_LINE"),
                             FieldLine(20, 'A', "DESCR"), "02*D:\\ART*00stock", FieldLine(6, 'A', "ART"),
                             FieldLine(5, 'N', "QTY")});
        Write("ABREL.DAT", {"61:2R1K1=CODIGO{}", "95:ignored", "61:4R1K1=NUM{}", "62:1R1K1=CODIGO{}"});
    }
    rt::test::TempFolder folder_;
    fs::path dir_;
};

TEST_F(DictionaryTest, IncludesKeysAndRelationsRegisterWhatTheLinesSay) {
    WriteApplication();
    ASSERT_EQ(Load("AB", "E:\\DEF"), 0) << Str(ErrDetail());
    ASSERT_EQ(FileCount(), 4);
    struct File { const char* name; const char* folder; std::uint8_t kind; } files[] = {
        {"clientes", "C:\\DATOS", 1}, {"articulos", "D:\\ART", 2}, {"stock", "D:\\ART", 0}, {"pedidos", "E:\\DEF", 0}};
    for (std::uint8_t n = 1; n <= 4; ++n) {
        EXPECT_EQ(Str(FileName(n, 1)), files[n - 1].name);
        EXPECT_EQ(Str(FileName(n, 0)), std::string(files[n - 1].folder) + "\\" + files[n - 1].name);
        EXPECT_EQ(FileKindOf(n), files[n - 1].kind);
    }
    using V = std::vector<std::string>;
    EXPECT_EQ(Fields(1), (V{"CODIGO:6A", "NOMBRE:30A", "ALTA:8D"}));
    EXPECT_EQ(Fields(2), (V{"REF:6A", "N_LINE:4N", "DESCR:20A"}));
    EXPECT_EQ(Fields(3), (V{"ART:6A", "QTY:5N"}));
    EXPECT_EQ(Fields(4), (V{"NUM:6N", "FECHA:8D"}));

    EXPECT_EQ(Keys(1), (V{"(0,6)"}));
    EXPECT_EQ(Keys(2), (V{"(0,10)"})) << "the include's default key ends with N_LINE";
    EXPECT_EQ(Keys(3), (V{"(0,6)", "(6,5)"})) << "a key line after the include adds to the included file";
    EXPECT_EQ(Keys(4), (V{"(6,8)"}));

    // The include base stays in force for the relation dictionary.
    EXPECT_EQ(Str(RelationText(3)), "2R1K1=CODIGO{}:4R1K1=NUM{}");
    EXPECT_EQ(Str(RelationText(4)), "1R1K1=CODIGO{}");
    EXPECT_EQ(Str(RelationText(1)), "");
}

TEST_F(DictionaryTest, AStructureWithoutRelationsOrKeyLinesGetsDefaultKeys) {
    WriteApplication();
    ASSERT_EQ(Load("CD"), 0);
    EXPECT_EQ(FileCount(), 2);
    EXPECT_EQ(Keys(1), (std::vector<std::string>{"(0,10)"}));
    EXPECT_EQ(Keys(2), (std::vector<std::string>{"(0,6)"}));
}

TEST_F(DictionaryTest, AMissingStructureDictionaryIs164WithItsNameAndFolder) {
    EXPECT_EQ(Load("ZZ"), 164);
    EXPECT_EQ(FileCount(), 0);
    std::string detail = Str(ErrDetail());
    std::string tail = "ZZDICC.DAT[" + dir_.string() + "]";
    ASSERT_GE(detail.size(), tail.size());
    EXPECT_EQ(detail.substr(detail.size() - tail.size()), tail);
    EXPECT_EQ(ErrNoted() & 0xFFFF, 164);
}

TEST_F(DictionaryTest, TheFirstFailingLineStopsTheLoad) {
    Write("XXDICC.DAT", {"01**00uno", FieldLine(3, 'A', "A"), "35<0001001>", "01**00dos"});
    EXPECT_EQ(Load("XX"), 163) << "a key for file 5, which does not exist";
    EXPECT_EQ(FileCount(), 1);
    EXPECT_EQ(FieldCount(1), 1);
}

TEST_F(DictionaryTest, KeyLinesTakeAtMostFiveGroups) {
    std::string groups;
    for (int g = 1; g <= 6; ++g) groups += "000" + std::to_string(g) + "001";
    Write("KKDICC.DAT", {"01**00f", FieldLine(2, 'A', "A"), FieldLine(2, 'A', "B"), FieldLine(2, 'A', "C"),
                         "31<" + groups + ">"});
    ASSERT_EQ(Load("KK"), 0);
    EXPECT_EQ(Keys(1), (std::vector<std::string>{"(0,1)(1,1)(2,1)(3,1)(4,1)"}));
}

TEST_F(DictionaryTest, ADictionaryThatIncludesItselfEndsWithAnError) {
    Write("SSDICC.DAT", {"01*$*00SS"});
    EXPECT_EQ(Load("SS"), 147);
    EXPECT_EQ(FileCount(), 0);
}

TEST_F(DictionaryTest, StartUpLoadSetsFileNumberVariables) {
    WriteApplication();
    ASSERT_EQ(DictLoadForStart(D(dir_.string()), S("AB")), 0);
    struct Var { const char* name; std::int16_t number; } vars[] = {
        {"clientes", 1}, {"articulos", 2}, {"stock", 3}, {"pedidos", 4}};
    for (const Var& v : vars) {
        VarRef ref = VarFind(StrFromC(v.name));
        ASSERT_NE(ref.slot, 0xFFFF) << v.name;
        EXPECT_EQ(VarIntSlot(ref.slot), v.number) << v.name;
    }
}

TEST_F(DictionaryTest, AFileWhoseNameCannotNameAVariableDoesNotFailTheStartUpLoad) {
    // Failing here would send start-up to load the dictionary a second time over the first.
    Write("NNDICC.DAT", {"01**00", FieldLine(3, 'A', "A"), "01**00uno", FieldLine(3, 'A', "B")});
    EXPECT_EQ(DictLoadForStart(D(dir_.string()), S("NN")), 0);
    EXPECT_EQ(FileCount(), 2);
    VarRef ref = VarFind(S("uno"));
    ASSERT_NE(ref.slot, 0xFFFF);
    EXPECT_EQ(VarIntSlot(ref.slot), 2);
}

TEST_F(DictionaryTest, AFailedStartUpLoadLeavesTheTableEmptyForTheSecondAttempt) {
    Write("XXDICC.DAT", {"01**00uno", FieldLine(3, 'A', "A"), "35<0001001>"});
    EXPECT_EQ(DictLoadForStart(D(dir_.string()), S("XX")), 163);
    EXPECT_EQ(FileCount(), 0);
    EXPECT_EQ(VarFind(S("uno")).slot, 0xFFFF);
    WriteApplication();
    EXPECT_EQ(DictLoadForStart(D(dir_.string()), S("AB")), 0);
    EXPECT_EQ(FileCount(), 4);
}

}  // namespace
}  // namespace rt::test
