// Writes: inserts, updates of the changed columns only, deletes, cursor writes of rows sharing key 1,
// transactions, and the check that a save never overwrites another user's change.
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "runtime/data/fields.h"
#include "runtime/data/keys.h"
#include "runtime/data/record_buffer.h"
#include "runtime/sql/sql_cursor.h"
#include "runtime/sql/sql_read.h"
#include "runtime/sql/sql_write.h"
#include "runtime/text/err_codes.h"
#include "tests/runtime/sql/sql_fixture.h"

namespace rt::test {
namespace {

constexpr int kWaitMs = 300;  // long enough for the save to reach the server and wait on the row lock

class SqlWriteTest : public SqlTest {
protected:
    std::uint8_t Open(const char* name) {
        std::uint8_t f = FileByName(StrFromC(name));
        EXPECT_NE(f, 0) << name;
        EXPECT_EQ(FileOpen(f, 1), 0);
        return f;
    }
    void Set(std::uint8_t file, std::uint16_t field, const std::string& value) {
        ASSERT_EQ(FieldSet(file, field, D(value)), 0);
    }
    std::string Get(std::uint8_t file, std::uint16_t field) {
        DynScope scope;
        std::string s = Str(FieldGet(file, field));
        while (!s.empty() && s.back() == ' ') s.pop_back();
        return s;
    }
    // Reads the row of key 1 equal to value into both records, as a read does.
    void Load(std::uint8_t file, const std::string& value) {
        ASSERT_EQ(SqlFindSelect(file, 1, D(value), 0), 0) << value;
        ASSERT_EQ(SqlRowToRecord(file, kLoadBoth, 0, SqlHomeSlot()), 0);
    }
};

TEST_F(SqlWriteTest, InsertSendsTheFieldsBeforeTrailingFillersAndKeepsEveryByte) {
    db().ExecOk("CREATE TABLE t (\"K\" varchar(3) PRIMARY KEY, \"AVOID\" varchar(2), \"V\" varchar(255), "
                "\"NULL\" varchar(2), \"OTHER\" varchar(2));");
    ASSERT_EQ(Connect(), 0) << Detail();
    std::uint8_t t = Open("t");
    RecBlank(t, 1);
    Set(t, 1, "a");
    Set(t, 2, "zz");
    Set(t, 3, "O'Br\\'ien");
    Set(t, 4, "nn");
    ClearTrace();
    ASSERT_EQ(FileInsert(t), 0) << Detail();
    EXPECT_EQ(Statements(), std::vector<std::string>{"INSERT INTO \"t\" VALUES ('a','zz',E'O\\x27Br\\\\\\x27ien');"});
    EXPECT_EQ(db().Value("SELECT \"V\" FROM t WHERE \"K\" = 'a';"), "O'Br\\'ien");
    EXPECT_EQ(db().Value("SELECT \"NULL\" IS NULL FROM t;"), "t");
    EXPECT_EQ(FileInsert(t), kErrDataExists);

    // Every byte a Windows-1252 text can hold in a UTF-8 database comes back as it went; the five
    // bytes Windows-1252 leaves undefined cannot be stored there, and fail without writing anything.
    std::string bytes;
    for (int b = 1; b < 256; ++b)
        if (b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D) bytes += static_cast<char>(b);
    RecBlank(t, 1);
    Set(t, 1, "b");
    Set(t, 3, bytes);
    ASSERT_EQ(FileInsert(t), 0) << Detail();
    RecBlank(t, 1);
    Load(t, "b");
    EXPECT_EQ(Str(FieldRaw(t, 3, kRecCurrent)), bytes + std::string(255 - bytes.size(), ' '));
    RecBlank(t, 1);
    Set(t, 1, "c");
    Set(t, 3, "x\x81y");
    EXPECT_EQ(FileInsert(t), kErrSqlError);
    EXPECT_EQ(db().Value("SELECT count(*) FROM t;"), "2");
}

class SqlAsciiWriteTest : public SqlWriteTest {
protected:
    std::string Encoding() const override { return "SQL_ASCII"; }
};

TEST_F(SqlAsciiWriteTest, EveryByteFrom1To255RoundTripsThroughAnSqlAsciiDatabase) {
    db().ExecOk("CREATE TABLE t (\"K\" varchar(3) PRIMARY KEY, \"V\" varchar(255));");
    ASSERT_EQ(Connect(), 0) << Detail();
    std::uint8_t t = Open("t");
    std::string bytes;
    for (int b = 1; b < 256; ++b) bytes += static_cast<char>(b);
    RecBlank(t, 1);
    Set(t, 1, "b");
    Set(t, 2, bytes);
    ASSERT_EQ(FileInsert(t), 0) << Detail();
    RecBlank(t, 1);
    Load(t, "b");
    EXPECT_EQ(Str(FieldRaw(t, 2, kRecCurrent)), bytes);
}

constexpr const char* kContactos =
    "CREATE TABLE contactos (\"RAZON_SOCIAL\" varchar(60) PRIMARY KEY, \"NOMBRE\" varchar(60), "
    "\"TELEFONO\" varchar(20), \"EMAIL\" varchar(60) CHECK (\"EMAIL\" <> 'prohibido'));";

TEST_F(SqlWriteTest, AnUpdateSetsOnlyTheChangedColumnsAndNeverAnotherUsersChange) {
    db().ExecOk(kContactos);
    db().ExecOk("INSERT INTO contactos VALUES ('ACME', 'ANA', '111', 'a@x.es'), ('BETA', 'BEA', '222', NULL);");
    ASSERT_EQ(Connect(), 0) << Detail();
    std::uint8_t c = Open("contactos");
    Load(c, "ACME");
    ClearTrace();
    EXPECT_EQ(FileUpdate(c, 0), 0);  // unchanged: nothing is sent
    EXPECT_TRUE(Statements().empty());
    Set(c, 2, "ANA MARIA");
    ASSERT_EQ(FileUpdate(c, 0), 0) << Detail();
    EXPECT_EQ(Statements(), (std::vector<std::string>{
        "SELECT COUNT (*) FROM \"contactos\" WHERE \"RAZON_SOCIAL\" = 'ACME';",
        "UPDATE ONLY \"contactos\" SET \"NOMBRE\" = 'ANA MARIA' WHERE \"RAZON_SOCIAL\" = 'ACME' AND "
        "rtrim(\"NOMBRE\"::text) IS NOT DISTINCT FROM 'ANA';"}));
    EXPECT_EQ(db().Value("SELECT \"NOMBRE\" FROM contactos WHERE \"RAZON_SOCIAL\" = 'ACME';"), "ANA MARIA");
    RecCopy(c, 1);

    // Another user saves a new TELEFONO. This user's new EMAIL is saved beside it; a different
    // TELEFONO of this user is refused with 7 and the other user's number stays.
    db().ExecOk("UPDATE contactos SET \"TELEFONO\" = '999' WHERE \"RAZON_SOCIAL\" = 'ACME';");
    Set(c, 4, "ana@x.es");
    ASSERT_EQ(FileUpdate(c, 0), 0) << Detail();
    RecCopy(c, 1);
    Set(c, 3, "333");
    ClearTrace();
    EXPECT_EQ(FileUpdate(c, 0), kStatusDataChanged);
    EXPECT_EQ(Statements().size(), 2u);  // the count and the UPDATE, which touches no row
    EXPECT_EQ(db().Value("SELECT \"TELEFONO\" || ' ' || \"EMAIL\" || ' ' || \"NOMBRE\" FROM contactos "
                         "WHERE \"RAZON_SOCIAL\" = 'ACME';"),
              "999 ana@x.es ANA MARIA");
    EXPECT_EQ(Get(c, 3), "333");  // the user's edit is still in the record
    EXPECT_EQ(Str(FieldRaw(c, 3, kRecReference)).substr(0, 3), "111");

    // A contact another user deleted: 7, and nothing is written.
    Load(c, "BETA");
    db().ExecOk("DELETE FROM contactos WHERE \"RAZON_SOCIAL\" = 'BETA';");
    Set(c, 2, "BEATRIZ");
    EXPECT_EQ(FileUpdate(c, 0), kStatusDataChanged);
    EXPECT_EQ(db().Value("SELECT count(*) FROM contactos;"), "1");

    // Refused by the server: 0xFFFF, with the server's code noted.
    Load(c, "ACME");
    Set(c, 4, "prohibido");
    ErrClear();
    EXPECT_EQ(FileUpdate(c, 0), kNone);
    EXPECT_EQ(ErrNoted() & 0xFFFF, kErrSqlError);
    // A delete of a row that is gone already answers 0.
    Load(c, "ACME");
    db().ExecOk("DELETE FROM contactos;");
    EXPECT_EQ(FileDelete(c, 0), 0);
}

// The check is the UPDATE's own condition: a save that waits on another user's uncommitted change of
// the row sees that change once it commits, with no moment in between to overwrite it.
TEST_F(SqlWriteTest, ASaveRacingAnotherUsersCommitOfTheSameFieldGets7AndOfAnotherFieldKeepsBoth) {
    db().ExecOk(kContactos);
    db().ExecOk("INSERT INTO contactos VALUES ('ACME', 'ANA', '111', NULL), ('BETA', NULL, NULL, NULL);");
    ASSERT_EQ(Connect(), 0) << Detail();
    std::uint8_t c = Open("contactos");
    struct Case {
        const char* other;  // the other user's change, committed while this save waits on it
        std::uint16_t field;
        const char* value;
        ErrCode want;
        const char* row;
    };
    const Case cases[] = {
        {"\"TELEFONO\" = '999'", 3, "333", kStatusDataChanged, "ANA|999|"},
        {"\"EMAIL\" = 'a@x.es'", 3, "333", 0, "ANA|333|a@x.es"},
        {"\"NOMBRE\" = 'ANA'", 2, "ANITA", 0, "ANITA|333|a@x.es"},  // rewritten with the value read
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.other);
        Load(c, "ACME");
        Set(c, k.field, k.value);
        PgConnPtr other(PQconnectdb(("dbname='" + db().name() + "'").c_str()));
        ASSERT_EQ(PQstatus(other.get()), CONNECTION_OK) << PQerrorMessage(other.get());
        auto exec = [&other](const std::string& sql) {
            PgResultPtr r(PQexec(other.get(), sql.c_str()));
            EXPECT_EQ(PQresultStatus(r.get()), PGRES_COMMAND_OK) << PQerrorMessage(other.get());
        };
        exec(std::string("BEGIN; UPDATE contactos SET ") + k.other + " WHERE \"RAZON_SOCIAL\" = 'ACME';");
        ErrCode saved = kNone;
        std::thread save([&] { saved = FileUpdate(c, 0); });
        std::this_thread::sleep_for(std::chrono::milliseconds(kWaitMs));
        exec("COMMIT;");
        save.join();
        EXPECT_EQ(saved, k.want) << Detail();
        EXPECT_EQ(db().Value("SELECT concat_ws('|', \"NOMBRE\", \"TELEFONO\", coalesce(\"EMAIL\", '')) FROM contactos "
                             "WHERE \"RAZON_SOCIAL\" = 'ACME';"),
                  k.row);
    }
    // A field read blank matches a stored NULL as well as an empty text.
    Load(c, "BETA");
    db().ExecOk("UPDATE contactos SET \"TELEFONO\" = '' WHERE \"RAZON_SOCIAL\" = 'BETA';");
    Set(c, 2, "BEA");
    Set(c, 3, "444");
    EXPECT_EQ(FileUpdate(c, 0), 0) << Detail();
    EXPECT_EQ(db().Value("SELECT \"NOMBRE\" || \"TELEFONO\" FROM contactos WHERE \"RAZON_SOCIAL\" = 'BETA';"), "BEA444");
}

TEST_F(SqlWriteTest, RowsSharingKeyOneAreWrittenOneByOneThroughACursor) {
    db().ExecOk("CREATE TABLE dup (\"NOMBRE\" varchar(10), \"POBLACION\" varchar(10), \"EDAD\" integer);");
    db().ExecOk("CREATE INDEX dup_nombre ON dup (\"NOMBRE\");");
    db().ExecOk("INSERT INTO dup VALUES ('ANA', 'LUGO', 1), ('ANA', 'VIGO', 2), ('BEA', 'SORIA', 3);");
    ASSERT_EQ(Connect(), 0) << Detail();
    std::uint8_t d = Open("dup");
    ASSERT_EQ(SqlExec(S("SELECT * FROM \"dup\" WHERE \"POBLACION\" = 'VIGO';")), 0);
    ASSERT_EQ(SqlRowToRecord(d, kLoadBoth, 0, SqlHomeSlot()), 0);
    const std::string order = "\"NOMBRE\" NULLS FIRST,\"POBLACION\" NULLS FIRST,\"EDAD\" NULLS FIRST";
    ClearTrace();
    ASSERT_EQ(FileDelete(d, 0), 0) << Detail();
    EXPECT_EQ(Statements(), (std::vector<std::string>{
        "SELECT COUNT (*) FROM \"dup\" WHERE \"NOMBRE\" = 'ANA';",
        "START TRANSACTION;",
        "DECLARE curs_0 CURSOR FOR SELECT * FROM \"dup\" WHERE \"NOMBRE\" = 'ANA' ORDER BY " + order + " FOR UPDATE;",
        "FETCH FIRST FROM \"curs_0\";",
        "FETCH NEXT FROM \"curs_0\";",
        "DELETE FROM \"dup\" WHERE CURRENT OF curs_0;",
        "CLOSE curs_0;",
        "COMMIT;"}));
    EXPECT_EQ(db().Value("SELECT string_agg(\"POBLACION\", ',' ORDER BY \"POBLACION\") FROM dup;"), "LUGO,SORIA");
    EXPECT_FALSE(SysBits(kSysAuxStat) & kAuxTransaction);

    db().ExecOk("INSERT INTO dup VALUES ('ANA', 'VIGO', 2);");
    ASSERT_EQ(SqlExec(S("SELECT * FROM \"dup\" WHERE \"POBLACION\" = 'LUGO';")), 0);
    ASSERT_EQ(SqlRowToRecord(d, kLoadBoth, 0, SqlHomeSlot()), 0);
    Set(d, 3, "7");
    ClearTrace();
    ASSERT_EQ(FileUpdate(d, 0), 0) << Detail();
    std::vector<std::string> sent = Statements();
    ASSERT_EQ(sent.size(), 7u);
    EXPECT_EQ(sent[4], "UPDATE \"dup\" SET \"EDAD\" = 7 WHERE CURRENT OF curs_0;");
    EXPECT_EQ(db().Value("SELECT string_agg(\"EDAD\"::text, ',' ORDER BY \"POBLACION\") FROM dup;"), "7,3,2");

    // The row was changed by another user in between: not among the rows of its key, 7 for a save.
    db().ExecOk("UPDATE dup SET \"EDAD\" = 8 WHERE \"POBLACION\" = 'LUGO';");
    RecCopy(d, 1);
    Set(d, 3, "9");
    EXPECT_EQ(FileUpdate(d, 0), kStatusDataChanged);
    EXPECT_EQ(db().Value("SELECT \"EDAD\" FROM dup WHERE \"POBLACION\" = 'LUGO';"), "8");

    // A second cursor while one is open takes the next number inside the same transaction.
    std::uint16_t first = 0, second = 0;
    ClearTrace();
    ASSERT_EQ(CursorOpen(d, S("ANA"), 1, &first), 0);
    ASSERT_EQ(CursorOpen(d, S("BEA"), 1, &second), 0);
    EXPECT_EQ(second, first + 1);
    EXPECT_EQ(CursorClose(second), 0);
    EXPECT_EQ(CursorClose(first), 0);
    std::vector<std::string> nested = Statements();
    ASSERT_EQ(nested.size(), 6u);
    EXPECT_EQ(nested[0], "START TRANSACTION;");
    EXPECT_EQ(nested[3], "CLOSE curs_1;");
    EXPECT_EQ(nested[4], "CLOSE curs_0;");
    EXPECT_EQ(nested[5], "COMMIT;");
}

ErrCode RecordedFind(std::uint8_t file, std::uint16_t key, StrDesc value, std::uint8_t flags);
std::string g_found;
ErrCode RecordedFind(std::uint8_t file, std::uint16_t key, StrDesc value, std::uint8_t flags) {
    g_found = std::to_string(file) + "," + std::to_string(key) + "," + Str(value) + "," + std::to_string(flags);
    return kStatusNoRecord;
}

TEST_F(SqlWriteTest, DeletesTransactionsAndRangeUpdates) {
    db().ExecOk(kContactos);
    db().ExecOk("INSERT INTO contactos VALUES ('ACME', 'ANA', '111', NULL), ('BETA', 'BEA', '222', NULL);");
    ASSERT_EQ(Connect(), 0) << Detail();
    std::uint8_t c = Open("contactos");
    Load(c, "ACME");
    SqlFileFindSet(RecordedFind);
    ClearTrace();
    // After a delete, the record at or after the deleted key in the active key is read.
    EXPECT_EQ(FileDelete(c, kWriteReread), kStatusNoRecord);
    SqlFileFindSet(nullptr);
    EXPECT_EQ(g_found, std::to_string(c) + ",1,ACME" + std::string(56, ' ') + ",2");
    ClearTrace();
    EXPECT_EQ(SqlUpdateWhere(c, 1, S("B"), S("\xFF"), S("TELEFONO{contactos}=='0';NOMBRE{contactos}=='X'"),
                             S("NOMBRE{contactos}=='B*'"), true),
              1);
    EXPECT_EQ(SqlTransaction(false), 0);  // nothing open: nothing sent
    EXPECT_EQ(SqlTransaction(true), 0);
    EXPECT_EQ(FileEndTransaction(c, 0), 0);
    EXPECT_EQ(FileEndTransaction(c, 5), 5);
    EXPECT_EQ(FileDeleteAll(c), 0);
    EXPECT_EQ(Statements(), (std::vector<std::string>{
        "UPDATE ONLY \"contactos\" SET \"TELEFONO\" = '0',\"NOMBRE\" = 'X' WHERE \"RAZON_SOCIAL\" >= 'B' AND "
        "\"NOMBRE\" ILIKE 'B%';",
        "START TRANSACTION;", "COMMIT;", "DELETE FROM ONLY \"contactos\";"}));
}

}  // namespace
}  // namespace rt::test
