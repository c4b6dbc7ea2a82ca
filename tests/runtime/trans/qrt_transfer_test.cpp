// qrt --transfer as a script runs it against a real database: an export to standard output with the
// bytes an export file holds, an OVERWRITE import from standard input, counts, and the outcome line
// and exit status of each.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/pg_fixture.h"
#include "tests/support/temp_folder.h"

namespace rt::test {
namespace {

struct QrtRun {
    std::string out, err;
    int status = -1;
};

// The qrt of this build, beside the test programs' folder.
std::string QrtPath() {
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
    return (self.parent_path().parent_path() / "tools" / "qrt" / "qrt").string();
}

std::string ShellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

class QrtTransferTest : public ::testing::Test {
protected:
    void SetUp() override {
        db_.ExecOk("CREATE TABLE contactos (\"RAZON_SOCIAL\" varchar(60) PRIMARY KEY, \"NOMBRE\" varchar(60), "
                   "\"N\" integer);");
        db_.ExecOk("INSERT INTO contactos VALUES ('Bar \"El Sol\"', 'O''Brien', 7), ('Talleres Sur, S.A.', 'Ventas', 0);");
        folder_.Write("sqlparams.dat", "sqlhost='" + PgSetting("host") + "' database='" + db_.name() + "' user='" +
                                           PgSetting("user") + "' passw='" + PgSetting("password") + "'\r\n");
    }
    // Runs qrt --transfer in the folder that holds sqlparams.dat, input on standard input.
    QrtRun Transfer(const std::string& mode, const std::string& target, const std::string& block,
                    const std::string& input = "") {
        folder_.Write("stdin", input);
        std::string command = "cd " + ShellQuote(folder_.path()) + " && " + ShellQuote(QrtPath()) + " --transfer " +
                              ShellQuote(mode) + " " + ShellQuote(target) + " " + ShellQuote(block) + " <stdin 2>stderr";
        QrtRun r;
        FILE* p = popen(command.c_str(), "r");
        if (p == nullptr) return r;
        char buf[4096];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) r.out.append(buf, n);
        int status = pclose(p);
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.err = folder_.Read("stderr");
        return r;
    }
    std::string Value(const std::string& sql) { return db_.Value(sql); }

    PgDatabase db_;
    TempFolder folder_;
};

TEST_F(QrtTransferTest, ExportsToStandardOutputAsToAFile) {
    QrtRun r = Transfer("52", "stdout", "FILE=contactos");
    EXPECT_EQ(r.out, "\"Bar \"\"El Sol\"\"\",\"O'Brien\",7\r\n\"Talleres Sur, S.A.\",\"Ventas\",\r\n");
    EXPECT_EQ(r.err, "Contados 2 registros en contactos\n");
    EXPECT_EQ(r.status, 0);
    QrtRun file = Transfer("52", folder_.path() + "/all.csv", "FILE=contactos");
    EXPECT_EQ(file.status, 0) << file.err;
    EXPECT_EQ(folder_.Read("all.csv"), r.out);
    // A run that moves nothing fails with its code; so does a table that is not there.
    r = Transfer("52", "stdout", "FILE=contactos COND$='N{}>100'");
    EXPECT_EQ(r.err, "error 127: No hay datos\n");
    EXPECT_EQ(r.status, 1);
    r = Transfer("52", "stdout", "FILE=nada");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("error 163"), std::string::npos) << r.err;
    EXPECT_EQ(Transfer("52", "stdout", "").status, 1) << "no current file in a batch run";
}

TEST_F(QrtTransferTest, ImportsFromStandardInputAndCounts) {
    std::string block = "FILE=contactos UNICKEY$=\"1{}\" MERGE$=\"NOMBRE{}=FN$FLDS(NOMBRE{};2)\"";
    QrtRun r = Transfer("821", "stdin", block, "Talleres Sur, S.A.,Compras\r\nNuevo,Nadie\r\n");
    EXPECT_EQ(r.err, "error 127: No hay datos\n") << "the unquoted comma cuts the key: nothing matches";
    EXPECT_EQ(r.status, 1);
    r = Transfer("821", "stdin", block, "\"Talleres Sur, S.A.\",Compras\r\nNuevo,Nadie\r\n");
    EXPECT_EQ(r.err, "Contados 1 registros en contactos\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(Value("SELECT \"NOMBRE\" FROM contactos WHERE \"RAZON_SOCIAL\" = 'Talleres Sur, S.A.';"), "Compras");
    EXPECT_EQ(Value("SELECT count(*) FROM contactos;"), "2") << "OVERWRITE adds nothing";
    r = Transfer("128", "", "FILE=contactos LIMITS$=\"'A','C'\"");
    EXPECT_EQ(r.err, "Contados 1 registros en contactos\n");
    EXPECT_EQ(r.status, 0);
}

}  // namespace
}  // namespace rt::test
