// qrt --import against a real database: an external import with --map remembered in config.txt and
// used again without it, the clear failures (no map, a column the header lacks), and a standard import.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "tests/support/pg_fixture.h"
#include "tests/support/temp_folder.h"

namespace rt::test {
namespace {

struct QrtRun {
    std::string err;
    int status = -1;
};

std::string ShellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

class QrtImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        db_.ExecOk("CREATE TABLE contactos (\"RAZON_SOCIAL\" varchar(60) PRIMARY KEY, \"NOMBRE\" varchar(60), "
                   "\"TELEFONO\" varchar(20));");
        db_.ExecOk("INSERT INTO contactos VALUES ('ANA', 'Ana', '111');");
        folder_.Write("sqlparams.dat", "sqlhost='" + PgSetting("host") + "' database='" + db_.name() + "' user='" +
                                           PgSetting("user") + "' passw='" + PgSetting("password") + "'\r\n");
    }
    QrtRun Qrt(const std::string& args) {
        std::string command = "cd " + ShellQuote(folder_.path()) + " && " + ShellQuote(QRT_BINARY) + " " + args +
                              " </dev/null 2>stderr";
        QrtRun r;
        int status = std::system(command.c_str());
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.err = folder_.Read("stderr");
        return r;
    }
    std::string Rows() {
        return db_.Value("SELECT string_agg(\"RAZON_SOCIAL\" || '|' || coalesce(\"NOMBRE\", '') || '|' || "
                         "coalesce(\"TELEFONO\", ''), ';' ORDER BY \"RAZON_SOCIAL\") FROM contactos;");
    }
    PgDatabase db_;
    TempFolder folder_;
};

TEST_F(QrtImportTest, ExternalImportWithAMapThenWithTheRememberedOne) {
    folder_.Write("a.csv", "TEL;EMPRESA\r\n222;ANA\r\n333;BEA\r\n");
    QrtRun r = Qrt("--import external a.csv");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "error 163: no --map given and config.txt holds no map for the header TEL,EMPRESA\n");
    r = Qrt("--import external a.csv --map 'EMPRESA=RAZON_SOCIAL,FAX=TELEFONO'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "error 163: the column FAX is not in the header TEL,EMPRESA\n");
    // The map's order does not matter; the header's does.
    r = Qrt("--import external a.csv --map 'EMPRESA=RAZON_SOCIAL,TEL=TELEFONO'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "Contados 2 registros en contactos\n");
    EXPECT_EQ(Rows(), "ANA|Ana|222;BEA||333");
    EXPECT_EQ(folder_.Read("config.txt"), "TEL,EMPRESA\r\nTEL=TELEFONO,EMPRESA=RAZON_SOCIAL\r\n");
    folder_.Write("a.csv", "TEL;EMPRESA\r\n444;CIRO\r\n");
    r = Qrt("--import external a.csv --table contactos");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Rows(), "ANA|Ana|222;BEA||333;CIRO||444");
}

TEST_F(QrtImportTest, StandardImportAndMisuse) {
    folder_.Write("s.txt", "ANA,Ana Mar\xC3\xAD" "a,555\r\nDAVID,,9\r\n");
    QrtRun r = Qrt("--import standard s.txt");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "Contados 2 registros en contactos\n");
    EXPECT_EQ(Rows(), "ANA|Ana Mar\xC3\xAD" "a|555;DAVID||9");
    EXPECT_EQ(Qrt("--import standard s.txt --table nada").status, 1);
    EXPECT_EQ(Qrt("--import sideways s.txt").status, 2);
    EXPECT_EQ(Qrt("--import standard").status, 2);
}

// Two imports at once in one working folder, on different files into one table: each run's work files
// are its own, so neither applies the other's records, and config.txt keeps both maps.
TEST_F(QrtImportTest, TwoImportsAtOnceInOneFolderKeepEveryContactAndBothMaps) {
    constexpr int kRounds = 20;
    const std::string temp = folder_.File("tmp");
    ASSERT_TRUE(std::filesystem::create_directory(temp));
    const std::string qrt = "TEMP=" + ShellQuote(temp) + " " + ShellQuote(QRT_BINARY) + " --import external ";
    const std::string both = "cd " + ShellQuote(folder_.path()) + " && (" + qrt +
                             "a.csv --map 'EMPRESA=RAZON_SOCIAL,TEL=TELEFONO' </dev/null 2>a.err; echo $? >a.rc) & (" +
                             "cd " + ShellQuote(folder_.path()) + " && " + qrt +
                             "b.csv --map 'EMPRESA=RAZON_SOCIAL,NOMBRE=NOMBRE' </dev/null 2>b.err; echo $? >b.rc) & wait";
    const std::set<std::string> kept = {"sqlparams.dat", "a.csv", "b.csv", "a.err", "b.err", "a.rc", "b.rc",
                                        "config.txt", "tmp", "stderr"};
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        db_.ExecOk("DELETE FROM contactos; INSERT INTO contactos VALUES ('ANA', 'Ana', '111'), ('BEA', 'Bea', '999');");
        std::filesystem::remove(folder_.File("config.txt"));
        const std::string n = std::to_string(round);
        folder_.Write("a.csv", "TEL;EMPRESA\r\n2" + n + ";ANA\r\n3" + n + ";CIRO\r\n");
        folder_.Write("b.csv", "EMPRESA;NOMBRE\r\nBEA;Bea " + n + "\r\nDORA;Dora " + n + "\r\n");
        ASSERT_EQ(std::system(both.c_str()), 0);
        EXPECT_EQ(folder_.Read("a.rc") + folder_.Read("b.rc"), "0\n0\n");
        EXPECT_EQ(folder_.Read("a.err"), "Contados 2 registros en contactos\n");
        EXPECT_EQ(folder_.Read("b.err"), "Contados 2 registros en contactos\n");
        EXPECT_EQ(Rows(), "ANA|Ana|2" + n + ";BEA|Bea " + n + "|999;CIRO||3" + n + ";DORA|Dora " + n + "|");
        std::string config = folder_.Read("config.txt");
        EXPECT_NE(config.find("TEL,EMPRESA\r\nTEL=TELEFONO,EMPRESA=RAZON_SOCIAL\r\n"), std::string::npos) << config;
        EXPECT_NE(config.find("EMPRESA,NOMBRE\r\nEMPRESA=RAZON_SOCIAL,NOMBRE=NOMBRE\r\n"), std::string::npos) << config;
        for (const auto& e : std::filesystem::directory_iterator(folder_.path()))
            EXPECT_TRUE(kept.count(e.path().filename().string())) << "left behind: " << e.path();
        EXPECT_TRUE(std::filesystem::is_empty(temp)) << "a work file is left in the temporary folder";
        if (HasFailure()) break;
    }
}

}  // namespace
}  // namespace rt::test
