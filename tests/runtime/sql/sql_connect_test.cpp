// The connection: parameters, the login loop over the credentials dialog, the trace line, the status
// mapping of statements, the slots that hold results, and the reset of a connection the server closed.
#include <sys/stat.h>

#include <string>
#include <vector>

#include "runtime/data/keys.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/slot_map.h"
#include "tests/runtime/sql/sql_fixture.h"

namespace rt::test {
namespace {

class SqlConnectTest : public SqlTest {};

std::string ConnLine(const std::string& db, const std::string& host, const std::string& user, ErrCode result) {
    std::string line = db.empty() ? "" : "dbname = '" + db + "' ";
    return line + "host = '" + host + "' user = '" + user + "' password = '***' " + std::to_string(result);
}

TEST_F(SqlConnectTest, ConnectsInWin1252AndTracesTheConnectionWithoutItsPassword) {
    ASSERT_EQ(Connect(0), 0) << Detail();
    EXPECT_EQ(Trace(), std::vector<std::string>{ConnLine(db().name(), Host(), User(), 0)});
    EXPECT_TRUE(SysBits(kSysAuxStat) & kAuxSqlConnected);
    ASSERT_EQ(SqlExec(S("SHOW client_encoding;")), 0);
    EXPECT_EQ(Str(SqlValue(0, 0, 0)), "WIN1252");
    EXPECT_EQ(FileCount(), 0);  // flags without the load bits register nothing
}

TEST_F(SqlConnectTest, RefusedConnectionGives162WithTheServerMessageAndLeavesNoConnection) {
    std::string host = Host(), name = db().name(), user = User();
    EXPECT_EQ(SqlConnect(D(host), D(name), D(user), S("wrong"), 0), kErrSqlError);
    EXPECT_NE(Detail().find("password authentication failed"), std::string::npos) << Detail();
    EXPECT_EQ(ErrNoted(), (std::uint32_t{kAreaSqlConnect} << 16) | kErrSqlError);
    EXPECT_FALSE(SqlSlotConnected(0));
    EXPECT_EQ(Trace(), std::vector<std::string>{ConnLine(name, host, user, kErrSqlError)});
    // An empty user is guest, and an empty database name leaves dbname out.
    ClearTrace();
    SqlConnect(D(host), S(""), S(""), S("wrong"), 0);
    EXPECT_EQ(Trace(), std::vector<std::string>{ConnLine("", host, "guest", kErrSqlError)});
}

TEST_F(SqlConnectTest, APasswordWithQuotesBackslashesAndBlanksConnects) {
    const std::string role = PgUniqueName("qrole");
    const std::string password = "Mi 'Cla\\ve";
    db().ExecOk("CREATE ROLE " + role + " LOGIN PASSWORD 'Mi ''Cla\\ve';");
    std::string host = Host(), name = db().name();
    EXPECT_EQ(SqlConnect(D(host), D(name), D(role), D(password), 0), 0) << Detail();
    SqlStartHook(kSqlHookEnd);
    db().ExecOk("DROP ROLE " + role + ";");
    EXPECT_EQ(Str(SqlConnString(S("h'"), S("d"), S("u"), S("p\\"), false)),
              "dbname = 'd' host = 'h\\'' user = 'u' password = 'p\\\\'");
}

TEST_F(SqlConnectTest, StatementStatusesAndTheSlotsThatHoldResults) {
    db().ExecOk("CREATE TABLE t (k integer PRIMARY KEY, v varchar(10));");
    db().ExecOk("INSERT INTO t VALUES (1, 'a'), (2, 'b');");
    ASSERT_EQ(Connect(0), 0);
    std::uint16_t rows = 99;
    EXPECT_EQ(SqlExec(S("UPDATE t SET v = 'c';"), kSqlCurrent, &rows), 0);
    EXPECT_EQ(rows, 2);

    // A unique violation is 183 with the server's message and then the statement in the detail.
    ErrSetText(0, S(""));
    EXPECT_EQ(SqlExec(S("INSERT INTO t VALUES (1, 'x');"), kSqlCurrent, &rows), kErrDataExists);
    EXPECT_EQ(rows, 0);
    EXPECT_NE(Detail().find("duplicate key value violates unique constraint"), std::string::npos) << Detail();
    EXPECT_NE(Detail().find("\r\nINSERT INTO t VALUES (1, 'x');"), std::string::npos) << Detail();
    EXPECT_EQ(SqlExec(S("SELECT nothing FROM t;")), kErrSqlError);
    EXPECT_EQ(SqlExec(S("SELECT * FROM t WHERE k = 3;")), kStatusNoRecord);

    // One row goes to the home slot; two rows take a result slot, which becomes current.
    ASSERT_EQ(SqlExec(S("SELECT v FROM t WHERE k = 1;")), 0);
    EXPECT_EQ(SysVar(kSysSqlStk), 0);
    EXPECT_EQ(Str(SqlValue(0, 0, 0)), "c");
    ASSERT_EQ(SqlExec(S("SELECT k FROM t ORDER BY k;")), 0);
    EXPECT_EQ(SysVar(kSysSqlStk), 1);
    EXPECT_EQ(SqlRows(1), 2);
    EXPECT_EQ(Str(SqlValue(1, 0, 1)), "2");
    EXPECT_EQ(Str(SqlValue(5, 0, 1)), "");  // outside the result
    ASSERT_EQ(SqlExec(S("SELECT v FROM t WHERE k = 2;")), 0);
    EXPECT_EQ(SysVar(kSysSqlStk), 0);
    EXPECT_EQ(Str(SqlValue(0, 0, 0)), "c");
    EXPECT_TRUE(SqlSlotHasResult(1));
    for (int i = 2; i < 8; ++i) ASSERT_EQ(SqlExec(S("SELECT k FROM t;")), 0) << i;
    EXPECT_EQ(SqlExec(S("SELECT k FROM t;")), kErrDataOutBound);  // slots 1 to 7 all hold results
    EXPECT_EQ(SqlResultSlot(), kSqlNoSlot);
    SqlClear(3);
    EXPECT_EQ(SqlResultSlot(), 3);
}

class SqlCleanMessageTest : public RuntimeTest {};

TEST_F(SqlCleanMessageTest, TrailingNoiseGoesAndUtf8SignsBecomeWin1252) {
    struct Case { const char* in; const char* out; };
    const Case cases[] = {
        {"ERROR:  relation \"x\" does not exist\nLINE 1: SELECT 1 \n", "ERROR:  relation \"x\" does not exist\nLINE 1: SELECT"},
        {"fall\xC3\xB3 la conexi\xC3\xB3n.\n", "fall\xF3 la conexi\xF3n"},
        {"el \xC2\xABprimario\xC2\xBB de a\xC3\xB1o", "el \"primario\" de a\xF1o"},
        {"", ""},
    };
    for (const Case& c : cases) {
        DynScope scope;
        EXPECT_EQ(Str(SqlCleanMessage(c.in)), c.out) << c.in;
    }
    EXPECT_EQ(Str(SqlCleanMessage(nullptr)), "");
}

TEST_F(SqlConnectTest, AConnectionTheServerClosedIsResetBeforeTheNextStatement) {
    ASSERT_EQ(Connect(0), 0);
    ASSERT_EQ(SqlExec(S("SELECT pg_backend_pid();")), 0);
    std::string pid = Str(SqlValue(0, 0, 0));
    db().ExecOk("SELECT pg_terminate_backend(" + pid + ");");
    ClearTrace();
    // A read outside a transaction runs once more on the reset connection, and nothing is noted.
    ErrClear();
    EXPECT_EQ(SqlExec(S("SELECT 1;")), 0);
    EXPECT_EQ(Str(SqlValue(0, 0, 0)), "1");
    EXPECT_EQ(ErrNoted() & 0xFFFF, 0u);
    EXPECT_EQ(Statements(), (std::vector<std::string>{"SELECT 1;", "PQreset 0", "SELECT 1;"}));
    ASSERT_EQ(SqlExec(S("SHOW client_encoding;")), 0);
    EXPECT_EQ(Str(SqlValue(0, 0, 0)), "WIN1252");

    // A write is not repeated: its failure is reported, and the connection is reset once before
    // the next statement.
    ASSERT_EQ(SqlExec(S("SELECT pg_backend_pid();")), 0);
    db().ExecOk("SELECT pg_terminate_backend(" + Str(SqlValue(0, 0, 0)) + ");");
    ClearTrace();
    EXPECT_EQ(SqlExec(S("CREATE TEMP TABLE w (a integer);")), kErrSqlError);
    EXPECT_EQ(SqlExec(S("SELECT 2;")), 0);
    EXPECT_EQ(Statements(), (std::vector<std::string>{"CREATE TEMP TABLE w (a integer);", "PQreset 0", "SELECT 2;"}));

    // Inside a transaction the statement that would have continued it fails, and the mark goes.
    ASSERT_EQ(SqlExec(S("SELECT pg_backend_pid();")), 0);
    pid = Str(SqlValue(0, 0, 0));
    SysBitsSet(kSysAuxStat, static_cast<std::uint16_t>(SysBits(kSysAuxStat) | kAuxTransaction));
    db().ExecOk("SELECT pg_terminate_backend(" + pid + ");");
    EXPECT_EQ(SqlExec(S("SELECT 3;")), kErrSqlError);
    EXPECT_EQ(SqlExec(S("SELECT 4;")), kErrSqlError);
    EXPECT_FALSE(SysBits(kSysAuxStat) & kAuxTransaction);
    EXPECT_NE(Detail().find("transaction was lost"), std::string::npos) << Detail();
    EXPECT_EQ(SqlExec(S("SELECT 5;")), 0);
}

// A user at the credentials dialog: each answer in turn, and every form it was shown.
struct DialogScript {
    std::vector<SqlCredentialsAnswer> answers;
    std::vector<std::string> answerTexts;
    std::vector<std::string> specs;
    std::size_t next = 0;
};
DialogScript* g_script = nullptr;

SqlCredentialsAnswer ScriptedDialog(StrDesc title, StrDesc spec) {
    g_script->specs.push_back(Str(title) + "|" + Str(spec));
    if (g_script->next >= g_script->answers.size()) return SqlCredentialsAnswer{kErrCancelled, StrEmpty(), false};
    SqlCredentialsAnswer a = g_script->answers[g_script->next];
    a.values = StrCopy(D(g_script->answerTexts[g_script->next]));
    ++g_script->next;
    return a;
}

TEST_F(SqlConnectTest, ARefusedAnswerShowsTheDialogAgainAndARememberedOneIsItsNextDefault) {
    TempFolder cwd(true);
    const std::string host = Host(), user = User(), name = db().name();
    const std::string wrong = "'" + host + "','" + name + "','" + user + "','wrong','1'";
    const std::string right = "'" + host + "','" + name + "','" + user + "','" + Password() + "','1'";
    DialogScript script;
    script.answers = {{0, {}, true}, {0, {}, true}};
    script.answerTexts = {wrong, right};
    g_script = &script;
    SqlCredentialsAskSet(ScriptedDialog);

    // A file of before that others could read is private before the new answer is in it.
    cwd.Write("sqlusrprm.dat", "");
    ASSERT_EQ(chmod(cwd.File("sqlusrprm.dat").c_str(), 0644), 0);
    const std::string title = "Acceso a Datos";
    EXPECT_EQ(SqlLogin(S("sqlparams.dat"), 2, D(title)), 0) << Detail();
    ASSERT_EQ(script.specs.size(), 2u);
    EXPECT_EQ(script.specs[0], title + "|'Servidor:':'A30'::'localhost','Base:':'A30'::,'Usuario:':'A30'::,"
                                       "'Contrase\xF1" "a:':'P30'::,'Recordar (S/N):':'L1'");
    // The refused answer was remembered before it was tried, so the second dialog proposes it.
    EXPECT_EQ(script.specs[1], title + "|'Servidor:':'A30'::'" + host + "','Base:':'A30'::'" + name +
                                       "','Usuario:':'A30'::'" + user +
                                       "','Contrase\xF1" "a:':'P30'::'wrong','Recordar (S/N):':'L1'");
    EXPECT_TRUE(SqlSlotConnected(0));
    EXPECT_EQ(Str(SlotGet(kRunGroup, kSlotDatabase)), right);
    EXPECT_EQ(cwd.Read("sqlusrprm.dat"), right);
    struct stat st {};
    ASSERT_EQ(stat(cwd.File("sqlusrprm.dat").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // The next login shows the remembered values; cancelling it gives 122 without a connection.
    SqlStartHook(kSqlHookEnd);
    script.specs.clear();
    EXPECT_EQ(SqlLogin(S(""), 2, D(title)), kErrCancelled);
    ASSERT_EQ(script.specs.size(), 1u);
    EXPECT_NE(script.specs[0].find("'P30'::'" + Password() + "'"), std::string::npos) << script.specs[0];
    EXPECT_FALSE(SqlSlotConnected(0));

    // A dialog ended by a key outside the accept class ends the login with 0 and no connection.
    script.answers = {{0, {}, false}};
    script.answerTexts = {right};
    script.next = 0;
    EXPECT_EQ(SqlLogin(S(""), 2, D(title)), 0);
    EXPECT_FALSE(SqlSlotConnected(0));
    g_script = nullptr;
}

TEST_F(SqlConnectTest, TheParameterFileConnectsWithoutAskingAndTheDefaultDialogCancels) {
    TempFolder cwd(true);
    cwd.Write("sqlparams.dat", "sqlhost='" + Host() + "' database='" + db().name() + "' user='" + User() +
                                   "' passw='" + Password() + "'\r\n");
    EXPECT_EQ(SqlStartHook(0x02), 0) << Detail();  // flags 0: files are not registered
    EXPECT_TRUE(SqlSlotConnected(0));
    SqlStartHook(kSqlHookEnd);
    cwd.Write("sqlparams.dat", "sqlhost='" + Host() + "' database='" + db().name() + "' user='" + User() +
                                   "' passw='wrong'\r\n");
    // Without a desktop the dialog cannot be shown: the refused connection ends the login with 122.
    EXPECT_EQ(SqlStartHook(0x02), kErrCancelled);
    EXPECT_EQ(ErrNoted() & 0xFFFF, kErrSqlError);
    EXPECT_FALSE(SqlSlotConnected(0));
}

}  // namespace
}  // namespace rt::test
