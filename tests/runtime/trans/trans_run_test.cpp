// Transfers over a real table in their batch form: delimited exports with their quoting, numbers,
// ranges, conditions and APPEND; imports with quoted values, empty lines, OVERWRITE and MERGE$,
// counted runs, and the round trip of every byte a contact can hold.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "runtime/sql/sql_read.h"
#include "runtime/trans/import_run.h"
#include "runtime/trans/trans_parms.h"
#include "runtime/trans/trans_run.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/slot_table.h"
#include "runtime/vars/parm_blocks.h"
#include "runtime/vars/var_system.h"
#include "tests/runtime/access/access_fixture.h"

namespace rt::test {
namespace {

constexpr TransMode kImport = kTransImport | kTransExternFile | kTransStream | kTransDelimited | kTransBatch;  // 309
constexpr TransMode kExport = kTransExportDelimited | kTransBatch;

class TransRunTest : public AccessTest {
protected:
    void SetUp() override {
        AccessTest::SetUp();
        db().ExecOk("CREATE TABLE contactos (\"RAZON_SOCIAL\" varchar(60) PRIMARY KEY, \"NOMBRE\" varchar(60), "
                    "\"DIRECCION\" varchar(60), \"N\" integer);");
    }
    void TearDown() override {
        TransParmsClear();
        AccessTest::TearDown();
    }
    // Runs a batch transfer with block pushed as the top parameter block.
    ErrCode Run(const std::string& target, TransMode mode, const std::string& block = "") {
        EXPECT_EQ(SlotPush(kParmStackGroup, D(block)), 0);
        ErrCode e = TransRunBatch(D(target), mode, TransHooks{});
        ParmPop();
        return e;
    }
    std::string Out() const { return folder_.Read("out.csv"); }
    std::string OutPath() const { return folder_.RuntimePath() + "\\out.csv"; }
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        PgResultPtr r = db().ExecOk("SELECT \"RAZON_SOCIAL\" || '|' || coalesce(\"NOMBRE\", '') || '|' || "
                                    "coalesce(\"DIRECCION\", '') || '|' || coalesce(\"N\"::text, '') FROM contactos "
                                    "ORDER BY \"RAZON_SOCIAL\";");
        for (int i = 0; i < PQntuples(r.get()); ++i) rows.push_back(PQgetvalue(r.get(), i, 0));
        return rows;
    }
    std::uint8_t file_ = 0;
};

TEST_F(TransRunTest, DelimitedExportQuotesTextsDoublesQuotesAndEmptiesZeros) {
    db().ExecOk("INSERT INTO contactos VALUES ('Talleres Sur, S.A.', 'Ventas', NULL, 0), "
                "('Bar \"El Sol\"', 'O''Brien', ' Mayor 5 ', 7);");
    file_ = OpenTable("contactos");
    Set(file_, 1, "Zapater\xED" "a");
    ASSERT_EQ(FileInsert(file_), 0);
    ASSERT_EQ(Run(OutPath(), kExport, "FILE=contactos"), 0) << Detail();
    EXPECT_EQ(Out(), "\"Bar \"\"El Sol\"\"\",\"O'Brien\",\"Mayor 5\",7\r\n"
                     "\"Talleres Sur, S.A.\",\"Ventas\",\"\",\r\n"
                     "\"Zapater\xED" "a\",\"\",\"\",\r\n");
    EXPECT_EQ(SysCount32(), 3u);
    // Without APPEND the file is emptied first; with it the lines are added.
    ASSERT_EQ(Run(OutPath(), kExport, "FILE=contactos LIMITS$=\"'T','T'\""), 0);
    EXPECT_EQ(Out(), "\"Talleres Sur, S.A.\",\"Ventas\",\"\",\r\n");
    ASSERT_EQ(Run(OutPath(), kExport | kTransAppend, "FILE=contactos COND$='N{}==7' STRUCT$='NOMBRE{},N{}*2'"), 0);
    EXPECT_EQ(Out(), "\"Talleres Sur, S.A.\",\"Ventas\",\"\",\r\n\"O'Brien\",14\r\n");
    // A target-specific setting wins over the general one; DELIMITED=1 in the block completes mode 20.
    ASSERT_EQ(Run(OutPath(), kTransStream | kTransExternFile | kTransBatch,
                  "FILE=contactos DELIMITED=1 out.csv.STRUCT$='N{}' STRUCT$='NOMBRE{}' COND$='N{}>0'"), 0);
    EXPECT_EQ(Out(), "7\r\n");
    // A run that moves nothing reports 127 and leaves an empty file.
    EXPECT_EQ(Run(OutPath(), kExport, "FILE=contactos COND$='N{}>100'"), kErrNoData);
    EXPECT_EQ(Out(), "");
}

TEST_F(TransRunTest, CountOnlyRunReportsTheCountOfTheRange) {
    db().ExecOk("INSERT INTO contactos VALUES ('ANA', '', '', 1), ('BEA', '', '', 2), ('CIRO', '', '', 3);");
    file_ = OpenTable("contactos");
    ASSERT_EQ(Run("", kTransIndexChk | kTransBatch, "FILE=contactos LIMITS$=\"'B','C'\""), kErrDetailMessage);
    EXPECT_EQ(Detail(), "Contados 2 registros en contactos");
    ASSERT_EQ(Run("", kTransIndexChk | kTransBatch, "FILE=contactos LIMITS$=\"'X','Y'\""), kErrDetailMessage);
    EXPECT_EQ(Detail(), "Contados 0 registros en contactos");
    EXPECT_EQ(SysCount32(), 0u);
    // The mass SQL update changes the records of the range that satisfy COND$ in one statement.
    ASSERT_EQ(Run("", kTransMassSqlUpdate | kTransBatch, "FILE=contactos LIMITS$=\"'B','C'\" COND$='N{}<3' "
                                                          "WREXP$='N{}==9'"), 0) << Detail();
    EXPECT_EQ(SysCount32(), 1u);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"ANA|||1", "BEA|||9", "CIRO|||3"}));
    EXPECT_EQ(Run("", kTransMassSqlUpdate | kTransBatch, "FILE=contactos COND$='N{}>50' WREXP$='N{}==1'"),
              kErrCancelled) << "nothing to update";
    // Without a data file a batch run fails with 163, reported with the text FILE.
    FileSelect(0);
    SysVarSet(kSysCurFil, 0);
    EXPECT_EQ(Run("", kTransIndexChk | kTransBatch, "FILE=nada"), kErrData);
    EXPECT_EQ(Detail(), "FILE");
}

TEST_F(TransRunTest, ImportReadsQuotedValuesAndSkipsEmptyLines) {
    file_ = OpenTable("contactos");
    folder_.Write("in.csv", "\"Calle Mayor, 5\",7\r\n\r\nO'Brien,Juan,\"Bar \"\"El Sol\"\"\",3\r\n\x1a");
    // A work file a killed run left under the old fixed name is neither read nor applied.
    const std::string stale(200, 'Z');
    folder_.Write("contactos.TMP", stale);
    ASSERT_EQ(Run(folder_.RuntimePath() + "\\in.csv", kImport, "FILE=contactos"), 0) << Detail();
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Calle Mayor, 5|7||", "O'Brien|Juan|Bar \"El Sol\"|3"}));
    EXPECT_EQ(SysCount32(), 2u);
    EXPECT_EQ(folder_.Read("contactos.TMP"), stale);
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder_.path())) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"contactos.TMP", "in.csv", "trace.txt"})) << "the work file is removed";
}

TEST_F(TransRunTest, OverwriteUpdatesExistingKeysAndTheNextPassAddsTheRest) {
    db().ExecOk("INSERT INTO contactos VALUES ('ANA', 'vieja', 'Calle 1', 1);");
    file_ = OpenTable("contactos");
    folder_.Write("in.csv", "ANA,nueva,,5\r\nBEA,otra,Calle 2,6\r\n");
    std::string in = folder_.RuntimePath() + "\\in.csv";
    // Only the fields MERGE$ names are taken from the incoming record.
    std::string block = "FILE=contactos UNICKEY$=\"1{}\" MERGE$=\"NOMBRE{}=FN$FLDS(NOMBRE{};2),N{}=FN#VALN(FN$FLDS(N{};2))\"";
    ASSERT_EQ(Run(in, kImport | kTransOverwrite, block), 0) << Detail();
    EXPECT_EQ(SysCount32(), 1u);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"ANA|nueva|Calle 1|5"}));
    ASSERT_EQ(Run(in, kImport, block), 0) << Detail();
    EXPECT_EQ(SysCount32(), 1u);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"ANA|nueva|Calle 1|5", "BEA|otra|Calle 2|6"}));
    // Everything is there now: a pass without OVERWRITE moves nothing.
    EXPECT_EQ(Run(in, kImport, block), kErrNoData);
}

// Names holding a double quote reach the server with it doubled: the table is discovered, paged,
// saved and exported like any other.
TEST_F(TransRunTest, ATableAndAColumnWhoseNamesHoldAQuoteAreReadSavedAndExported) {
    db().ExecOk("CREATE TABLE \"Bar \"\"Sol\"\"\" (\"RAZON_SOCIAL\" varchar(20) PRIMARY KEY, \"NOM\"\"BRE\" varchar(20), "
                "\"it's\" integer);");
    db().ExecOk("INSERT INTO \"Bar \"\"Sol\"\"\" VALUES ('ANA', 'Ana', 1), ('BEA', 'Bea', 2);");
    file_ = OpenTable("Bar \"Sol\"");
    ASSERT_EQ(FieldCount(file_), 3u);
    EXPECT_EQ(Str(FieldName(file_, 2)), "NOM\"BRE");
    ASSERT_EQ(FileRead(file_, kReadFirstRecord), 0) << Detail();
    EXPECT_EQ(Get(file_, 2), "Ana");
    ASSERT_EQ(FileRead(file_, kReadNext), 0) << Detail();
    EXPECT_EQ(Get(file_, 1), "BEA");
    Set(file_, 2, "Beatriz");
    ASSERT_EQ(FileUpdate(file_, 0), 0) << Detail();
    EXPECT_EQ(db().Value("SELECT \"NOM\"\"BRE\" FROM \"Bar \"\"Sol\"\"\" WHERE \"RAZON_SOCIAL\" = 'BEA';"), "Beatriz");
    ASSERT_EQ(Run(OutPath(), kExport, "FILE=" + std::to_string(file_)), 0) << Detail();
    EXPECT_EQ(Out(), "\"ANA\",\"Ana\",1\r\n\"BEA\",\"Beatriz\",2\r\n");
}

// NULL dates and texts read as blank fields and are written back as NULL; a quoted value's line
// breaks are part of the value when it is read back; both import passes keep all of it.
TEST_F(TransRunTest, AnExportReadBackGivesTheTableBackWithNullDatesNullTextsAndLineBreaks) {
    db().ExecOk("CREATE TABLE agenda (\"RAZON_SOCIAL\" varchar(60) PRIMARY KEY, \"NOMBRE\" varchar(60), "
                "\"FECHA\" date, \"N\" integer, \"OBSERVACIONES\" varchar(250));");
    db().ExecOk("INSERT INTO agenda VALUES ('ANA', NULL, NULL, 1, E'Llamar el lunes\\r\\n\"urgente\", dijo'), "
                "('BEA', 'Bea', '2024-02-29', NULL, NULL), ('CIRO', NULL, '1999-12-31', 3, E'\\r\\nabajo\\r\\n');");
    const std::string dump =
        "SELECT string_agg(concat_ws('|', \"RAZON_SOCIAL\", coalesce(\"NOMBRE\", '-'), coalesce(\"FECHA\"::text, '-'), "
        "coalesce(\"N\"::text, '-'), coalesce(\"OBSERVACIONES\", '-')), ';' ORDER BY \"RAZON_SOCIAL\") FROM agenda;";
    const std::string before = db().Value(dump);
    file_ = OpenTable("agenda");
    ASSERT_EQ(FileRead(file_, kReadFirstRecord), 0) << Detail();
    EXPECT_EQ(Get(file_, 3), "") << "a NULL date is a blank field";
    ASSERT_EQ(Run(OutPath(), kExport, "FILE=agenda"), 0) << Detail();
    EXPECT_EQ(SysCount32(), 3u);
    std::string exported = Out();
    EXPECT_EQ(exported.substr(0, exported.find("\"BEA\"")), "\"ANA\",\"\",\"\",1,\"Llamar el lunes\r\n\"\"urgente\"\", dijo\"\r\n");
    // Into an empty table (the adding pass) and over changed contacts (the updating pass, MERGE$).
    db().ExecOk("DELETE FROM agenda;");
    ASSERT_EQ(ImportRunBatch(D(OutPath()), ImportStandardParms(file_), TransHooks{}), kErrDetailMessage) << Detail();
    EXPECT_EQ(Detail(), "Contados 3 registros en agenda");
    EXPECT_EQ(db().Value(dump), before);
    db().ExecOk("UPDATE agenda SET \"FECHA\" = '2020-01-01', \"NOMBRE\" = 'x', \"OBSERVACIONES\" = 'y';");
    ASSERT_EQ(ImportRunBatch(D(OutPath()), ImportStandardParms(file_), TransHooks{}), kErrDetailMessage) << Detail();
    EXPECT_EQ(db().Value(dump), before);
}

// LIMITS$ on an integer key is a range of numbers: 2 is not after 10, and the server compares numbers.
TEST_F(TransRunTest, ARangeOfNumericKeysIsCountedAndSelectedAsNumbers) {
    db().ExecOk("CREATE TABLE numeros (\"ID\" integer PRIMARY KEY, \"NOMBRE\" varchar(10));");
    db().ExecOk("INSERT INTO numeros VALUES (1, 'uno'), (2, 'dos'), (10, 'diez'), (20, 'veinte');");
    file_ = OpenTable("numeros");
    struct Case {
        const char* limits;
        const char* count;
        const char* out;
    };
    const Case cases[] = {
        {"'1','2'", "Contados 2 registros en numeros", "1,\"uno\"\r\n2,\"dos\"\r\n"},
        {"'2','10'", "Contados 2 registros en numeros", "2,\"dos\"\r\n10,\"diez\"\r\n"},
        {"'3',''", "Contados 2 registros en numeros", "10,\"diez\"\r\n20,\"veinte\"\r\n"},
    };
    for (const Case& c : cases) {
        const std::string block = std::string("FILE=numeros LIMITS$=\"") + c.limits + "\"";
        ASSERT_EQ(Run("", kTransIndexChk | kTransBatch, block), kErrDetailMessage) << c.limits;
        EXPECT_EQ(Detail(), c.count) << c.limits;
        ASSERT_EQ(Run(OutPath(), kExport, block), 0) << c.limits << " " << Detail();
        EXPECT_EQ(Out(), c.out) << c.limits;
    }
}

TEST_F(TransRunTest, RelationalUpdatesAreOffDuringAFileRunUnlessTheTriggerAsksForThem) {
    db().ExecOk("INSERT INTO contactos VALUES ('ANA', '', '', 1);");
    file_ = OpenTable("contactos");
    // _UPSTAT as the run sees it: bit 16 marks the record loop, bit 1 the relational updates.
    ASSERT_EQ(Run(OutPath(), kExport, "FILE=contactos STRUCT$='_UPSTAT'"), 0) << Detail();
    EXPECT_EQ(Out(), "16\r\n");
    EXPECT_EQ(SysBits(kSysUpStat), 1) << "on again afterwards";
    ASSERT_EQ(Run(OutPath(), kExport, "FILE=contactos STRUCT$='_UPSTAT' TRIGGER$=ENABLE"), 0) << Detail();
    EXPECT_EQ(Out(), "17\r\n");
}

TEST_F(TransRunTest, BatchImportLogsAFailingRecordAndGoesOn) {
    file_ = OpenTable("contactos");
    folder_.Write("in.csv", "A,x,,1\r\nB,x,,123456789012345678901234567890\r\nC,x,,3\r\n");
    ASSERT_EQ(Run(folder_.RuntimePath() + "\\in.csv", kImport, "FILE=contactos"), 0) << Detail();
    EXPECT_EQ(Rows(), (std::vector<std::string>{"A|x||1", "C|x||3"}));
    std::string log = folder_.Read("trace.txt");
    EXPECT_NE(log.find("Transfer: error 162 for key B"), std::string::npos) << log;
    // Outside BATCHMODE the same record stops the run; what was written before it stays.
    db().ExecOk("DELETE FROM contactos;");
    ASSERT_EQ(TransParmSet(kTpAcBound, StrEmpty()), 0);
    EXPECT_EQ(Run(folder_.RuntimePath() + "\\in.csv", kImport & ~kTransBatch, "FILE=contactos"), kErrSqlError);
    EXPECT_EQ(Rows(), std::vector<std::string>{"A|x||1"});
}

TEST_F(TransRunTest, EveryStoredByteSurvivesAnExportAndAReimport) {
    file_ = OpenTable("contactos");
    // Every byte the table can hold in a text (the bytes Windows-1252 leaves undefined cannot be
    // stored), with CR, LF and Ctrl-Z left out, inside values of 40 bytes.
    std::string all;
    for (int b = 1; b <= 255; ++b) {
        if (b == '\r' || b == '\n' || b == 26 || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) continue;
        all += static_cast<char>(b);
    }
    std::vector<std::string> keys;
    for (std::size_t at = 0, n = 0; at < all.size(); at += 40, ++n) {
        std::string key = "K" + std::to_string(10 + n) + all.substr(at, 40) + "|";
        keys.push_back(key);
        Set(file_, 1, key);
        Set(file_, 2, "\"O'Brien\", 'D''Angelo' \"\"");
        ASSERT_EQ(FileInsert(file_), 0) << key;
    }
    std::vector<std::string> before = Rows();
    ASSERT_EQ(Run(OutPath(), kExport, "FILE=contactos"), 0) << Detail();
    db().ExecOk("DELETE FROM contactos;");
    ASSERT_EQ(Run(OutPath(), kImport, "FILE=contactos"), 0) << Detail();
    EXPECT_EQ(Rows(), before);
    EXPECT_EQ(SysCount32(), keys.size());
}

}  // namespace
}  // namespace rt::test
