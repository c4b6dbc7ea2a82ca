// Reading data files in key order over a real table: first, next, previous, last, the ends of the
// file, rows sharing a key value, finds at or after a prefix, and the first read of FileOpen.
#include <string>
#include <vector>

#include "runtime/sql/sql_multi_read.h"
#include "runtime/sql/sql_read.h"
#include "runtime/text/err_codes.h"
#include "tests/runtime/access/access_fixture.h"

namespace rt::test {
namespace {

class FileReadTest : public AccessTest {
protected:
    void SetUp() override {
        AccessTest::SetUp();
        db().ExecOk("CREATE TABLE gente (\"NOMBRE\" varchar(10), \"POBLACION\" varchar(10), \"N\" integer);");
        db().ExecOk("CREATE INDEX gente_nombre ON gente (\"NOMBRE\");");
        db().ExecOk("CREATE INDEX gente_poblacion ON gente (\"POBLACION\");");
    }
    // NOMBRE/POBLACION of the record, or "-" when blank, with the read's status.
    std::string Read(std::uint8_t f, std::uint8_t mode) {
        ErrCode r = FileRead(f, mode);
        return std::to_string(r) + ":" + (Blank(f) ? "-" : Get(f, 1) + "/" + Get(f, 2));
    }
};

TEST_F(FileReadTest, StepsInKeyOrderAndAcrossTheEndsOfTheFile) {
    db().ExecOk("INSERT INTO gente VALUES ('BEA', 'LUGO', 1), ('ANA', 'VIGO', 2), ('CIRO', 'AVILA', 3), "
                "(NULL, 'SORIA', 4);");
    std::uint8_t f = OpenTable("gente");
    std::vector<std::string> seen;
    for (std::uint8_t mode : {kReadFirstRecord, kReadNext, kReadNext, kReadNext, kReadNext, kReadNext, kReadNext})
        seen.push_back(Read(f, mode));
    // The blank key sorts first; past the last record the fields are blank, and next again reads the
    // first record whose key is not blank.
    EXPECT_EQ(seen, (std::vector<std::string>{"0:/SORIA", "0:ANA/VIGO", "0:BEA/LUGO", "0:CIRO/AVILA", "2:-",
                                              "0:ANA/VIGO", "0:BEA/LUGO"}));
    EXPECT_EQ(FileCtrl(f).status, 0);
    // Previous at the end of the file reads the last record.
    EXPECT_EQ(Read(f, kReadLast), "0:CIRO/AVILA");
    EXPECT_EQ(Read(f, kReadNext), "2:-");
    EXPECT_EQ(Read(f, kReadPrevious), "0:CIRO/AVILA");
    // Before the first record: another key, blank fields, and again; next then reads the first one.
    EXPECT_EQ(Read(f, kReadFirstRecord), "0:/SORIA");
    EXPECT_EQ(Read(f, kReadPrevious), "1:-");
    EXPECT_EQ(Read(f, kReadPrevious), "1:-");
    EXPECT_EQ(Read(f, kReadNext), "0:ANA/VIGO");
    // A new record is blank, with status 3.
    EXPECT_EQ(Read(f, kReadNew), "3:-");
    // The second key orders by POBLACION.
    FileCtrl(f).activeKey = 2;
    EXPECT_EQ(Read(f, kReadFirstRecord), "0:CIRO/AVILA");
    EXPECT_EQ(Read(f, kReadNext), "0:BEA/LUGO");
}

TEST_F(FileReadTest, RowsSharingAKeyValueAreVisitedOneByOne) {
    db().ExecOk("INSERT INTO gente VALUES ('ANA', 'VIGO', 1), ('BEA', 'LUGO', 2), ('BEA', 'AVILA', 3), "
                "('BEA', 'SORIA', 4), ('CIRO', 'ORENSE', 5);");
    std::uint8_t f = OpenTable("gente");
    std::vector<std::string> seen;
    for (int i = 0; i < 5; ++i) seen.push_back(Read(f, i == 0 ? kReadFirstRecord : kReadNext));
    EXPECT_EQ(seen, (std::vector<std::string>{"0:ANA/VIGO", "0:BEA/AVILA", "0:BEA/LUGO", "0:BEA/SORIA", "0:CIRO/ORENSE"}));
    EXPECT_FALSE(MultiReadActive(f));
    // Backwards they come last to first, then the key before them.
    seen.clear();
    for (int i = 0; i < 4; ++i) seen.push_back(Read(f, kReadPrevious));
    EXPECT_EQ(seen, (std::vector<std::string>{"0:BEA/SORIA", "0:BEA/LUGO", "0:BEA/AVILA", "0:ANA/VIGO"}));
    // The two inner steps of a group send no statement.
    Read(f, kReadNext);
    ClearTrace();
    Read(f, kReadNext);
    Read(f, kReadNext);
    EXPECT_TRUE(Statements().empty()) << Statements()[0];
    // The last record of a shared key is the last of its rows.
    db().ExecOk("DELETE FROM gente WHERE \"NOMBRE\" = 'CIRO';");
    EXPECT_EQ(Read(f, kReadLast), "0:BEA/SORIA");
    EXPECT_EQ(Read(f, kReadPrevious), "0:BEA/LUGO");
}

TEST_F(FileReadTest, FindsCompareTheSoughtPrefix) {
    db().ExecOk("INSERT INTO gente VALUES ('GARCIA', 'VIGO', 1), ('GOMEZ', 'LUGO', 2);");
    std::uint8_t f = OpenTable("gente");
    auto find = [&](const char* text, std::uint8_t flags) {
        ErrCode r = FileFind(f, 1, StrFromC(text), flags);
        return std::to_string(r) + ":" + (Blank(f) ? "-" : Get(f, 1));
    };
    EXPECT_EQ(find("GA", kFindAtOrAfter), "0:GARCIA");
    EXPECT_EQ(find("GU", kFindAtOrAfter), "2:GARCIA");  // nothing at or after: the record stays
    EXPECT_EQ(find("GB", kFindAtOrAfter), "1:GOMEZ");
    EXPECT_EQ(find("GOMEZ", 0), "0:GOMEZ");
    EXPECT_EQ(find("GO", 0), "2:GOMEZ");
    // Not found, with a new record carrying the sought key.
    EXPECT_EQ(find("HUGO", kFindNewWhenMissing), "2:HUGO");
    EXPECT_EQ(FileCtrl(f).status, 2);
    EXPECT_EQ(Get(f, 2), "");
    // FileSeek loads one record only; without flags it only says whether the row exists.
    RecBlank(f, 1);
    EXPECT_EQ(FileSeek(f, 1, S("GOMEZ"), kSeekReference), 0);
    EXPECT_EQ(Get(f, 1), "");
    EXPECT_EQ(Str(FieldRaw(f, 1, kRecReference)), "GOMEZ     ");
    EXPECT_EQ(FileSeek(f, 1, S("ZOE"), 0), kStatusNoRecord);
}

TEST_F(FileReadTest, OpeningWithReadFirstReadsItAndRetriesWithPlainOrderingAfter162) {
    db().ExecOk("INSERT INTO gente VALUES ('ANA', 'VIGO', 1), ('ANA', 'LUGO', 2);");
    std::uint8_t f = OpenTable("gente");
    EXPECT_EQ(FileOpen(f, kOpenReadFirst), 0);
    EXPECT_EQ(Get(f, 2), "LUGO");
    EXPECT_FALSE(MultiReadActive(f));  // the first read leaves no multi-read open
    db().ExecOk("DROP TABLE gente;");
    ClearTrace();
    EXPECT_EQ(FileOpen(f, kOpenReadFirst), kErrSqlError);
    EXPECT_TRUE(SysBits(kSysSysCompat) & kSysCompatPlainOrder);
    std::vector<std::string> sent = Statements();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1], "SELECT * FROM \"gente\" ORDER BY \"NOMBRE\",\"POBLACION\",\"N\" LIMIT 1;");
    SysBitsSet(kSysSysCompat, 0);
}

}  // namespace
}  // namespace rt::test
