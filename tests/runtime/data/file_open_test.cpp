// Opening and closing data files, with and without a read layer behind them.
#include "runtime/data/file_open.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/data/record_buffer.h"
#include "runtime/env/errors.h"
#include "tests/runtime/data/data_fixture.h"

namespace rt::test {
namespace {

// A read layer that answers from a script and records what it was asked.
struct ScriptedReads {
    std::vector<ErrCode> answers;
    std::vector<std::string> calls;
    bool leaveMultiRead = false;
};
ScriptedReads* g_script = nullptr;

ErrCode ScriptRead(std::uint8_t file, std::uint8_t mode) {
    g_script->calls.push_back("read " + std::to_string(file) + " " + std::to_string(mode) + " syscompat " +
                              std::to_string(SysBits(kSysSysCompat)));
    ErrCode answer = g_script->answers.empty() ? 2 : g_script->answers.front();
    if (!g_script->answers.empty()) g_script->answers.erase(g_script->answers.begin());
    if (answer == 0 && g_script->leaveMultiRead) FileCtrl(file).multiSlot = 3;
    return answer;
}
void ScriptMultiEnd(std::uint8_t file) {
    g_script->calls.push_back("end " + std::to_string(file));
    FileCtrl(file).multiSlot = 0xFFFF;
}
void ScriptResultClear(std::uint16_t slot) { g_script->calls.push_back("clear " + std::to_string(slot)); }

const FileReadLayer kScriptLayer{ScriptRead, ScriptMultiEnd, ScriptResultClear};

class FileOpenTest : public DataTest {
protected:
    void SetUp() override {
        DataTest::SetUp();
        AddFile("uno", {{"A", 3, 'A'}});
        AddFile("dos", {{"B", 4, 'A'}, {"C", 2, 'N'}});
        g_script = &script_;
    }
    void TearDown() override {
        g_script = nullptr;
        DataTest::TearDown();
    }
    ScriptedReads script_;
};

TEST_F(FileOpenTest, OpeningMakesABlankBufferAndResetsTheControlBlock) {
    FileCtrl(2).status = 0;
    FileCtrl(2).activeKey = 3;
    EXPECT_EQ(FileOpen(2, 2), 0);
    EXPECT_EQ(Str(RecImage(2, kRecWhole)), std::string(12, ' '));
    EXPECT_EQ(FileCtrl(2).openMode, 2);
    EXPECT_EQ(FileCtrl(2).status, 2);
    EXPECT_EQ(FileCtrl(2).activeKey, 1);

    ASSERT_EQ(RecWrite(2, kRecWhole, S("abcdefghijkl")), 0);
    EXPECT_EQ(FileOpen(2, 1), 0);
    EXPECT_EQ(Str(RecImage(2, kRecWhole)), std::string(12, ' ')) << "each open starts blank";

    EXPECT_EQ(FileOpen(5, 2), 168) << "5 stands for the current file, which is none";
}

TEST_F(FileOpenTest, WithoutReadLayerTheFirstReadFindsNothing) {
    EXPECT_EQ(FileOpen(1, 8 | 2), 2);
    EXPECT_EQ(SysVar(kSysCurFil), 1) << "the file became the current file";
    EXPECT_EQ(FileClose(1), 0);
}

TEST_F(FileOpenTest, ModeBit8ReadsTheFirstRecordOfTheFile) {
    FileReadLayerSet(&kScriptLayer);
    script_.answers = {0};
    EXPECT_EQ(FileOpen(2, 8), 0);
    EXPECT_EQ(SysVar(kSysCurFil), 2);
    EXPECT_EQ(script_.calls, (std::vector<std::string>{"read 2 36 syscompat 0"}));
}

TEST_F(FileOpenTest, ASqlErrorOnTheFirstReadRetriesWithPlainOrdering) {
    FileReadLayerSet(&kScriptLayer);
    script_.answers = {162, 0};
    ErrSetText(162, S("syntax error at NULLS"));
    EXPECT_EQ(FileOpen(2, 8), 0);
    EXPECT_EQ(script_.calls, (std::vector<std::string>{"read 2 36 syscompat 0", "read 2 36 syscompat 1"}));
    EXPECT_EQ(Str(ErrDetail()), "");

    script_.calls.clear();
    script_.answers = {162};
    EXPECT_EQ(FileOpen(2, 8), 162) << "plain ordering is already in use: no second try";
    EXPECT_EQ(script_.calls.size(), 1u);
}

TEST_F(FileOpenTest, AFirstReadThatLeftAMultiReadOpenEndsIt) {
    FileReadLayerSet(&kScriptLayer);
    script_.answers = {0};
    script_.leaveMultiRead = true;
    EXPECT_EQ(FileOpen(1, 8), 0);
    EXPECT_EQ(script_.calls, (std::vector<std::string>{"read 1 36 syscompat 0", "end 1"}));
    EXPECT_EQ(FileCtrl(1).multiSlot, 0xFFFF);
}

TEST_F(FileOpenTest, ClosingEndsReadsAndResetsTheBlock) {
    FileReadLayerSet(&kScriptLayer);
    EXPECT_EQ(FileClose(2), 0);
    EXPECT_TRUE(script_.calls.empty()) << "a closed file has nothing to end";

    ASSERT_EQ(FileOpen(2, 2), 0);
    FileCtrl(2).resultSlots[0] = 4;
    FileCtrl(2).status = 0;
    EXPECT_EQ(FileClose(2), 0);
    EXPECT_EQ(script_.calls, (std::vector<std::string>{"end 2", "clear 4"}));
    EXPECT_EQ(FileCtrl(2).openMode, 0);
    EXPECT_EQ(FileCtrl(2).status, 2);
    EXPECT_EQ(FileCtrl(2).resultSlots[0], 0);
    EXPECT_EQ(FileClose(9), 168) << "9 stands for the current file, which is none";
}

}  // namespace
}  // namespace rt::test
