// The transfer's files: lines of an import's external file, the rewrite of one block of a parameter
// file, and the parameters and mode read from the top parameter block.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "runtime/env/streams.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/slot_table.h"
#include "runtime/trans/trans_block_file.h"
#include "runtime/trans/trans_config.h"
#include "runtime/trans/trans_input.h"
#include "runtime/trans/trans_parms.h"
#include "runtime/vars/parm_blocks.h"
#include "tests/runtime/data/data_fixture.h"
#include "tests/support/temp_folder.h"

namespace rt::test {
namespace {

class TransFilesTest : public DataTest {
protected:
    void SetUp() override {
        DataTest::SetUp();
        SlotSet(kRunTextsGroup, kSlotLogPath, D(folder_.RuntimePath() + "\\log.txt"));
    }
    void TearDown() override {
        TransParmsClear();
        DataTest::TearDown();
    }
    std::vector<std::string> Lines(const std::string& bytes, std::uint32_t* skipped = nullptr) {
        folder_.Write("in.txt", bytes);
        std::uint16_t h = StreamOpen(D(folder_.RuntimePath() + "\\in.txt"), kStreamReadOnly);
        EXPECT_LT(h, kStreamCount);
        std::vector<std::string> out;
        {
            TransInput input(h);
            StrDesc line;
            while (input.NextLine(&line) == 0) out.push_back(Str(line));
            if (skipped) *skipped = input.skipped();
        }
        StreamClose(h);
        return out;
    }
    std::string Path(const std::string& name) const { return folder_.RuntimePath() + "\\" + name; }
    TempFolder folder_{true};
};

TEST_F(TransFilesTest, LinesEndInCrLfLfOrCrAndACtrlZEndsTheFile) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Lines("a\r\nb\nc\rd"), (V{"a", "b", "c", "d"}));
    EXPECT_EQ(Lines("a\r\n\r\nb\r\n"), (V{"a", "", "b"})) << "an empty line is a line";
    EXPECT_EQ(Lines("a\r\nb\x1a"), (V{"a", "b"}));
    EXPECT_EQ(Lines("a\r\n\x1a"), (V{"a"}));
    EXPECT_EQ(Lines(""), V{});
    // A CR LF split across the reader's 32 KB pieces is one line end.
    std::string first(32767, 'x');
    EXPECT_EQ(Lines(first + "\r\nz"), (V{first, "z"}));
}

TEST_F(TransFilesTest, LongLinesAreWholeUpTo65535BytesAndSkippedBeyond) {
    std::string longest(65535, 'a'), tooLong(65536, 'b'), huge(200000, 'c');
    std::uint32_t skipped = 0;
    std::vector<std::string> lines = Lines("1\r\n" + longest + "\r\n" + tooLong + "\r\n2\n" + huge + "\n3", &skipped);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "1");
    EXPECT_EQ(lines[1], longest);
    EXPECT_EQ(lines[2], "2");
    EXPECT_EQ(lines[3], "3");
    EXPECT_EQ(skipped, 2u);
    std::string log = folder_.Read("log.txt");
    EXPECT_NE(log.find("line 3 longer than 65535 bytes skipped"), std::string::npos) << log;
    EXPECT_NE(log.find("line 5 longer than 65535 bytes skipped"), std::string::npos) << log;
}

TEST_F(TransFilesTest, BlockRewriteReplacesOneBlockInPlace) {
    folder_.Write("t.ppn", " 0 FD$=\"uno,dos\"\r\n 1 TRANSPARMSMODE%=52\r\n 1 COND$=\"A\"\r\n 3 TARGET$=x\r\n");
    ASSERT_EQ(TransBlockRewrite(D(Path("t.ppn")), 1, 1, S("TRANSPARMSMODE%=20:\"COND$='B:C'\"")), 0);
    EXPECT_EQ(folder_.Read("t.ppn"),
              " 0 FD$=\"uno,dos\"\r\n 1 TRANSPARMSMODE%=20\r\n 1 COND$='B:C'\r\n 3 TARGET$=x\r\n");
    // A missing block goes before the first higher block, or at the end.
    ASSERT_EQ(TransBlockRewrite(D(Path("t.ppn")), 1, 2, S("A=1")), 0);
    ASSERT_EQ(TransBlockRewrite(D(Path("t.ppn")), 1, 12, S("B=2")), 0);
    EXPECT_EQ(folder_.Read("t.ppn"), " 0 FD$=\"uno,dos\"\r\n 1 TRANSPARMSMODE%=20\r\n 1 COND$='B:C'\r\n 2 A=1\r\n"
                                     " 3 TARGET$=x\r\n12 B=2\r\n");
    // A new file holds just the block; nothing else is left in the folder.
    ASSERT_EQ(TransBlockRewrite(D(Path("nuevo.ppn")), 3, 7, S("X=1:Y=2")), 0);
    EXPECT_EQ(folder_.Read("nuevo.ppn"), "   7 X=1\r\n   7 Y=2\r\n");
    std::vector<std::string> prefixes;
    for (std::uint16_t type : {0, 1, 2, 3, 5}) {
        DynScope scope;
        prefixes.push_back(Str(TransBlockPrefix(type, 4)));
    }
    EXPECT_EQ(prefixes, (std::vector<std::string>{"", " 4 ", "\" 4", "   4 ", "4"}));
    int files = 0;
    for (auto& entry : std::filesystem::directory_iterator(folder_.path())) files += entry.path().extension() == ".ppn";
    EXPECT_EQ(files, 2);
}

TEST_F(TransFilesTest, BlockRewriteLeavesTheOldFileWhenTheNewOneCannotBeWritten) {
    std::string old = " 0 FD$=\"uno\"\r\n";
    folder_.Write("t.ppn", old);
    std::filesystem::permissions(folder_.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    ErrCode e = TransBlockRewrite(D(Path("t.ppn")), 1, 0, S("FD$=\"uno,dos\""));
    std::filesystem::permissions(folder_.path(), std::filesystem::perms::owner_all);
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into a read-only folder";
    EXPECT_EQ(e, kErrFileNotFound);
    EXPECT_EQ(folder_.Read("t.ppn"), old);
}

TEST_F(TransFilesTest, ModeAndParametersComeFromTheTopBlockTargetFirst) {
    ASSERT_EQ(SlotPush(kParmStackGroup, S("DELIMITED=1 APPEND=0 CLIENTES.TXT.COND$=\"X#>1\" COND$=\"X#>2\" "
                                           "SET$='A=1' CLIENTES.TXT.OVERWRITE=1")), 0);
    EXPECT_EQ(TransModeFromBlock(S("C:\\datos\\CLIENTES.TXT"), 20), 20 + kTransDelimited + kTransOverwrite);
    EXPECT_EQ(TransModeFromBlock(S("otro.txt"), 20), 20 + kTransDelimited);
    ASSERT_EQ(TransParmSet(kTpMerge, S("M")), 0);
    ASSERT_EQ(TransParmSet(kTpAcBound, StrEmpty()), 0) << "given empty: no default";
    ASSERT_EQ(TransParmsFromBlock(S("C:\\datos\\CLIENTES.TXT"), 20), 0);
    EXPECT_EQ(Str(TransParm(kTpTarget)), "C:\\datos\\CLIENTES.TXT");
    EXPECT_EQ(Str(TransParm(kTpCond)), "X#>1");
    EXPECT_EQ(Str(TransParm(kTpSet)), "A=1");
    EXPECT_EQ(Str(TransParm(kTpMerge)), "M");
    EXPECT_EQ(Str(TransParm(kTpAcBound)), "");
    EXPECT_EQ(Str(TransParm(kTpSqlTable)), "C:\\datos\\CLIENTES.TXT");
    ParmPop();

    // Outside BATCHMODE the limits dialog defaults to field 1 from and to; in BATCHMODE it stays empty.
    TransParmsClear();
    ASSERT_EQ(SlotPush(kParmStackGroup, StrEmpty()), 0);
    ASSERT_EQ(TransParmsFromBlock(S("x"), kTransExportDelimited), 0);
    EXPECT_EQ(Str(TransParm(kTpAcBound)), "1{},1{}");
    TransParmsClear();
    ASSERT_EQ(TransParmsFromBlock(S("x"), kTransExportDelimited | kTransBatch), 0);
    EXPECT_EQ(Str(TransParm(kTpAcBound)), "");
    ParmPop();
}

TEST_F(TransFilesTest, DefinitionsAreSavedAsNumberedBlocksListedInBlockZero) {
    std::string file = Path("qtrans.ppn");
    ASSERT_EQ(TransParmSet(kTpFile, S("contactos")), 0);
    ASSERT_EQ(TransParmSet(kTpCond, S("NOMBRE{}==\"A*\"")), 0);
    ASSERT_EQ(TransParmSet(kTpAcBound, S("'NOMBRE (Desde):':'A30':NOMBRE{}>=")), 0);
    ASSERT_EQ(TransDefinitionSave(D(file), S("Todos"), 52), 0);
    TransParmsClear();
    ASSERT_EQ(TransDefinitionSave(D(file), S("Otra vez"), 20), 0);
    EXPECT_EQ(folder_.Read("qtrans.ppn"),
              " 0 FD$=\"Todos,Otra vez\"\r\n"
              " 1 TRANSPARMSMODE%=52\r\n 1 FILE=\"contactos\"\r\n 1 COND$='NOMBRE{}==\"A*\"'\r\n"
              " 1 ACBOUND$=\"'NOMBRE (Desde):':'A30':NOMBRE{}>=\"\r\n"
              " 2 TRANSPARMSMODE%=20\r\n");
    // The saved block reads back as it was given.
    ASSERT_EQ(ParmPush(D(file), 1, 1), 0);
    EXPECT_EQ(Str(ParmTop(S("COND$"))), "NOMBRE{}==\"A*\"");
    EXPECT_EQ(Str(ParmTop(S("ACBOUND$"))), "'NOMBRE (Desde):':'A30':NOMBRE{}>=");
    EXPECT_EQ(Str(ParmTop(S("TRANSPARMSMODE%"))), "52");
    ParmPop();
    {
        DynScope scope;
        EXPECT_EQ(Str(TransDefinitionNames(D(file))), "Todos,Otra vez");
    }
    // A name in use, or one holding a comma, is refused and nothing is written.
    std::string before = folder_.Read("qtrans.ppn");
    EXPECT_EQ(TransDefinitionSave(D(file), S("Todos"), 52), kErrFileExists);
    EXPECT_EQ(TransDefinitionSave(D(file), S("a,b"), 52), kErrFileExists);
    EXPECT_EQ(folder_.Read("qtrans.ppn"), before);
}

}  // namespace
}  // namespace rt::test
