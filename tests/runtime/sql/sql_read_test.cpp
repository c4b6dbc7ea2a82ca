// Keyed reads and conditions: literals, orders, comparisons, the statement of every positioning read
// (checked through the trace), loading rows, counts, the multi-read, block reads and SqlWhere.
#include <string>
#include <vector>

#include "runtime/data/fields.h"
#include "runtime/data/keys.h"
#include "runtime/data/record_buffer.h"
#include "runtime/sql/sql_conditions.h"
#include "runtime/sql/sql_literals.h"
#include "runtime/sql/sql_multi_read.h"
#include "runtime/sql/sql_read.h"
#include "runtime/sql/sql_where.h"
#include "runtime/text/err_codes.h"
#include "tests/runtime/sql/sql_fixture.h"

namespace rt::test {
namespace {

class SqlLiteralTest : public RuntimeTest {};

TEST_F(SqlLiteralTest, LiteralsQuoteTextsSendNumbersBareAndBlanksAsNull) {
    struct Case { std::string value; char type; const char* literal; };
    const Case cases[] = {
        {"ANA       ", 'A', "'ANA'"},
        {"  ANA", 'A', "'  ANA'"},
        {"          ", 'A', "NULL"},
        {"", 'D', "NULL"},
        {"   ", 'N', "NULL"},
        {"     12.50", '2', "12.50"},
        {"-7", 'N', "-7"},
        {"1;DELETE", 'N', "'1;DELETE'"},  // not a number: quoted, never SQL
        {"O'Brien", 'A', "E'O\\x27Brien'"},
        {"say \"hi\"", 'A', "E'say \\x22hi\\x22'"},
        {"a\\b", 'A', "'a\\b'"},                 // no quote: the plain form keeps the backslash as it is
        {"a\\'b", 'A', "E'a\\\\\\x27b'"},         // the E'' form doubles it
        {std::string("x\0y", 3), 'A', "'x'"},
        {"20100531", 'D', "'20100531'"},
    };
    for (const Case& c : cases) {
        DynScope scope;
        EXPECT_EQ(Str(SqlLiteral(D(c.value), c.type)), c.literal) << c.value;
    }
}

TEST_F(SqlLiteralTest, ComparisonsTakeNullRowsWhereNullsSortAndCombineParenthesisesMixedWords) {
    struct Case { std::uint8_t mode; const char* literal; char type; bool notNull; const char* cond; };
    const Case cases[] = {
        {kCmpEqual, "NULL", 'A', false, "(\"F\" = '' OR \"F\" IS NULL)"},
        {kCmpEqual, "NULL", 'N', false, "(\"F\" = 0 OR \"F\" IS NULL)"},
        {kCmpGreater, "NULL", 'A', false, "\"F\" > ''"},
        {kCmpGreater, "'ANA'", 'A', false, "\"F\" > 'ANA'"},
        {kCmpLess, "'ANA'", 'A', false, "(\"F\" < 'ANA' OR \"F\" IS NULL)"},
        {kCmpLessEq, "NULL", 'A', false, "(\"F\" <= '' OR \"F\" IS NULL)"},
        {kCmpGreaterEq, "'ANA'", 'A', false, "\"F\" >= 'ANA'"},
        {kCmpLess, "'ANA'", 'A', true, "\"F\" < 'ANA'"},
        {kCmpEqual, "NULL", 'A', true, "\"F\" = ''"},
    };
    for (const Case& c : cases) EXPECT_EQ(SqlCompare("F", c.mode, c.literal, c.type, c.notNull), c.cond) << c.cond;
    EXPECT_EQ(SqlCombine("a OR b", kJoinAnd, "c"), "(a OR b) AND c");
    EXPECT_EQ(SqlCombine("(a OR b)", kJoinAnd, "c AND d"), "(a OR b) AND c AND d");
    EXPECT_EQ(SqlCombine("a", kJoinOr, ""), "a");
    EXPECT_EQ(SqlCombine("", kJoinOr, "x = 'p AND q'"), "x = 'p AND q'");
}

class SqlReadTest : public SqlTest {
protected:
    void SetUp() override {
        SqlTest::SetUp();
        // agenda: a nullable key on NOMBRE; agenda2: a key on two fields; fichas: a primary key.
        db().ExecOk("CREATE TABLE agenda (\"NOMBRE\" varchar(10), \"POBLACION\" varchar(10), \"EDAD\" integer, "
                    "\"ALTA\" date);");
        db().ExecOk("CREATE INDEX agenda_nombre ON agenda (\"NOMBRE\");");
        db().ExecOk("CREATE TABLE agenda2 (\"NOMBRE\" varchar(10), \"POBLACION\" varchar(10));");
        db().ExecOk("CREATE INDEX agenda2_np ON agenda2 (\"NOMBRE\", \"POBLACION\");");
        db().ExecOk("CREATE TABLE fichas (\"NOMBRE\" varchar(10) PRIMARY KEY, \"POBLACION\" varchar(10));");
        ASSERT_EQ(Connect(), 0) << Detail();
        agenda_ = FileByName(S("agenda"));
        agenda2_ = FileByName(S("agenda2"));
        fichas_ = FileByName(S("fichas"));
        for (std::uint8_t f : {agenda_, agenda2_, fichas_}) ASSERT_EQ(FileOpen(f, 1), 0);
        ClearTrace();
    }
    // The statement a read in mode would send from the current record's key value.
    std::string Step(std::uint8_t file, std::uint8_t mode) {
        DynScope scope;
        return Str(SqlStepSelect(file, KeyValue(file, FileCtrl(file).activeKey), mode, S(""), S("")));
    }
    void Set(std::uint8_t file, std::uint16_t field, const char* value) {
        ASSERT_EQ(FieldSet(file, field, StrFromC(value)), 0);
    }
    std::uint8_t agenda_ = 0, agenda2_ = 0, fichas_ = 0;
};

TEST_F(SqlReadTest, EveryPositioningReadHasItsStatement) {
    const std::string order = "\"NOMBRE\" NULLS FIRST,\"POBLACION\" NULLS FIRST,\"EDAD\" NULLS FIRST";
    const std::string back = "\"NOMBRE\" DESC NULLS LAST,\"POBLACION\" DESC NULLS LAST,\"EDAD\" DESC NULLS LAST";
    RecBlank(agenda_, 1);
    EXPECT_EQ(Step(agenda_, kReadNext), "SELECT * FROM \"agenda\" WHERE \"NOMBRE\" > '' ORDER BY " + order + " LIMIT 1;");
    EXPECT_EQ(Step(agenda_, kReadByKey), "SELECT * FROM \"agenda\" WHERE (\"NOMBRE\" = '' OR \"NOMBRE\" IS NULL) ORDER BY " +
                                             order + " LIMIT 1;");
    EXPECT_EQ(Step(agenda_, kReadFirstRecord), "SELECT * FROM \"agenda\" ORDER BY " + order + " LIMIT 1;");
    EXPECT_EQ(Step(agenda_, kReadLast), "SELECT * FROM \"agenda\" ORDER BY " + back + " LIMIT 1;");
    Set(agenda_, 1, "ANA");
    EXPECT_EQ(Step(agenda_, kReadPrevious), "SELECT * FROM \"agenda\" WHERE (\"NOMBRE\" < 'ANA' OR \"NOMBRE\" IS NULL) "
                                            "ORDER BY " + back + " LIMIT 1;");
    EXPECT_EQ(Step(agenda_, kReadAtOrAfter), "SELECT * FROM \"agenda\" WHERE \"NOMBRE\" >= 'ANA' ORDER BY " + order +
                                                 " LIMIT 1;");
    // A NOT NULL key column gets neither the or-null form nor the NULLS clauses.
    Set(fichas_, 1, "ANA");
    EXPECT_EQ(Step(fichas_, kReadPrevious),
              "SELECT * FROM \"fichas\" WHERE \"NOMBRE\" < 'ANA' ORDER BY \"NOMBRE\" DESC,\"POBLACION\" DESC NULLS LAST LIMIT 1;");
    // Two key fields: lexicographic, the strict form on the first.
    Set(agenda2_, 1, "ANA");
    Set(agenda2_, 2, "VIGO");
    EXPECT_EQ(Step(agenda2_, kReadNext),
              "SELECT * FROM \"agenda2\" WHERE \"NOMBRE\" > 'ANA' OR (\"NOMBRE\" = 'ANA' AND \"POBLACION\" > 'VIGO') "
              "ORDER BY \"NOMBRE\" NULLS FIRST,\"POBLACION\" NULLS FIRST LIMIT 1;");
    // Plain ordering for servers that reject NULLS clauses.
    SysBitsSet(kSysSysCompat, kSysCompatPlainOrder);
    EXPECT_EQ(Step(agenda_, kReadNext), "SELECT * FROM \"agenda\" WHERE \"NOMBRE\" > 'ANA' ORDER BY "
                                        "\"NOMBRE\",\"POBLACION\",\"EDAD\" LIMIT 1;");
    EXPECT_EQ(Step(agenda_, kReadLast), "SELECT * FROM \"agenda\" ORDER BY \"NOMBRE\" DESC,\"POBLACION\" DESC,\"EDAD\" DESC LIMIT 1;");
    SysBitsSet(kSysSysCompat, 0);
    // Nothing to build without an active key.
    FileCtrl(agenda_).activeKey = 0;
    EXPECT_EQ(Step(agenda_, kReadNext), "<error 65535>");
}

TEST_F(SqlReadTest, KeyAndRangeConditions) {
    DynScope scope;
    // A value longer than a one-field key compares only that field, with >= reduced to >.
    EXPECT_EQ(Str(SqlKeyCondition(S("ANA       X"), agenda_, 1, kCmpGreaterEq)), "\"NOMBRE\" > 'ANA'");
    EXPECT_EQ(Str(SqlKeyCondition(S("ANA"), agenda2_, 1, kCmpGreaterEq)), "\"NOMBRE\" >= 'ANA'");
    EXPECT_EQ(Str(SqlKeyCondition(S(""), agenda2_, 1, kCmpEqual)), "");
    // Low and high agree on the first field: an equality, then the second field between them.
    EXPECT_EQ(Str(SqlRangeCondition(agenda2_, 1, S("ANA       A"), S("ANA       M"), S("\"X\" = 1"), kCmpGreaterEq)),
              "\"NOMBRE\" = 'ANA' AND \"POBLACION\" >= 'A' AND (\"POBLACION\" <= 'M' OR \"POBLACION\" IS NULL) AND \"X\" = 1");
    EXPECT_EQ(Str(SqlRangeCondition(agenda2_, 1, S("B"), S("\xFF"), S(""), kCmpGreaterEq)), "\"NOMBRE\" >= 'B'");
    EXPECT_EQ(Str(SqlCountSelect(agenda_, 1, S("ANA"), S("ANA"), S(""))),
              "SELECT COUNT (*) FROM \"agenda\" WHERE \"NOMBRE\" = 'ANA';");
    EXPECT_EQ(Str(SqlCountSelect(agenda_, 0, S("ANA"), S("ANA"), S("\"X\" = 1"))), "SELECT COUNT (*) FROM \"agenda\";");
}

TEST_F(SqlReadTest, ReadsLoadRowsIntoBothRecordsAndReportWhatTheyFound) {
    db().ExecOk("INSERT INTO agenda VALUES ('BEA', 'VIGO', 30, '2010-05-31'), ('ANA', NULL, NULL, NULL), "
                "(NULL, 'LUGO', 1, NULL);");
    RecBlank(agenda_, 1);
    ASSERT_EQ(SqlRead(agenda_, KeyValue(agenda_, 1), kReadNext, S(""), S("")), 0);
    ASSERT_EQ(SqlRowToRecord(agenda_, kLoadBoth, 0, SqlHomeSlot()), 0);
    EXPECT_EQ(Str(FieldGet(agenda_, 1)), "ANA       ");  // the blank key is skipped: NULLs come first
    EXPECT_EQ(Str(FieldGet(agenda_, 2)), "          ");
    EXPECT_FALSE(RecChanged(agenda_));
    ASSERT_EQ(SqlRead(agenda_, KeyValue(agenda_, 1), kReadNext, S(""), S("")), 0);
    // Only the current record: the reference record keeps ANA.
    ASSERT_EQ(SqlRowToRecord(agenda_, kLoadCurrent, 0, SqlHomeSlot()), 0);
    EXPECT_EQ(Str(FieldGet(agenda_, 4)), "20100531");
    EXPECT_EQ(Str(FieldRaw(agenda_, 1, kRecReference)), "ANA       ");
    EXPECT_EQ(SqlRead(agenda_, KeyValue(agenda_, 1), kReadNext, S(""), S("")), kStatusNoRecord);
    RecBlank(agenda_, 1);
    Set(agenda_, 1, "ANA");
    // Before the first record with a key: another key, not the end of the file.
    ASSERT_EQ(SqlRead(agenda_, KeyValue(agenda_, 1), kReadPrevious, S(""), S("")), 0);  // the NULL row
    Set(fichas_, 1, "A");
    EXPECT_EQ(SqlRead(fichas_, KeyValue(fichas_, 1), kReadPrevious, S(""), S("")), kStatusOtherKey);

    ClearTrace();
    EXPECT_EQ(SqlFindSelect(agenda_, 1, S("O'B"), kReadAtOrAfter), kStatusNoRecord);
    EXPECT_EQ(SqlFindSelect(agenda_, 1, S(""), 0), kStatusNoRecord);  // no statement at all
    EXPECT_EQ(SqlFindSelect(agenda_, 1, S("BEA"), 0), 0);
    EXPECT_EQ(Statements(), (std::vector<std::string>{
        "SELECT * FROM \"agenda\" WHERE \"NOMBRE\" >= E'O\\x27B' ORDER BY \"NOMBRE\" NULLS FIRST,\"POBLACION\" NULLS FIRST,"
        "\"EDAD\" NULLS FIRST LIMIT 1;",
        "SELECT * FROM \"agenda\" WHERE \"NOMBRE\" = 'BEA' ORDER BY \"NOMBRE\" NULLS FIRST,\"POBLACION\" NULLS FIRST,"
        "\"EDAD\" NULLS FIRST LIMIT 1;",
    }));
}

TEST_F(SqlReadTest, TheMultiReadStepsThroughTheRowsOfOneKeyValue) {
    db().ExecOk("INSERT INTO agenda VALUES ('ANA', 'LUGO', 1, NULL), ('ANA', 'VIGO', 2, NULL), ('ANA', 'AVILA', 3, NULL),"
                " ('BEA', 'SORIA', 4, NULL);");
    DynScope scope;
    StrDesc ana = StrCopy(S("ANA       "));
    EXPECT_TRUE(SqlDuplicates(agenda_, 1, ana));
    EXPECT_FALSE(SqlDuplicates(agenda_, 1, S("BEA       ")));
    ClearTrace();
    ASSERT_EQ(MultiReadStart(agenda_, ana, kReadNext), 0);
    EXPECT_EQ(Statements(), std::vector<std::string>{
        "SELECT * FROM \"agenda\" WHERE \"NOMBRE\" = 'ANA' ORDER BY \"NOMBRE\" NULLS FIRST,\"POBLACION\" NULLS FIRST,"
        "\"EDAD\" NULLS FIRST;"});
    std::vector<std::string> seen;
    do {
        ASSERT_EQ(MultiReadLoad(agenda_), 0);
        seen.push_back(Str(FieldGet(agenda_, 2)));
    } while (MultiReadStep(agenda_, kReadNext) == 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"AVILA     ", "LUGO      ", "VIGO      "}));
    EXPECT_FALSE(MultiReadActive(agenda_));
    // No duplicates are counted while a multi-read is active.
    ASSERT_EQ(MultiReadStart(agenda_, ana, kReadPrevious), 0);
    EXPECT_EQ(FileCtrl(agenda_).multiRow, 2);  // toward the start: the last row first
    EXPECT_FALSE(SqlDuplicates(agenda_, 1, ana));
    // Fewer than two rows: another user changed the table.
    EXPECT_EQ(MultiReadStart(agenda_, S("BEA       "), kReadNext), kErrInternal);
    EXPECT_EQ(Detail(), "sqlMultiRead: key=BEA       ");
    EXPECT_FALSE(MultiReadActive(agenda_));
    // The written row is found again by comparing the rows with the reference record (its NULL ALTA
    // reads as a blank date).
    RecBlank(agenda_, 1);
    Set(agenda_, 1, "ANA");
    Set(agenda_, 2, "VIGO");
    Set(agenda_, 3, "2");
    RecCopy(agenda_, 1);
    ASSERT_EQ(MultiReadLocate(agenda_), 0);
    EXPECT_EQ(FileCtrl(agenda_).multiRow, 2);
    MultiReadEnd(agenda_);
}

TEST_F(SqlReadTest, BlockReadsStackTheirResultSlots) {
    db().ExecOk("INSERT INTO agenda VALUES ('ANA', 'LUGO', 1, NULL), ('BEA', 'VIGO', 2, NULL), ('CIRO', 'AVILA', 3, NULL);");
    ClearTrace();
    ASSERT_EQ(SqlBlockSelect(agenda_, 1, S("B"), S("\xFF"), 512, kCmpGreaterEq, S("EDAD{agenda}<3")), 0) << Detail();
    EXPECT_EQ(Statements(), std::vector<std::string>{
        "SELECT * FROM \"agenda\" WHERE  \"NOMBRE\" >= 'B' AND (\"EDAD\" IS NULL OR \"EDAD\" < 3) ORDER BY \"NOMBRE\" NULLS FIRST,"
        "\"POBLACION\" NULLS FIRST,\"EDAD\" NULLS FIRST LIMIT 512;"});
    std::uint16_t first = FileCtrl(agenda_).resultSlots[0];
    EXPECT_NE(first, 0);
    EXPECT_EQ(SqlRows(first), 1);
    ASSERT_EQ(SqlBlockSelect(agenda_, 1, S(""), S(""), 2, kCmpGreaterEq, S("")), 0);
    ASSERT_EQ(SqlBlockSelect(agenda_, 1, S(""), S(""), 2, kCmpGreaterEq, S("")), 0);
    EXPECT_EQ(FileCtrl(agenda_).resultSlots[2], first);
    EXPECT_EQ(SqlBlockSelect(agenda_, 1, S(""), S(""), 2, kCmpGreaterEq, S("")), kErrDataOutBound);
    for (int i = 0; i < 3; ++i) SqlBlockDrop(agenda_);
    EXPECT_EQ(FileCtrl(agenda_).resultSlots[0], 0);
    EXPECT_EQ(SqlBlockSelect(agenda_, 2, S(""), S(""), 2, kCmpGreaterEq, S("")), kErrData);  // no key 2
}

TEST_F(SqlReadTest, ExpressionConditionsBecomeSql) {
    db().ExecOk("CREATE TABLE lineas (\"N_LINE\" integer, \"NOMBRE\" varchar(20));");
    struct Case { const char* expression; const char* sql; };
    const Case cases[] = {
        {"NOMBRE{agenda}=='GARCIA*'", "\"NOMBRE\" ILIKE 'GARCIA%'"},
        {"EDAD{agenda}<8000", "(\"EDAD\" IS NULL OR \"EDAD\" < 8000)"},
        {"EDAD{agenda}==0", "(\"EDAD\" IS NULL OR \"EDAD\" = 0)"},
        {"NOMBRE{agenda}=='ANA' && 1+2==3", "\"NOMBRE\" = 'ANA'"},
        {"NOMBRE{agenda}=='ANA' || POBLACION{agenda}>='VI'", "\"NOMBRE\" = 'ANA' OR \"POBLACION\" >= 'VI'"},
        {"(EDAD{agenda}>1 && EDAD{agenda}<=5) && NOMBRE{agenda}<>''",
         "(\"EDAD\" > 1 AND (\"EDAD\" IS NULL OR \"EDAD\" <= 5)) AND \"NOMBRE\" <> NULL"},
        {"NOMBRE{agenda}==\"O'B\"", "\"NOMBRE\" = E'O\\x27B'"},
        {"EDAD{agenda}==2.5", "\"EDAD\" = 2.5"},
        {"", ""},
    };
    for (const Case& c : cases) {
        DynScope scope;
        EXPECT_EQ(Str(SqlWhere(StrFromC(c.expression))), c.sql) << c.expression;
    }
    DynScope scope;
    EXPECT_EQ(Str(SqlWhereList(S("EDAD{agenda}==5;NOMBRE{agenda}=='X'"))), "\"EDAD\" = 5,\"NOMBRE\" = 'X'");
    SysBitsSet(kSysAuxStat, static_cast<std::uint16_t>(SysBits(kSysAuxStat) | kAuxRawSql));
    EXPECT_EQ(Str(SqlWhere(S("\"A\" = 1"))), "\"A\" = 1");
}

}  // namespace
}  // namespace rt::test
