#include "runtime/vars/parm_blocks.h"

#include <gtest/gtest.h>

#include "runtime/env/parm_files.h"
#include "runtime/vars/parm_syntax.h"
#include "runtime/vars/var_system.h"
#include "runtime/vars/variables.h"
#include "runtime/text/slot_table.h"
#include "tests/runtime/vars/var_fixture.h"
#include "tests/support/runtime_fixture.h"
#include "tests/support/temp_folder.h"

namespace rt::test {
namespace {

using ParmTest = VarTest;

TEST_F(ParmTest, PlainAndListReading) {
    struct Case { const char* block; const char* name; const char* plain; const char* list; };
    const Case cases[] = {
        {"FD$=A:XFD$=B", "FD$", "A", "A"},
        {"XFD$=B", "FD$", "", ""},
        {"FD$='a b':OPEN$=1", "FD$", "a b", "a b"},
        {"FD$='a b':OPEN$=1", "OPEN$", "1", "1"},
        {"FD$=a b", "FD$", "A", "a"},
        {"TRANSPARMSMODE%=52", "TRANSPARMSMODE%", "52", "52"},
        {"K%='x' Y$:\"q\"", "K%", "x", "'x'"},  // a name with '%' reads exactly as written
        {"K%='x' Y$:\"q\"", "Y$", "q", "q"},    // ':' assigns too
        {"A$=1&B$=two/C$=3", "B$", "TWO", "two"},
        {"FD$=clientes", "FD$", "CLIENTES", "clientes"},
        {"FD$=\tclientes\t:X=1", "FD$", "CLIENTES", "\tclientes\t"},  // trimmed, still not quoted
        {"FD$=\t'a b'", "FD$", "a b", "\t'a b'"},
    };
    for (const Case& c : cases) {
        std::uint16_t m = DynMark();
        EXPECT_EQ(Str(ParmValue(StrFromC(c.block), StrFromC(c.name))), c.plain) << c.block << " " << c.name;
        EXPECT_EQ(Str(ParmValueList(StrFromC(c.block), StrFromC(c.name))), c.list) << c.block << " " << c.name;
        DynRelease(m);
    }
}

TEST_F(ParmTest, LineLayoutsByType) {
    struct Case { std::uint16_t type; const char* line; std::int32_t id; const char* content; };
    const Case cases[] = {
        {1, "01 FD$='X'", 1, "FD$='X'"},
        {1, " 1 A=2", 1, "A=2"},
        {2, "[07B=1]", 7, "B=1"},
        {3, "0123 X=1", 123, "X=1"},
        {4, "12Y=2", 12, "Y=2"},
        {6, "00042whole", 42, "00042whole"},
        {0, "12 whole", 0, "12 whole"},
        {9, "abc", 0, "abc"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParmLineId(StrFromC(c.line), c.type), c.id) << c.line;
        EXPECT_EQ(Str(ParmLineContent(StrFromC(c.line), c.type)), c.content) << c.line;
    }
}

TEST_F(ParmTest, BlocksAreAssembledInFileOrderAndStacked) {
    TempFolder dir(true);
    dir.Write("trans.ppn", "01 FD$='X'\r\n02 FD$=Other\r\n01 OPEN$=1\r\n 1 FD$=B\r\n");
    ASSERT_EQ(ParmPush(S("trans.ppn"), 1, 1), 0);
    EXPECT_EQ(Str(ParmTopBlock()), "FD$='X':OPEN$=1:FD$=B");
    EXPECT_EQ(Str(ParmTop(S("FD$"))), "X");  // the earlier line's assignment is the one read
    EXPECT_EQ(Str(ParmTopByNumber(13)), "1");
    EXPECT_EQ(SlotCount(kWorkQueueGroup), 0);

    ASSERT_EQ(ParmPush(S("trans.ppn"), 1, 2), 0);
    EXPECT_EQ(Str(ParmTopByNumber(51)), "OTHER");
    EXPECT_EQ(ParmPop(), 0);
    EXPECT_EQ(Str(ParmTopByNumber(51)), "X");

    EXPECT_EQ(ParmPush(S("trans.ppn"), 1, 9), kNone);
    EXPECT_EQ(ParmPush(S("missing.ppn"), 1, 1), kNone);
    EXPECT_EQ(SlotCount(kParmStackGroup), 1);
    EXPECT_EQ(ParmPushOrEmpty(S("trans.ppn"), 1, 9), 0);
    EXPECT_EQ(SlotCount(kParmStackGroup), 2);
    EXPECT_EQ(ParmTopBlock().len, 0);
}

TEST_F(ParmTest, ABlockOfManyLinesLoadsWholeAndLeavesTheQueueEmpty) {
    TempFolder dir(true);
    std::string lines;
    for (int i = 0; i < 300; ++i) lines += "01 A" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    dir.Write("long.ppn", lines);
    std::uint16_t mark = DynMark();
    ASSERT_EQ(ParmPush(S("long.ppn"), 1, 1), 0);
    EXPECT_EQ(DynMark(), mark);
    EXPECT_EQ(SlotCount(kWorkQueueGroup), 0);
    EXPECT_EQ(Str(ParmTop(S("A299"))), "299");
    DynRelease(mark);
}

TEST_F(ParmTest, ABareNameIsLookedForInTheDefaultFolder) {
    TempFolder dir;
    dir.Write("KVFONT.PPN", "21;9;BOLD;Courier New\n");
    ASSERT_EQ(SlotSet(0, 5, D(dir.RuntimePath())), 0);
    ASSERT_EQ(ParmPush(S("KVFONT.PPN"), 0, 0), 0);
    EXPECT_EQ(Str(ParmTopBlock()), "21;9;BOLD;Courier New");
}

TEST_F(ParmTest, NumberedNames) {
    struct Case { std::uint16_t n; const char* name; };
    const Case cases[] = {{0, ""}, {1, "MODULES$"}, {9, "STATMSG$"}, {10, ""}, {13, "OPEN$"}, {50, ""},
                          {51, "FD$"}, {67, "IK$(3)"}, {68, ""}, {112, "TARGET$"}, {116, "STRUCT$"},
                          {117, ""}};
    for (const Case& c : cases) {
        std::uint16_t m = DynMark();
        EXPECT_EQ(Str(ParmName(c.n)), c.name) << c.n;
        DynRelease(m);
    }
    ASSERT_EQ(SlotSet(9, 8, S("BAJA,ALTA")), 0);
    ASSERT_EQ(VarIntSlotSet(kSysAux, 2), 0);
    EXPECT_EQ(Str(ParmName(51)), "ALTA.FD$");
    EXPECT_EQ(Str(ParmName(50)), "");
}

TEST_F(ParmTest, ParmFromFallsBackToTheBareNameThenToTheVariable) {
    ASSERT_EQ(VarSetText(S("FD$"), S("from variable")), 0);
    ASSERT_EQ(VarSetInteger(S("KEYMAP"), 7), 0);
    EXPECT_EQ(Str(ParmFrom(S("FD$='a,b,c'"), 51, 0)), "a,b,c");
    EXPECT_EQ(Str(ParmFrom(S("FD$='a,b,c'"), 51, 2)), "b");
    EXPECT_EQ(Str(ParmFrom(S("X=1"), 51, 0)), "from variable");
    EXPECT_EQ(Str(ParmFrom(S("X=1"), 25, 0)), "7");
    EXPECT_EQ(Str(ParmFrom(S("X=1"), 65, 0)), "");  // IK$(1) has no variable to fall back to

    ASSERT_EQ(SlotSet(9, 8, S("ALTA")), 0);
    ASSERT_EQ(VarIntSlotSet(kSysAux, 1), 0);
    EXPECT_EQ(Str(ParmFrom(S("ALTA.FD$=one:FD$=two"), 51, 0)), "one");
    EXPECT_EQ(Str(ParmFrom(S("FD$=two"), 51, 0)), "two");
}

}  // namespace
}  // namespace rt::test
