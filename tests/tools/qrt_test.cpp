// The command-line tool as a user runs it: its output lines and exit status.
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
    std::string out;
    std::string err;
    int status = -1;
};

std::string ShellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

enum class Errors { kDropped, kKept };

// Runs qrt with the arguments (and the given standard input), capturing standard output, and
// standard error after it when asked.
QrtRun Qrt(const std::vector<std::string>& args, const std::string& input = "", Errors errors = Errors::kDropped) {
    // The input goes through a file: an argument of a shell command holds at most 128 KiB.
    TempFolder dir;
    dir.Write("input", input);
    std::string command = QRT_BINARY;
    for (const std::string& a : args) command += " " + ShellQuote(a);
    command += " <" + ShellQuote(dir.File("input")) +
               (errors == Errors::kKept ? std::string(" 2>&1") : " 2>" + ShellQuote(dir.File("err")));
    QrtRun r;
    FILE* p = popen(command.c_str(), "r");
    if (p == nullptr) return r;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    int status = pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (errors == Errors::kDropped) r.err = dir.Read("err");
    return r;
}

TEST(QrtTest, PrintsOneLinePerExpressionAndFailsWhenOneFails) {
    QrtRun r = Qrt({"-e", "2+3*4", "-e", "'A'+'B'", "-e", "'A'+1"});
    EXPECT_EQ(r.out, "14\n'AB'\nerror 128: Error Tipos Incompatibles(ExpExec): 'A'+1\n");
    EXPECT_EQ(r.status, 1);
}

TEST(QrtTest, OutputFormats) {
    struct Case { const char* expression; const char* line; };
    const Case cases[] = {
        {"0", "0"},
        {"1-1", "0"},
        {"7/2", "3.5"},
        {"-0.25", "-.25"},
        {"'  x  '", "'  x  '"},  // blanks inside the quotes belong to the text
        {"'Jos\xC3\xA9'", "'Jos\xC3\xA9'"},  // UTF-8 in, Windows-1252 inside, UTF-8 out
        {"''", "''"},
        {"FN$CHRS(65;3)", "'AAA'"},
    };
    for (const Case& c : cases) {
        QrtRun r = Qrt({"-e", c.expression});
        EXPECT_EQ(r.out, std::string(c.line) + "\n") << c.expression;
        EXPECT_EQ(r.status, 0) << c.expression;
    }
}

TEST(QrtTest, AssignmentsPersistAndStandardInputGivesOneExpressionPerLine) {
    QrtRun r = Qrt({}, "N#=5\r\nN#*2\nA$='x'\nA$+A$\n");
    EXPECT_EQ(r.out, "5\n10\n'x'\n'xx'\n");
    EXPECT_EQ(r.status, 0);
}

TEST(QrtTest, RuntimeOptionsReachTheRuntime) {
    QrtRun r = Qrt({"-e", "_TRACE", "/TRACE:4"});
    EXPECT_EQ(r.out, "5\n");
    EXPECT_EQ(r.status, 0);
}

TEST(QrtTest, ADictionaryNamedByApNameIsLoadedAndItsFilesAreUsable) {
    TempFolder dir(true);
    dir.Write("X1DICC.DAT", "01**00clientes\r\n01       030 ANOMBRE\r\n01       006 NCODIGO\r\n");
    QrtRun r = Qrt({"-e", "clientes", "-e", "NOMBRE{clientes}='Ana'", "-e", "FN$TRIM(NOMBRE{1})", "/APNAME:X1:qrt",
                 "/DPATH:'" + dir.RuntimePath() + "'"});
    EXPECT_EQ(r.out, "1\n'Ana'\n'Ana'\n");
    EXPECT_EQ(r.status, 0);
}

TEST(QrtTest, EveryOutcomeIsOneLineWhateverItsTextHolds) {
    struct Case { const char* expression; const char* line; };
    const Case cases[] = {
        {"'a'+.lf$+'b'", "'a\\r\\nb'"},
        {"FN$CHRS(9;1)+FN$CHRS(1;1)+FN$CHRS(31;1)", "'\\t\\x01\\x1F'"},
        {"'a\\b'", "'a\\b'"},  // a backslash is written as it is
        // The error detail holds the failing statement and the rest after a CR LF.
        {"1{}='x'", "error 161: Error FILEOUTBOUND(ExpExec): 1{}\\r\\n1{}='x'"},
    };
    for (const Case& c : cases) {
        QrtRun r = Qrt({"-e", c.expression});
        EXPECT_EQ(r.out, std::string(c.line) + "\n") << c.expression;
    }
}

TEST(QrtTest, OutcomesBelow128AreStatusesAndDoNotFailTheRun) {
    QrtRun r = Qrt({"-e", "H$=SORT$('NEW';10;10;1)", "-e", "H$=SORT$('ADD';H$;'x')", "-e", "H$=SORT$('ADD';H$;'x')",
                    "-e", "_$(31;-1)"});
    std::size_t third = r.out.find('\n', r.out.find('\n') + 1) + 1;
    EXPECT_EQ(r.out.substr(third), "status 5: Precauci\xC3\xB3n \nstatus 127: No hay datos\n");
    EXPECT_EQ(r.status, 0);
}

TEST(QrtTest, HelpAndMisuse) {
    for (const char* help : {"--help", "-h", "/?"}) {
        QrtRun r = Qrt({help});
        EXPECT_EQ(r.out.rfind("usage: qrt ", 0), 0u) << help;
        EXPECT_EQ(r.status, 0) << help;
    }
    // A -e without its expression: the usage on standard error, nothing read from standard input.
    QrtRun quiet = Qrt({"-e", "1", "-e"}, "2\n");
    EXPECT_EQ(quiet.out, "");
    EXPECT_EQ(quiet.status, 2);
    QrtRun told = Qrt({"-e", "1", "-e"}, "2\n", Errors::kKept);
    EXPECT_EQ(told.out.rfind("usage: qrt ", 0), 0u);
}

// --lang gives the run the program's language file of that language: its texts, its dates and
// numbers, the words of its error lines; es is the built-in Spanish; an unknown language is misuse.
TEST(QrtTest, LangChoosesTheRunsLanguage) {
    struct Case { const char* lang; const char* out; };
    const Case cases[] = {
        {"de", "'11. Dezember 2026'\n'11-12-2026'\n'1.234,50'\nerror 128: Fehler Tipos"},
        {"EN", "'December 11, 2026'\n'12-11-2026'\n'1,234.50'\nerror 128: Error Tipos"},
        {"fr", "'11 d\xC3\xA9" "cembre 2026'\n'11-12-2026'\n'1 234,50'\nerror 128: Erreur Tipos"},
        {"es", "'11 de Diciembre de 2026'\n'11-12-2026'\n'1.234,50'\nerror 128: Error Tipos"},
    };
    for (const Case& c : cases) {
        QrtRun r = Qrt({"--lang", c.lang, "-e", "FN$DATE('20261211';4)", "-e", "FN$DATE('20261211';2)", "-e",
                        "FN$MASK('#,###.##';'1234.5')", "-e", "'A'+1"});
        EXPECT_EQ(r.out.substr(0, std::string(c.out).size()), c.out) << c.lang;
        EXPECT_EQ(r.status, 1) << c.lang;
    }
    EXPECT_EQ(Qrt({"--lang", "xx", "-e", "1"}).status, 2);
    EXPECT_EQ(Qrt({"-e", "1", "--lang"}).status, 2);
}

TEST(QrtTest, ExpressionsOverTheTextLimitAreRefusedAndTheNextOneRuns) {
    const std::string longest = "'" + std::string(65533, 'x') + "'";  // 65,535 bytes: evaluated
    QrtRun r = Qrt({}, longest + "\n" + std::string(65536, '1') + "\n1+" + std::string(70000, '0') + "\n7\n");
    const std::string refused = "error 146: STRINGTOOLONG: an expression of 65536 bytes (at most 65535)\n"
                                "error 146: STRINGTOOLONG: an expression of 70002 bytes (at most 65535)\n"
                                "7\n";
    EXPECT_TRUE(r.out == longest + "\n" + refused) << r.out.size() << " bytes, ending " << r.out.substr(65535);
    EXPECT_EQ(r.status, 1);
    QrtRun e = Qrt({"-e", std::string(65536, '1'), "-e", "2"});
    EXPECT_EQ(e.out, "error 146: STRINGTOOLONG: an expression of 65536 bytes (at most 65535)\n2\n");
}

TEST(QrtTest, OptionValuesWithBlanksReachTheRuntimeAsGiven) {
    for (const char* option : {"/PASSW:\"Mi Clave\"", "/PASSW:Mi Clave", "-PASSW='Mi Clave'"}) {
        QrtRun r = Qrt({"-e", "ENVRON$('PASSW')", option});
        EXPECT_EQ(r.out, "'Mi Clave'\n") << option;
    }
    TempFolder dir;
    std::filesystem::create_directory(dir.File("sp ace"));
    dir.Write("sp ace/X1DICC.DAT", "01**00clientes\r\n01       030 ANOMBRE\r\n");
    const std::string folder = dir.File("sp ace");
    for (const std::string& option : {"/DPATH:" + folder, "/DPATH:'" + folder + "'"}) {
        QrtRun r = Qrt({"-e", "clientes", "/APNAME:X1:qrt", option});
        EXPECT_EQ(r.out, "1\n") << option;
    }
}

// An option value written in double quotes reaches the runtime unchanged (an unquoted one is upper-cased).
std::string Quoted(const std::string& option, const std::string& value) { return "/" + option + ":\"" + value + "\""; }

TEST(QrtSqlTest, ConnectsFromItsOptionsOrItsParameterFileAndReadsTheTables) {
    PgDatabase db;
    db.ExecOk("CREATE TABLE contactos (\"RAZON_SOCIAL\" varchar(60) PRIMARY KEY, \"NOMBRE\" varchar(60));");
    const std::string host = PgSetting("host"), user = PgSetting("user"), password = PgSetting("password");
    QrtRun r = Qrt({"-e", "contactos", "-e", "FN$TRIM(NOMBRE{contactos})", Quoted("sqlhost", host),
                    Quoted("database", db.name()), Quoted("user", user), Quoted("passw", password)});
    EXPECT_EQ(r.out, "1\n''\n");
    EXPECT_EQ(r.status, 0) << r.err;

    // A refused connection ends the start with exit status 2 and the server's message.
    r = Qrt({"-e", "contactos", Quoted("sqlhost", host), Quoted("database", db.name()), Quoted("user", user),
             Quoted("passw", "wrong")});
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("password authentication failed"), std::string::npos) << r.err;

    TempFolder dir(true);
    dir.Write("sqlparams.dat", "sqlhost='" + host + "' database='" + db.name() + "' user='" + user + "' passw='" +
                                   password + "'\r\n");
    r = Qrt({"-e", "contactos"});
    EXPECT_EQ(r.out, "1\n");
    EXPECT_EQ(r.status, 0) << r.err;
}

TEST(QrtSqlTest, AScriptPagesAndFindsTheRowsOfARealTable) {
    PgDatabase db;
    db.ExecOk("CREATE TABLE contactos (\"RAZON_SOCIAL\" varchar(20) PRIMARY KEY, \"NOMBRE\" varchar(20));");
    db.ExecOk("INSERT INTO contactos VALUES ('GOMEZ', 'Luis'), ('ALFA', 'Ana'), ('GARCIA', 'Pepe');");
    struct Step { const char* expression; const char* line; };
    const Step steps[] = {
        {"FN#FLEN('contactos')", "3"},
        {"FILELOCATE('TOP';contactos)", "0"},
        {"FN$FLDS(RAZON_SOCIAL{contactos})", "'ALFA                '"},
        {"KEY$(contactos)", "'ALFA                '"},
        {"FILELOCATE('NXT';contactos)", "0"},
        {"FN$TRIM(RAZON_SOCIAL{contactos})+'/'+FN$TRIM(NOMBRE{contactos})", "'GARCIA/Pepe'"},
        {"IER(contactos)", "0"},
        {"FILEFIND('GA';contactos;1;2)", "0"},
        {"FN$TRIM(RAZON_SOCIAL{contactos})", "'GARCIA'"},
        {"FILEFIND('GB';contactos;1;2)", "1"},
        {"FN$TRIM(RAZON_SOCIAL{contactos})", "'GOMEZ'"},
        {"FILELOCATE('next';contactos)", "2"},
        {"IER(contactos)", "2"},
        {"FN$TRIM(RAZON_SOCIAL{contactos})", "''"},
        {"FILELOCATE('BOT';contactos)", "0"},
        {"FN$TRIM(NOMBRE{contactos})", "'Luis'"},
        {"FILEFIND(\"NOMBRE{contactos}=='P*'\";contactos;1;8)", "0"},
        {"FN$TRIM(RAZON_SOCIAL{contactos})", "'GARCIA'"},
        {"FILESEL('contactos;1')", "0"},
        {"FILESEL('RESTORE')", "0"},
    };
    std::vector<std::string> args;
    std::string expected;
    for (const Step& s : steps) {
        args.push_back("-e");
        args.push_back(s.expression);
        expected += std::string(s.line) + "\n";
    }
    for (const char* option : {"sqlhost", "database", "user", "passw"}) {
        std::string key = option == std::string("sqlhost") ? "host" : option == std::string("passw") ? "password" : option;
        args.push_back(Quoted(option, key == "database" ? db.name() : PgSetting(key)));
    }
    QrtRun r = Qrt(args);
    EXPECT_EQ(r.out, expected);
    EXPECT_EQ(r.status, 0) << r.err;
}

// The server ends qrt's session between two expressions read from standard input (as a restart
// does): the next step reads on the reset connection and goes on from where the script was.
TEST(QrtSqlTest, PagingGoesOnAfterTheServerEndedTheSessionBetweenTwoSteps) {
    PgDatabase db;
    db.ExecOk("CREATE TABLE contactos (\"RAZON_SOCIAL\" varchar(20) PRIMARY KEY, \"NOMBRE\" varchar(20));");
    db.ExecOk("INSERT INTO contactos VALUES ('GOMEZ', 'Luis'), ('ALFA', 'Ana'), ('GARCIA', 'Pepe');");
    std::vector<std::string> args = {QRT_BINARY};
    for (const char* option : {"sqlhost", "database", "user", "passw"}) {
        std::string key = option == std::string("sqlhost") ? "host" : option == std::string("passw") ? "password" : option;
        args.push_back(Quoted(option, key == "database" ? db.name() : PgSetting(key)));
    }
    int in[2], out[2];
    ASSERT_EQ(::pipe(in), 0);
    ASSERT_EQ(::pipe(out), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        ::close(in[1]);
        ::close(out[0]);
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    std::FILE* to = ::fdopen(in[1], "w");
    std::FILE* from = ::fdopen(out[0], "r");
    auto step = [&](const std::string& expression) {
        std::fputs((expression + "\n").c_str(), to);
        std::fflush(to);
        char line[256] = {};
        if (!std::fgets(line, sizeof line, from)) return std::string("<no line>");
        std::string s(line);
        if (!s.empty() && s.back() == '\n') s.pop_back();
        return s;
    };
    EXPECT_EQ(step("FILELOCATE('TOP';contactos)"), "0");
    EXPECT_EQ(step("FN$TRIM(RAZON_SOCIAL{contactos})"), "'ALFA'");
    EXPECT_EQ(db.Value("SELECT count(pg_terminate_backend(pid)) FROM pg_stat_activity WHERE datname = '" + db.name() +
                       "' AND pid <> pg_backend_pid();"),
              "1");
    EXPECT_EQ(step("FILELOCATE('NXT';contactos)"), "0");
    EXPECT_EQ(step("FN$TRIM(RAZON_SOCIAL{contactos})"), "'GARCIA'");
    std::fclose(to);
    std::fclose(from);
    int status = -1;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
}  // namespace rt::test
