// The run command's start-up logic with a stand-in for the application: the working folder and its
// sqlparams.dat, the embedded database created on first use and reused afterwards, the server
// stopped again only when the launch started it, and a server of one's own through --db-from.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "tests/support/temp_folder.h"

namespace rt::test {
namespace {

struct Outcome {
    int status = -1;
    std::string output;
};

Outcome Shell(const std::string& command) {
    Outcome out;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return out;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.output.append(buffer, n);
    const int raw = ::pclose(pipe);
    out.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return out;
}

class RunCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(folder_.path().empty());
        // As root the cluster belongs to the postgres user, who must be able to reach its folder.
        ::chmod(folder_.path().c_str(), 0711);
        home_ = folder_.File("home");
        db_ = folder_.File("db");
        // The stand-in application: says where it runs and what its sqlparams.dat holds, counts the
        // contacts through the socket it names, and leaves a mark in the database.
        folder_.Write("app.sh",
                      "#!/bin/bash\n"
                      "echo \"cwd=$PWD args=$*\"\n"
                      "echo \"params=$(cat sqlparams.dat)\"\n"
                      "echo \"mode=$(stat -c %a sqlparams.dat)\"\n"
                      "host=$(sed -n \"s/^sqlhost='\\([^']*\\)'.*/\\1/p\" sqlparams.dat)\n"
                      "user=$(sed -n \"s/.* user='\\([^']*\\)'.*/\\1/p\" sqlparams.dat)\n"
                      "q() { psql -X -q -tA -h \"$host\" -p \"$PGPORT\" -U \"$user\" -d quintara -c \"$1\"; }\n"
                      "echo \"contacts=$(q 'SELECT count(*) FROM contactos')\"\n"
                      "echo \"jose=$(q \"SELECT \\\"NOMBRE\\\" FROM contactos WHERE \\\"RAZON_SOCIAL\\\" = 'José Ñúñez'\")\"\n"
                      "echo \"marks=$(q 'CREATE TABLE IF NOT EXISTS marks (n int); INSERT INTO marks VALUES (1); "
                      "SELECT count(*) FROM marks')\"\n"
                      "exit 7\n");
        ::chmod(folder_.File("app.sh").c_str(), 0755);
    }
    void TearDown() override { Shell(Env() + "bash " + Script("local-db.sh") + " stop"); }

    std::string Env() const { return "QUINTARA_HOME='" + home_ + "' QUINTARA_DB_DIR='" + db_ + "' "; }
    static std::string Script(const char* name) { return std::string(QUINTARA_SOURCE_DIR) + "/scripts/" + name; }
    Outcome Launch(const std::string& args = "") {
        return Shell(Env() + "bash " + Script("launch.sh") + " " + folder_.File("app.sh") + " " + args);
    }
    int DbStatus() { return Shell(Env() + "bash " + Script("local-db.sh") + " status").status; }

    TempFolder folder_;
    std::string home_;
    std::string db_;
};

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(RunCommandTest, FirstRunCreatesTheDatabaseLaterRunsReuseItAndNoServerIsLeftBehind) {
    std::string owner = ::geteuid() == 0 ? "postgres" : Shell("id -un").output;
    while (!owner.empty() && owner.back() == '\n') owner.pop_back();
    const Outcome first = Launch("uno 'dos tres'");
    EXPECT_EQ(first.status, 7) << first.output;  // the application's own exit status
    EXPECT_TRUE(Has(first.output, "cwd=" + home_ + " args=uno dos tres")) << first.output;
    EXPECT_TRUE(Has(first.output, "params=sqlhost='" + db_ + "' database='quintara' user='" + owner + "' passw=''"))
        << first.output;
    EXPECT_TRUE(Has(first.output, "mode=600")) << first.output;
    EXPECT_TRUE(Has(first.output, "creating the database quintara")) << first.output;
    EXPECT_TRUE(Has(first.output, "contacts=38")) << first.output;
    EXPECT_TRUE(Has(first.output, "jose=José Ñúñez Córdoba")) << first.output;
    EXPECT_TRUE(Has(first.output, "marks=1")) << first.output;
    EXPECT_EQ(DbStatus(), 3) << "the server the launch started is stopped again";

    const Outcome second = Launch();
    EXPECT_FALSE(Has(second.output, "creating")) << second.output;
    EXPECT_TRUE(Has(second.output, "marks=2")) << second.output;
    EXPECT_EQ(DbStatus(), 3);

    // A server that was running before the launch keeps running after it.
    ASSERT_EQ(Shell(Env() + "bash " + Script("local-db.sh") + " ensure").status, 0);
    const Outcome third = Launch();
    EXPECT_TRUE(Has(third.output, "marks=3")) << third.output;
    EXPECT_EQ(DbStatus(), 0);
}

TEST_F(RunCommandTest, DbFromTakesTheUsersOwnParametersAndLeavesTheEmbeddedServerAlone) {
    const std::string own = "sqlhost='db.example.com' database='agenda' user='ana' passw='se cre\"to'";
    ::mkdir(folder_.File("own").c_str(), 0755);
    folder_.Write("own/SQLPARAMS.DAT", own + "\n");
    const Outcome run = Launch("--db-from " + folder_.File("own"));
    EXPECT_TRUE(Has(run.output, "params=" + own)) << run.output;
    EXPECT_TRUE(Has(run.output, "mode=600")) << run.output;
    EXPECT_FALSE(Has(run.output, "starting the database server")) << run.output;
    EXPECT_EQ(DbStatus(), 3);
    // The copy stays: the next run goes to the same server.
    const Outcome next = Launch();
    EXPECT_TRUE(Has(next.output, "params=" + own)) << next.output;
    EXPECT_FALSE(Has(next.output, "starting the database server")) << next.output;
}

}  // namespace
}  // namespace rt::test
