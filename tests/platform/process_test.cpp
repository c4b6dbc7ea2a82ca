// Process services against the real file system and environment.
#include "platform/process.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace rt {
namespace {

std::string Backslashed(std::string s) {
    std::replace(s.begin(), s.end(), '/', '\\');
    return s;
}

void Touch(const fs::path& p, const std::string& content = "") {
    std::ofstream(p, std::ios::binary) << content;
}

class ProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(folder_.path().empty());
        dir_ = folder_.path();
    }
    std::string RtPath(const std::string& rel) const { return Backslashed(dir_ + "/" + rel); }
    rt::test::TempFolder folder_;
    std::string dir_;
};

// Sets an environment variable for one test and puts the old value back afterwards.
class EnvGuard {
public:
    explicit EnvGuard(const char* name) : name_(name) {
        const char* v = std::getenv(name);
        had_ = v != nullptr;
        if (had_) old_ = v;
    }
    ~EnvGuard() { had_ ? ::setenv(name_, old_.c_str(), 1) : ::unsetenv(name_); }
    void Set(const char* value) { value ? ::setenv(name_, value, 1) : ::unsetenv(name_); }
private:
    const char* name_;
    bool had_ = false;
    std::string old_;
};

std::vector<std::string> Names(const std::vector<PlatformFoundFile>& found) {
    std::vector<std::string> names;
    for (const auto& f : found) names.push_back(f.name);
    return names;
}

TEST(ProcessCommandLine, ProgramPathThenArgumentsWithBlanksQuoted) {
    const char* argv[] = {"ignored", "plain", "two words", "/TRACE:1"};
    PlatformSetArgs(4, argv);
    std::string line = PlatformCommandLineBytes();
    std::string program = Backslashed(fs::read_symlink("/proc/self/exe").string());
    EXPECT_EQ(line, program + " plain \"two words\" /TRACE:1");
    std::u16string wide = PlatformCommandLine();
    EXPECT_EQ(wide.size(), line.size());
    EXPECT_EQ(wide.back(), u'1');
}

TEST(ProcessCommandLine, OptionValuesWithBlanksAreQuotedOnTheirOwn) {
    struct Case { const char* argument; const char* rebuilt; };
    const Case cases[] = {
        {"/PASSW:Mi Clave", "/PASSW:\"Mi Clave\""},        // a shell removed the quotes
        {"/PASSW:\"Mi Clave\"", "/PASSW:\"Mi Clave\""},  // already quoted: as given
        {"/DPATH:'/tmp/sp ace'", "/DPATH:'/tmp/sp ace'"},
        {"/DPATH:/tmp/sp ace", "/DPATH:\"/tmp/sp ace\""},
        {"-USER=Ana Mar\xC3\xAD" "a", "-USER=\"Ana Mar\xED" "a\""},
        {"--PASSW:a b", "--PASSW:\"a b\""},
        {"/PASSW:say \"hi\" now", "/PASSW:'say \"hi\" now'"},  // a double quote inside: single quotes
        {"/TRACE:4", "/TRACE:4"},
        {"two words", "\"two words\""},                  // no option: enclosed whole
        {"/tmp/sp ace", "\"/tmp/sp ace\""},              // a path is no option
        {"say \"a b\"", "say \"a b\""},                  // a double quote of its own: as given
    };
    for (const Case& c : cases) {
        const char* argv[] = {"prog", c.argument};
        PlatformSetArgs(2, argv);
        std::string line = PlatformCommandLineBytes();
        std::size_t blank = line.find(' ', Backslashed(fs::read_symlink("/proc/self/exe").string()).size());
        EXPECT_EQ(line.substr(blank + 1), c.rebuilt) << c.argument;
    }
}

TEST(ProcessCommandLine, NonAsciiArgumentsBecomeWideCharacters) {
    const char* argv[] = {"prog", "Espa\xC3\xB1" "a"};  // UTF-8 as the system passes it
    PlatformSetArgs(2, argv);
    std::u16string wide = PlatformCommandLine();
    EXPECT_EQ(wide.substr(wide.size() - 6), u"Espa\u00F1a");
    std::string bytes = PlatformCommandLineBytes();
    EXPECT_EQ(bytes.substr(bytes.size() - 6), "Espa\xF1" "a");
}

TEST_F(ProcessTest, CurrentFolderUsesBackslashes) {
    std::string before = fs::current_path().string();
    ASSERT_EQ(::chdir(dir_.c_str()), 0);
    std::string folder = PlatformCurrentFolder();
    ASSERT_EQ(::chdir(before.c_str()), 0);
    EXPECT_EQ(folder, Backslashed(fs::canonical(dir_).string()));
}

TEST(ProcessEnv, TempFallsBackToTmpdirThenTmp) {
    EnvGuard temp("TEMP"), tmpdir("TMPDIR");
    temp.Set(nullptr);
    tmpdir.Set("/var/qnt-tmp");
    EXPECT_EQ(PlatformEnv("TEMP"), "/var/qnt-tmp");
    tmpdir.Set(nullptr);
    EXPECT_EQ(PlatformEnv("TEMP"), "/tmp");
    temp.Set("/here");
    EXPECT_EQ(PlatformEnv("TEMP"), "/here");
}

TEST(ProcessEnv, NamesMatchWithoutRegardToCase) {
    EnvGuard v("QNT_Mixed_Name");
    v.Set("value");
    EXPECT_EQ(PlatformEnv("QNT_Mixed_Name"), "value");
    EXPECT_EQ(PlatformEnv("qnt_mixed_name"), "value");
    EXPECT_EQ(PlatformEnv("QNT_NOT_SET_ANYWHERE"), "");
    EXPECT_EQ(PlatformEnv(""), "");
}

TEST_F(ProcessTest, FindFilesMatchesWildcardsWithoutRegardToCase) {
    for (const char* n : {"Alpha.txt", "beta.TXT", "gamma.dat", "ab"}) Touch(dir_ + "/" + n);
    fs::create_directory(dir_ + "/sub.txt");
    struct Case {
        const char* pattern;
        std::vector<std::string> names;
    } cases[] = {
        {"*.txt", {"Alpha.txt", "beta.TXT", "sub.txt"}},
        {"?ETA.*", {"beta.TXT"}},
        {"*.*", {"Alpha.txt", "ab", "beta.TXT", "gamma.dat", "sub.txt"}},
        {"a*", {"Alpha.txt", "ab"}},
        {"a?", {"ab"}},
        {"ALPHA.TXT", {"Alpha.txt"}},  // no wildcard: the one name that differs only in case
        {"nothing*", {}},
        {"missing.txt", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(Names(PlatformFindFiles(RtPath(c.pattern))), c.names) << c.pattern;
    auto dirs = PlatformFindFiles(RtPath("sub.*"));
    ASSERT_EQ(dirs.size(), 1u);
    EXPECT_TRUE(dirs[0].folder);
    // A folder followed by "." names the folder itself.
    EXPECT_EQ(PlatformFindFiles(RtPath("sub.txt/.")).size(), 1u);
}

TEST_F(ProcessTest, FindFilesGivesModificationTimeAndSize) {
    Touch(dir_ + "/stamp.txt", "12345");
    std::tm tm{};
    tm.tm_year = 2021 - 1900;
    tm.tm_mon = 2;
    tm.tm_mday = 4;
    tm.tm_hour = 13;
    tm.tm_min = 45;
    tm.tm_sec = 30;
    tm.tm_isdst = -1;
    std::time_t t = std::mktime(&tm);
    utimbuf times{t, t};
    ASSERT_EQ(::utime((dir_ + "/stamp.txt").c_str(), &times), 0);
    auto found = PlatformFindFiles(RtPath("stamp.txt"));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].size, 5u);
    PlatformDateTime dt = PlatformLocalTime(found[0].modified);
    EXPECT_EQ(dt.year, 2021);
    EXPECT_EQ(dt.month, 3);
    EXPECT_EQ(dt.day, 4);
    EXPECT_EQ(dt.hour, 13);
    EXPECT_EQ(dt.minute, 45);
    EXPECT_EQ(dt.second, 30);
}

TEST_F(ProcessTest, ReadingLooksAgainWithoutRegardToCase) {
    fs::create_directory(dir_ + "/Params");
    Touch(dir_ + "/Params/SQLPARAMS.DAT", "x");
    std::FILE* f = PlatformOpen(RtPath("params/sqlparams.dat"), "rb");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(std::fgetc(f), 'x');
    PlatformClose(f);
    f = PlatformOpen(RtPath("params/sqlparams.dat"), "rb+");  // update of an existing file reads too
    ASSERT_NE(f, nullptr);
    PlatformClose(f);
    // Writing makes the exact name: a new file beside the old one.
    f = PlatformOpen(RtPath("Params/new.dat"), "wb");
    ASSERT_NE(f, nullptr);
    PlatformClose(f);
    EXPECT_TRUE(fs::exists(dir_ + "/Params/new.dat"));
    EXPECT_EQ(PlatformOpen(RtPath("params/absent.dat"), "rb"), nullptr);
}

TEST_F(ProcessTest, NamesCrossAsWindows1252OutsideAndUtf8OnDisk) {
    std::FILE* f = PlatformOpen(RtPath("Espa\xF1" "a.txt"), "wb");
    ASSERT_NE(f, nullptr);
    PlatformClose(f);
    EXPECT_TRUE(fs::exists(dir_ + "/Espa\xC3\xB1" "a.txt"));
    EXPECT_EQ(Names(PlatformFindFiles(RtPath("Esp*"))), std::vector<std::string>{"Espa\xF1" "a.txt"});
}

TEST_F(ProcessTest, RenameRemoveAndMakeFolderTakeRuntimePaths) {
    Touch(dir_ + "/a.txt", "a");
    EXPECT_EQ(PlatformRename(RtPath("a.txt"), RtPath("b.txt")), 0);
    EXPECT_TRUE(fs::exists(dir_ + "/b.txt"));
    EXPECT_EQ(PlatformRemove(RtPath("b.txt")), 0);
    EXPECT_EQ(PlatformRemove(RtPath("b.txt")), PlatformErrNotFound());
    EXPECT_EQ(PlatformMakeFolder(RtPath("made")), 0);
    EXPECT_TRUE(fs::is_directory(dir_ + "/made"));
    EXPECT_EQ(PlatformMakeFolder(RtPath("made")), PlatformErrExists());
    EXPECT_EQ(PlatformMakeFolder(RtPath("x/y")), PlatformErrNotFound());
}

TEST_F(ProcessTest, UniqueFilesAreCreatedExclusivelyAndPrivate) {
    ::umask(022);
    std::vector<std::string> paths;
    for (int i = 0; i < 50; ++i) {
        std::string path;
        std::FILE* f = PlatformCreateUnique(Backslashed(dir_), "contactos", ".TMP", &path);
        ASSERT_NE(f, nullptr);
        PlatformClose(f);
        paths.push_back(path);
    }
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(std::unique(paths.begin(), paths.end()), paths.end()) << "every name is fresh";
    for (const std::string& p : paths) {
        std::string name = p.substr(p.rfind('\\') + 1);
        EXPECT_EQ(p.substr(0, p.rfind('\\')), Backslashed(dir_));
        EXPECT_EQ(name.size(), std::string("contactosXXXXXX.TMP").size()) << name;
        EXPECT_EQ(name.rfind("contactos", 0), 0u);
        EXPECT_EQ(name.substr(name.size() - 4), ".TMP");
        EXPECT_EQ(fs::status(dir_ + "/" + name).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write);
    }
    // A bare stem goes to the current folder; a folder that is not there gives nothing.
    fs::path was = fs::current_path();
    fs::current_path(dir_);
    std::string here;
    std::FILE* f = PlatformCreateUnique("", "w", "", &here);
    ASSERT_NE(f, nullptr);
    PlatformClose(f);
    EXPECT_TRUE(fs::exists(dir_ + "/" + here)) << here;
    fs::current_path(was);
    EXPECT_EQ(PlatformCreateUnique(RtPath("missing"), "w", "", &here), nullptr);
}

TEST_F(ProcessTest, APrivateFileIsPrivateBeforeItIsWritten) {
    ::umask(022);
    Touch(dir_ + "/old.dat", "secret of before");
    fs::permissions(dir_ + "/old.dat", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                           fs::perms::others_read);
    for (const char* name : {"old.dat", "Espa\xF1" "a.dat"}) {
        std::FILE* f = PlatformCreatePrivate(RtPath(name));
        ASSERT_NE(f, nullptr) << name;
        EXPECT_EQ(PlatformWrite(f, "x", 1), 1u);
        PlatformClose(f);
    }
    for (const char* name : {"old.dat", "Espa\xC3\xB1" "a.dat"}) {
        std::string path = dir_ + "/" + name;
        EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
        std::ifstream in(path, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "x") << "emptied first";
    }
    // A link is not followed: the file it points to keeps its bytes.
    fs::create_symlink(dir_ + "/old.dat", dir_ + "/link.dat");
    EXPECT_EQ(PlatformCreatePrivate(RtPath("link.dat")), nullptr);
    std::ifstream target(dir_ + "/old.dat", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(target), {}), "x");
}

// The lock excludes another process, also one that waited while the holder renamed a new file over
// the path: it then holds the new file's lock.
TEST_F(ProcessTest, ALockWaitsForItsHolderAndFollowsARename) {
    const std::string path = RtPath("config.txt"), got = dir_ + "/got";
    int held = PlatformLock(path);
    ASSERT_GE(held, 0);
    EXPECT_TRUE(fs::exists(dir_ + "/config.txt")) << "created when missing";
    int release[2];
    ASSERT_EQ(::pipe(release), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(release[1]);
        ::close(held);  // the copy fork gave this process would keep the parent's lock alive
        int lock = PlatformLock(path);
        // Written whole under another name first: the parent reads it as soon as it exists.
        Touch(got + ".part", lock >= 0 ? "locked" : "failed");
        fs::rename(got + ".part", got);
        char c;
        while (::read(release[0], &c, 1) > 0) {
        }
        PlatformUnlock(lock);
        ::_exit(0);
    }
    ::close(release[0]);
    ::usleep(300 * 1000);
    EXPECT_FALSE(fs::exists(got)) << "the other process waits while the lock is held";
    Touch(dir_ + "/config.new", "new");
    fs::rename(dir_ + "/config.new", dir_ + "/config.txt");
    PlatformUnlock(held);
    for (int i = 0; i < 500 && !fs::exists(got); ++i) ::usleep(10 * 1000);
    std::ifstream in(got);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "locked");
    int again = ::open((dir_ + "/config.txt").c_str(), O_RDONLY);
    EXPECT_NE(::flock(again, LOCK_EX | LOCK_NB), 0) << "the waiting process holds the new file's lock";
    ::close(again);
    ::close(release[1]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(PlatformLock(RtPath("missing/config.txt")), -1);
}

TEST(ProcessClock, NowIsAPlausibleLocalTime) {
    std::time_t before = std::time(nullptr);
    PlatformDateTime now = PlatformNow();
    PlatformDateTime expect = PlatformLocalTime(before);
    EXPECT_EQ(now.year, expect.year);
    EXPECT_GE(now.month, 1);
    EXPECT_LE(now.month, 12);
    EXPECT_GE(now.millisecond, 0);
    EXPECT_LT(now.millisecond, 1000);
}

}  // namespace
}  // namespace rt
