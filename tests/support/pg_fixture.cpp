#include "tests/support/pg_fixture.h"

#include <unistd.h>

#include <atomic>

namespace rt::test {

PgConnPtr PgConnect() { return PgConnPtr(PQconnectdb("")); }

namespace {

PgConnPtr PgConnectTo(const std::string& database) {
    const char* keys[] = {"dbname", nullptr};
    const char* values[] = {database.c_str(), nullptr};
    return PgConnPtr(PQconnectdbParams(keys, values, 1));
}

bool RunOk(PGconn* conn, const std::string& sql, std::string* message) {
    PgResultPtr res(PQexec(conn, sql.c_str()));
    ExecStatusType status = PQresultStatus(res.get());
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) return true;
    if (message != nullptr) *message = PQresultErrorMessage(res.get());
    return false;
}

}  // namespace

PgDatabase::PgDatabase(const std::string& encoding) : name_(PgUniqueName("qdb")) {
    PgConnPtr admin = PgConnect();
    std::string message;
    std::string locale = encoding == "SQL_ASCII" ? " LC_COLLATE 'C' LC_CTYPE 'C'" : "";
    EXPECT_TRUE(RunOk(admin.get(), "CREATE DATABASE \"" + name_ + "\" TEMPLATE template0 ENCODING '" + encoding + "'" +
                                       locale + ";", &message))
        << message;
}

PgDatabase::~PgDatabase() {
    conn_.reset();
    PgConnPtr admin = PgConnect();
    std::string message;
    EXPECT_TRUE(RunOk(admin.get(), "DROP DATABASE IF EXISTS \"" + name_ + "\" WITH (FORCE);", &message)) << message;
}

PGconn* PgDatabase::conn() {
    if (!conn_) {
        conn_ = PgConnectTo(name_);
        EXPECT_EQ(PQstatus(conn_.get()), CONNECTION_OK) << PQerrorMessage(conn_.get());
        PQsetClientEncoding(conn_.get(), "WIN1252");
    }
    return conn_.get();
}

PgResultPtr PgDatabase::ExecOk(const std::string& sql) {
    PgResultPtr res(PQexec(conn(), sql.c_str()));
    ExecStatusType status = PQresultStatus(res.get());
    EXPECT_TRUE(status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) << sql << "\n" << PQresultErrorMessage(res.get());
    return res;
}

std::string PgDatabase::Value(const std::string& sql) {
    PgResultPtr res = ExecOk(sql);
    if (PQntuples(res.get()) == 0 || PQnfields(res.get()) == 0) return "";
    return std::string(PQgetvalue(res.get(), 0, 0), PQgetlength(res.get(), 0, 0));
}

std::string PgSetting(std::string_view keyword) {
    std::string value;
    PQconninfoOption* options = PQconndefaults();
    if (options == nullptr) return value;
    for (PQconninfoOption* o = options; o->keyword != nullptr; ++o) {
        if (keyword == o->keyword && o->val != nullptr) value = o->val;
    }
    PQconninfoFree(options);
    return value;
}

std::string PgUniqueName(std::string_view prefix) {
    static std::atomic<unsigned> counter{0};
    std::string name(prefix);
    name += "_" + std::to_string(static_cast<long>(getpid())) + "_" + std::to_string(++counter);
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return name;
}

void PgTest::SetUp() {
    conn_ = PgConnect();
    ASSERT_EQ(PQstatus(conn_.get()), CONNECTION_OK)
        << "no database: run the suite through scripts/test.sh, which provides one through PG* variables ("
        << PQerrorMessage(conn_.get()) << ")";
}

void PgTest::TearDown() {
    if (!conn_ || PQstatus(conn_.get()) != CONNECTION_OK) return;
    for (auto it = tables_.rbegin(); it != tables_.rend(); ++it) {
        PgResultPtr res(PQexec(conn_.get(), ("DROP TABLE IF EXISTS \"" + *it + "\";").c_str()));
        EXPECT_EQ(PQresultStatus(res.get()), PGRES_COMMAND_OK) << PQresultErrorMessage(res.get());
    }
    tables_.clear();
    conn_.reset();
}

PgResultPtr PgTest::Exec(const std::string& sql) { return PgResultPtr(PQexec(conn_.get(), sql.c_str())); }

PgResultPtr PgTest::ExecOk(const std::string& sql) {
    PgResultPtr res = Exec(sql);
    ExecStatusType status = PQresultStatus(res.get());
    EXPECT_TRUE(status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK)
        << sql << "\n" << PQresultErrorMessage(res.get());
    return res;
}

std::string PgTest::NewTable(std::string_view prefix) {
    std::string name = PgUniqueName(prefix);
    DropAtEnd(name);
    return name;
}

}  // namespace rt::test
