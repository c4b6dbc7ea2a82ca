// The imports on a real table: the external import's two passes with a column map (';' and ','
// files alike, unmapped fields kept, two columns into one field, quotes and apostrophes), config.txt
// and its replaced map, a UTF-16 source, and an export read back by the standard import.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "runtime/env/errors.h"
#include "runtime/trans/import_commands.h"
#include "runtime/trans/import_config.h"
#include "runtime/trans/import_run.h"
#include "runtime/trans/trans_parms.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/slot_table.h"
#include "runtime/vars/parm_blocks.h"
#include "tests/runtime/access/access_fixture.h"

namespace rt::test {
namespace {

class ImportRunTest : public AccessTest {
protected:
    void SetUp() override {
        AccessTest::SetUp();
        db().ExecOk("CREATE TABLE contactos (\"RAZON_SOCIAL\" varchar(60) PRIMARY KEY, \"NOMBRE\" varchar(60), "
                    "\"DIRECCION\" varchar(60), \"TELEFONO\" varchar(20));");
    }
    void TearDown() override {
        TransParmsClear();
        AccessTest::TearDown();
    }
    // The external import of file name with map, as the dialog runs it once the map is chosen.
    ErrCode External(const std::string& name, const std::string& map, std::string* header = nullptr) {
        ImportSource source;
        std::string path = folder_.RuntimePath() + "\\" + name;
        ErrCode e = ImportSourceOpen(D(path), &source);
        if (e != 0) return e;
        if (header) *header = source.header;
        e = ImportExternalWithMap(&source, map, TransHooks{}, false);
        ImportSourceClose(&source);
        return e;
    }
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        PgResultPtr r = db().ExecOk("SELECT \"RAZON_SOCIAL\" || '|' || coalesce(\"NOMBRE\", '') || '|' || "
                                    "coalesce(\"DIRECCION\", '') || '|' || coalesce(\"TELEFONO\", '') FROM contactos "
                                    "ORDER BY \"RAZON_SOCIAL\";");
        for (int i = 0; i < PQntuples(r.get()); ++i) rows.push_back(PQgetvalue(r.get(), i, 0));
        return rows;
    }
    // Files left in the temporary folder by the run.
    std::size_t TempFiles() {
        std::size_t n = 0;
        for (auto& e : std::filesystem::directory_iterator(temp_.path())) n += e.is_regular_file();
        return n;
    }
    // The names in the test's folder (config.txt lives in the current folder, which it is).
    std::vector<std::string> FolderFiles() {
        std::vector<std::string> names;
        for (auto& e : std::filesystem::directory_iterator(folder_.path()))
            if (e.path().filename() != "trace.txt") names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::uint8_t file_ = 0;
    TempFolder temp_;
};

TEST_F(ImportRunTest, ExternalImportUpdatesMappedFieldsAddsNewKeysAndCountsBothPasses) {
    setenv("TEMP", temp_.path().c_str(), 1);
    db().ExecOk("INSERT INTO contactos VALUES ('ANA', 'vieja', 'Calle 1', '111');");
    file_ = OpenTable("contactos");
    FileSelect(file_);
    const std::string data = "EMPRESA;TEL;IGNORADA;EXTRA\r\nANA;222;x;fijo\r\nO'Brien;\"Bar \"\"El Sol\"\"\";y;\r\n"
                             "Talleres Sur, S.A.;333;z;movil\r\n";
    folder_.Write("semi.csv", data);
    std::string comma = data;
    for (char& c : comma) c = c == ';' ? ',' : c;
    comma.replace(comma.find("Talleres Sur, S.A."), 18, "\"Talleres Sur, S.A.\"");
    folder_.Write("comma.csv", comma);
    // Two columns into one field, one column to nothing.
    const std::string map = "EMPRESA=RAZON_SOCIAL,TEL=TELEFONO,EXTRA=TELEFONO";
    std::string header;
    ASSERT_EQ(External("semi.csv", map, &header), kErrDetailMessage) << Detail();
    EXPECT_EQ(header, "EMPRESA,TEL,IGNORADA,EXTRA");
    EXPECT_EQ(Detail(), "Contados 3 registros en contactos");
    const std::vector<std::string> want = {"ANA|vieja|Calle 1|222 fijo", "O'Brien|||Bar \"El Sol\"",
                                           "Talleres Sur, S.A.|||333 movil"};
    EXPECT_EQ(Rows(), want);
    EXPECT_EQ(folder_.Read("config.txt"), "EMPRESA,TEL,IGNORADA,EXTRA\r\n" + map + "\r\n");
    EXPECT_EQ(TempFiles(), 0u) << "the work file is removed";
    // The same file with ',' gives the same contacts.
    db().ExecOk("UPDATE contactos SET \"TELEFONO\" = '111' WHERE \"RAZON_SOCIAL\" = 'ANA';");
    db().ExecOk("DELETE FROM contactos WHERE \"RAZON_SOCIAL\" <> 'ANA';");
    ASSERT_EQ(External("comma.csv", map), kErrDetailMessage) << Detail();
    EXPECT_EQ(Rows(), want);
    unsetenv("TEMP");
}

TEST_F(ImportRunTest, AChangedMapReplacesTheStoredOneAndKeepsTheOtherPairs) {
    folder_.Write("config.txt", "A,B\r\nA=NOMBRE\r\nX,Y\r\nX=NOMBRE\r\nC,D\r\nC=NOMBRE\r\n");
    std::string map;
    ASSERT_TRUE(ImportConfigFind(kImportConfigFile, "X,Y", &map));
    EXPECT_EQ(map, "X=NOMBRE");
    EXPECT_FALSE(ImportConfigFind(kImportConfigFile, "X=NOMBRE", &map)) << "only first lines of pairs are headers";
    EXPECT_EQ(ImportConfigRemember(kImportConfigFile, "X,Y", "X=NOMBRE"), 0);
    EXPECT_EQ(ImportConfigRemember(kImportConfigFile, "X,Y", "Y=NOMBRE"), 0);
    EXPECT_EQ(folder_.Read("config.txt"), "A,B\r\nA=NOMBRE\r\nX,Y\r\nY=NOMBRE\r\nC,D\r\nC=NOMBRE\r\n");
    EXPECT_EQ(FolderFiles(), (std::vector<std::string>{"config.txt"})) << "the replacement copy is renamed";
    std::filesystem::remove(folder_.File("config.txt"));
    EXPECT_FALSE(ImportConfigFind(kImportConfigFile, "X,Y", &map));
}

// A new pair stays in step with the others whatever the file's end looked like.
TEST_F(ImportRunTest, ANewMapIsFoundAgainAfterAnUnfinishedLastLineOrAHeaderWithoutMap) {
    struct Case {
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"A,B\r\nA=NOMBRE", "A,B\r\nA=NOMBRE\r\nX,Y\r\nX=NOMBRE\r\n"},
        {"A,B\r\nA=NOMBRE\r\nSOLA\r\n", "A,B\r\nA=NOMBRE\r\nSOLA\r\n\r\nX,Y\r\nX=NOMBRE\r\n"},
        {"A,B\nA=NOMBRE\n", "A,B\r\nA=NOMBRE\r\nX,Y\r\nX=NOMBRE\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        folder_.Write("config.txt", c.before);
        EXPECT_EQ(ImportConfigRemember(kImportConfigFile, "X,Y", "X=NOMBRE"), 0);
        EXPECT_EQ(folder_.Read("config.txt"), c.after);
        std::string map;
        EXPECT_TRUE(ImportConfigFind(kImportConfigFile, "X,Y", &map));
        EXPECT_EQ(map, "X=NOMBRE");
        EXPECT_TRUE(ImportConfigFind(kImportConfigFile, "A,B", &map));
        EXPECT_EQ(map, "A=NOMBRE");
    }
}

TEST_F(ImportRunTest, AUtf16SourceIsConvertedBeforeItsHeaderIsRead) {
    file_ = OpenTable("contactos");
    FileSelect(file_);
    std::string text = "NOMBRE;TELEFONO\r\nJos\xE9;5\r\n", wide = "\xFF\xFE";
    for (char c : text) {
        wide.push_back(c);
        wide.push_back('\0');
    }
    folder_.Write("u.CSV", wide);
    ASSERT_EQ(External("u.CSV", "NOMBRE=RAZON_SOCIAL,TELEFONO=TELEFONO"), kErrDetailMessage) << Detail();
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Jos\xE9|||5"}));
    EXPECT_EQ(External("missing.csv", "A=B"), kErrFileIo);
}

TEST_F(ImportRunTest, AnExportReadBackByTheStandardImportGivesEveryContactBack) {
    db().ExecOk("INSERT INTO contactos VALUES ('Bar \"El Sol\"', 'O''Brien', 'Mayor, 5', ''), "
                "('Zapater\xC3\xAD" "a', 'x', NULL, '9');");
    file_ = OpenTable("contactos");
    FileSelect(file_);
    std::vector<std::string> before = Rows();
    std::string out = folder_.RuntimePath() + "\\out.csv";
    ASSERT_EQ(SlotPush(kParmStackGroup, S("FILE=contactos")), 0);
    ASSERT_EQ(TransRunBatch(D(out), kTransExportDelimited | kTransBatch, TransHooks{}), 0) << Detail();
    ParmPop();
    db().ExecOk("DELETE FROM contactos;");
    ASSERT_EQ(ImportRunBatch(D(out), ImportStandardParms(file_), TransHooks{}), kErrDetailMessage) << Detail();
    EXPECT_EQ(Detail(), "Contados 2 registros en contactos");
    EXPECT_EQ(Rows(), before);
}

}  // namespace
}  // namespace rt::test
