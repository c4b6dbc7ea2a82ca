// A runtime connected (on demand) to a database of the test's own, with the trace log written to a
// file of the test, so that a test can compare the exact statements the runtime sent.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/env/errors.h"
#include "runtime/sql/sql_connect.h"
#include "runtime/sql/sql_control.h"
#include "runtime/sql/sql_schema.h"
#include "runtime/text/slot_table.h"
#include "runtime/vars/var_system.h"
#include "tests/runtime/data/data_fixture.h"
#include "tests/support/pg_fixture.h"
#include "tests/support/temp_folder.h"

namespace rt::test {

// Trace bits of the runtime's SQL lines (1 is always set by start-up).
constexpr std::int16_t kTraceSql = 1 | 4;

class SqlTest : public DataTest {
protected:
    void SetUp() override {
        DataTest::SetUp();
        db_ = std::make_unique<PgDatabase>(Encoding());
        std::string log = folder_.RuntimePath() + "\\trace.txt";
        SlotSet(kRunTextsGroup, kSlotLogPath, D(log));
        SysVarSet(kSysTrace, kTraceSql);
    }
    void TearDown() override {
        SqlStartHook(kSqlHookEnd);
        SqlCredentialsAskSet(nullptr);
        db_.reset();
        DataTest::TearDown();
    }

    // The server encoding of the test's database.
    virtual std::string Encoding() const { return "UTF8"; }
    PgDatabase& db() { return *db_; }
    static std::string Host() { return PgSetting("host"); }
    static std::string User() { return PgSetting("user"); }
    static std::string Password() { return PgSetting("password"); }

    // Connects the runtime to the test's database; flags as the start hook gives them.
    ErrCode Connect(std::uint8_t flags = kSchemaColumns) {
        std::string host = Host(), name = db_->name(), user = User(), password = Password();
        return SqlConnect(D(host), D(name), D(user), D(password), flags);
    }

    // The trace lines written since the last ClearTrace.
    std::vector<std::string> Trace() const {
        std::istringstream in(folder_.Read("trace.txt"));
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }
    // The statements traced since the last ClearTrace, without connection lines.
    std::vector<std::string> Statements() const {
        std::vector<std::string> out;
        for (const std::string& line : Trace())
            if (line.rfind("dbname = ", 0) != 0 && line.rfind("host = ", 0) != 0) out.push_back(line);
        return out;
    }
    void ClearTrace() const { folder_.Write("trace.txt", ""); }

    std::string Detail() const { return Str(ErrDetail()); }

    // The test's own folder, also its current folder: files a run writes beside a data file or in the
    // current folder never meet those of another test process.
    TempFolder folder_{true};

private:
    std::unique_ptr<PgDatabase> db_;
};

}  // namespace rt::test
