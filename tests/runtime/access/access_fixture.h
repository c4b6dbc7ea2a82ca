// Record access over a real table: a runtime connected to the test's database with the upper layers
// installed, message boxes on a desktop backend of the test's choice (AccessTest: the terminal, which
// writes each box to standard error and answers it with its first button), and helpers that read the
// record as a test compares it.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/console/console_desktop.h"
#include "runtime/access/file_read.h"
#include "runtime/data/fields.h"
#include "runtime/data/file_open.h"
#include "runtime/data/keys.h"
#include "runtime/data/record_buffer.h"
#include "runtime/env/catalog.h"
#include "runtime/expr/builtin_functions.h"
#include "runtime/sql/sql_write.h"
#include "runtime/start/runtime_layers.h"
#include "tests/runtime/sql/sql_fixture.h"

namespace rt::test {

template <typename Backend>
class AccessTestOn : public SqlTest {
protected:
    void SetUp() override {
        SqlTest::SetUp();
        MsgLangReset();
        DesktopSet(&desktop_);
        RuntimeLayersInstall();
    }
    void TearDown() override {
        FnRecordLayerSet(nullptr);
        SqlFileFindSet(nullptr);
        DesktopSet(nullptr);
        SqlTest::TearDown();
    }
    // Connects, opens table (mode 2, as the contact application does) and makes it current.
    std::uint8_t OpenTable(const char* table) {
        EXPECT_EQ(Connect(), 0) << Detail();
        std::uint8_t f = FileByName(StrFromC(table));
        EXPECT_NE(f, 0) << table;
        FileSelect(f);
        EXPECT_EQ(FileOpen(f, 2), 0);
        ClearTrace();
        return f;
    }
    // Field n of the current record without its padding.
    std::string Get(std::uint8_t file, std::uint16_t field) {
        DynScope scope;
        std::string s = Str(FieldGet(file, field));
        while (!s.empty() && s.back() == ' ') s.pop_back();
        return s;
    }
    void Set(std::uint8_t file, std::uint16_t field, const std::string& value) {
        ASSERT_EQ(FieldSet(file, field, D(value)), 0);
    }
    // Both records blank.
    bool Blank(std::uint8_t file) {
        DynScope scope;
        std::string whole = Str(RecImage(file, kRecWhole));
        return whole.find_first_not_of(' ') == std::string::npos;
    }

    Backend desktop_;
};

using AccessTest = AccessTestOn<ConsoleDesktop>;

}  // namespace rt::test
