// The throwaway PostgreSQL cluster of a test run, reached with libpq through the PG* environment
// (scripts/test.sh runs the suite under pg_virtualenv). Tests create uniquely named objects so that
// test programs running side by side never meet, and drop them again.
#pragma once
#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace rt::test {

struct PgConnClose {
    void operator()(PGconn* conn) const { PQfinish(conn); }
};
struct PgResultClear {
    void operator()(PGresult* res) const { PQclear(res); }
};
using PgConnPtr = std::unique_ptr<PGconn, PgConnClose>;
using PgResultPtr = std::unique_ptr<PGresult, PgResultClear>;

// Connects with every parameter taken from PG* variables and libpq's defaults; check PQstatus.
PgConnPtr PgConnect();

// The value libpq resolves for one connection keyword ("host", "port", "user", "password", "dbname")
// from the environment and its defaults; empty when it has none. Tests that connect through the
// runtime's own credentials take them from here.
std::string PgSetting(std::string_view keyword);

// A lower-case name no other test process uses at the same time: prefix, process id and a counter.
std::string PgUniqueName(std::string_view prefix);

// A database of its own for one test, so that what a test registers from "every table of schema
// public" is only what it created. Made from template0 (which no session ever holds) and dropped with
// every session still on it when the object goes.
class PgDatabase {
public:
    // encoding: the server encoding of the database (SQL_ASCII gets the C locale it needs).
    explicit PgDatabase(const std::string& encoding = "UTF8");
    ~PgDatabase();
    PgDatabase(const PgDatabase&) = delete;
    PgDatabase& operator=(const PgDatabase&) = delete;

    const std::string& name() const { return name_; }
    // A connection of the test's own to the database (opened on first use).
    PGconn* conn();
    // Runs sql there and fails the test unless it succeeded.
    PgResultPtr ExecOk(const std::string& sql);
    // The first value of the first row of a query, empty when it gave none.
    std::string Value(const std::string& sql);

private:
    std::string name_;
    PgConnPtr conn_;
};

// A test with an open connection. Tables named by DropAtEnd are dropped in TearDown.
class PgTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    PGconn* conn() const { return conn_.get(); }
    // Runs sql and returns its result (never null; PQresultStatus tells how it went).
    PgResultPtr Exec(const std::string& sql);
    // Runs sql and fails the test unless it succeeded.
    PgResultPtr ExecOk(const std::string& sql);
    // A fresh table name that TearDown drops.
    std::string NewTable(std::string_view prefix);
    void DropAtEnd(const std::string& table) { tables_.push_back(table); }

private:
    PgConnPtr conn_;
    std::vector<std::string> tables_;
};

}  // namespace rt::test
