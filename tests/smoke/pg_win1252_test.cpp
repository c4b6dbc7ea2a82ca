// The throwaway database is reachable and keeps Windows-1252 texts byte for byte when the
// connection speaks WIN1252, as the runtime's connections do.
#include <libpq-fe.h>

#include <string>

#include "tests/support/pg_fixture.h"

namespace rt::test {
namespace {

class PgWin1252Smoke : public PgTest {};

TEST_F(PgWin1252Smoke, AccentedNameRoundTripsAsWin1252Bytes) {
    ASSERT_EQ(PQsetClientEncoding(conn(), "WIN1252"), 0) << PQerrorMessage(conn());
    ASSERT_STREQ(pg_encoding_to_char(PQclientEncoding(conn())), "WIN1252");

    const std::string name = "Jos\xE9 \xD1\xFA\xF1" "ez";
    const std::string table = NewTable("smoke_win1252");
    ExecOk("CREATE TABLE \"" + table + "\" (id integer PRIMARY KEY, nombre varchar(40));");

    // Written as a literal in the statement text, the way the runtime writes values.
    ExecOk("INSERT INTO \"" + table + "\" VALUES (1, '" + name + "');");

    PgResultPtr read = ExecOk("SELECT nombre, length(nombre) FROM \"" + table + "\" WHERE id = 1;");
    ASSERT_EQ(PQntuples(read.get()), 1);
    EXPECT_EQ(std::string(PQgetvalue(read.get(), 0, 0), PQgetlength(read.get(), 0, 0)), name);
    // Ten characters on the server: the bytes were taken as Windows-1252, not as broken UTF-8.
    EXPECT_STREQ(PQgetvalue(read.get(), 0, 1), "10");
}

}  // namespace
}  // namespace rt::test
