// Path operations, folder kinds and placeholder expansion, over the real slot table and file system.
#include "runtime/env/paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/process.h"
#include "runtime/env/errors.h"
#include "tests/support/runtime_fixture.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;

namespace rt::test {
namespace {

std::string Backslashed(std::string s) {
    std::replace(s.begin(), s.end(), '/', '\\');
    return s;
}

// Runs each case and checks that the operation left exactly its result on DynStrings.
template <typename Op>
std::string Kept(Op op) {
    std::uint16_t mark = DynMark();
    StrDesc r = op();
    std::uint16_t after = DynMark();
    std::string s = Str(r);
    DynRelease(mark);
    EXPECT_EQ(after, mark + 1) << s;
    return s;
}

class PathsTest : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        ASSERT_FALSE(folder_.path().empty());
        dir_ = folder_.path();
        oldCwd_ = fs::current_path().string();
        const char* temp = std::getenv("TEMP");
        hadTemp_ = temp != nullptr;
        if (hadTemp_) oldTemp_ = temp;
    }
    void TearDown() override {
        hadTemp_ ? ::setenv("TEMP", oldTemp_.c_str(), 1) : ::unsetenv("TEMP");
        fs::current_path(oldCwd_);
        RuntimeTest::TearDown();
    }
    std::string RtDir() const { return Backslashed(dir_); }
    void Slot(std::uint16_t item, const std::string& text) { ASSERT_EQ(SlotSet(0, item, D(text)), 0); }

    rt::test::TempFolder folder_;
    std::string dir_, oldCwd_, oldTemp_;
    bool hadTemp_ = false;
};

TEST_F(PathsTest, JoinAndExtJoin) {
    struct Case { const char *folder, *name, *want; } cases[] = {
        {R"(C:\a)", "b", R"(C:\a\b)"},
        {R"(C:\a\)", "b", R"(C:\a\b)"},
        {"", "b", "b"},
        {R"(C:\a)", "", R"(C:\a)"},
        {"C:/a", "b/c", R"(C:\a\b\c)"},
        {R"(C:\a)", R"(\b)", R"(C:\a\b)"},
        {"x", "'a/b'", R"(x\'a/b')"},  // a quoted '/' is not a separator
    };
    for (const Case& c : cases)
        EXPECT_EQ(Kept([&] { return PathJoin(StrFromC(c.folder), StrFromC(c.name)); }), c.want) << c.folder;
    EXPECT_EQ(Kept([] { return ExtJoin(S("file"), S("txt")); }), "file.txt");
    EXPECT_EQ(Kept([] { return ExtJoin(S("file"), S("")); }), "file");
    EXPECT_EQ(Kept([] { return ExtJoin(S(""), S("txt")); }), "txt");
    EXPECT_TRUE(PathJoin(StrError(164), S("b")).IsError());
}

TEST_F(PathsTest, PartsOfAPath) {
    struct Case { const char* path; std::uint16_t parts; const char* want; } cases[] = {
        {R"(C:\dir\file.txt)", 1, "C:"},
        {R"(C:\dir\file.txt)", 2, R"(\dir)"},
        {R"(C:\dir\file.txt)", 4, "file"},
        {R"(C:\dir\file.txt)", 8, "txt"},
        {R"(C:\dir\file.txt)", 3, R"(C:\dir)"},
        {R"(C:\dir\file.txt)", 7, R"(C:\dir\file)"},
        {R"(C:\dir\file.txt)", 12, "file.txt"},
        {R"(C:\dir\file.txt)", 15, R"(C:\dir\file.txt)"},
        {R"(C:\dir.old\file)", 8, ""},
        {R"(C:\dir.old\file)", 12, "file"},
        {"C:file.txt", 4, "file"},
        {"C:file.txt", 5, R"(C:\file)"},
        {"file.tar.gz", 4, "file.tar"},
        {R"(a\b\c)", 3, R"(a\b)"},
        {"", 15, ""},
        // A file at the root keeps the root as its folder, so its parent stays absolute.
        {R"(C:\file)", 3, R"(C:\)"},
        {R"(C:\file)", 7, R"(C:\file)"},
        {R"(\work)", 3, R"(\)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Kept([&] { return PathPart(StrFromC(c.path), c.parts); }), c.want) << c.path << " " << c.parts;
}

TEST_F(PathsTest, ResolveClimbsLeadingDotDotItems) {
    struct Case { const char *base, *rel, *want; } cases[] = {
        {R"(C:\app\bin)", R"(..\data)", R"(C:\app\data)"},
        {R"(C:\app)", R"(.\x)", R"(C:\app\x)"},
        {R"(C:\app\bin\x)", R"(..\..\data)", R"(C:\app\data)"},
        {R"(C:\app\bin)", "..", R"(C:\app)"},
        {R"(C:\app\bin)", "../data", R"(C:\app\data)"},
        {R"(C:\app)", R"(a\.\.\b)", R"(C:\app\a\b)"},
        {R"(C:\app)", "..x", R"(C:\app\..x)"},
        {R"(\work)", R"(..\APPS)", R"(\APPS)"},
        {"", "Help", "Help"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Kept([&] { return PathResolve(StrFromC(c.base), StrFromC(c.rel)); }), c.want) << c.rel;
}

TEST_F(PathsTest, FolderKinds) {
    fs::current_path(dir_);
    Slot(1, R"(C:\app\bin\prog.exe /TRACE:1)");
    Slot(5, R"(C:\app)");
    Slot(11, "'myhost',shop,u,p");
    struct Case { std::uint16_t kind; std::string want; } empty6[] = {
        {kFolderRun, R"(C:\app\bin)"},
        {kFolderDefault, R"(C:\app)"},
        {kFolderData, Backslashed(fs::path(dir_).parent_path().string()) + R"(\data)"},  // beside the docs
        {kFolderDocs, RtDir()},
        {kFolderHelp, R"(C:\app\Help)"},
        {kFolderBackup, "Backups"},
        {kFolderBackRel, RtDir() + R"(\Backups\myhost\SHOP)"},
        {0, ""},
        {8, ""},
    };
    for (const Case& c : empty6) EXPECT_EQ(Kept([&] { return FolderOf(c.kind); }), c.want) << c.kind;

    Slot(6, R"(D:\docs\mine)");
    Slot(7, R"(E:\help)");
    EXPECT_EQ(Kept([] { return FolderOf(kFolderDocs); }), R"(D:\docs\mine)");
    EXPECT_EQ(Kept([] { return FolderOf(kFolderData); }), R"(D:\docs\data)");
    EXPECT_EQ(Kept([] { return FolderOf(kFolderHelp); }), R"(E:\help)");
    EXPECT_EQ(Kept([] { return FolderOf(kFolderBackup); }), R"(D:\docs\mine\Backups)");
    // A program on a drive from F on keeps its data beside the default folder.
    Slot(1, R"(G:\app\bin\prog.exe)");
    EXPECT_EQ(Kept([] { return FolderOf(kFolderData); }), R"(C:\data)");
    // A program path without a drive has no drive letter to compare: data stays beside the docs.
    Slot(1, R"(\usr\lib\quintara\prog)");
    EXPECT_EQ(Kept([] { return FolderOf(kFolderData); }), R"(D:\docs\data)");
}

TEST_F(PathsTest, StartUpFolderModes) {
    fs::current_path(dir_);
    Slot(1, R"(C:\app\bin\prog.exe)");
    ASSERT_EQ(FoldersFirstMode(), 0);
    EXPECT_EQ(Str(SlotGet(0, 5)), R"(C:\app\bin)");
    EXPECT_EQ(Str(SlotGet(0, 7)), R"(C:\app\bin\Help)");
    Slot(5, R"(C:\kept)");
    ASSERT_EQ(FoldersFirstMode(), 0);  // nothing replaced once set
    EXPECT_EQ(Str(SlotGet(0, 5)), R"(C:\kept)");

    ASSERT_EQ(FoldersSecondMode(S("")), 0);
    std::string apps = Backslashed(fs::path(dir_).parent_path().string()) + R"(\APPS)";
    EXPECT_EQ(Str(SlotGet(0, 5)), apps);
    EXPECT_EQ(Str(SlotGet(0, 7)), apps + R"(\Help)");
    ASSERT_EQ(FoldersSecondMode(S(R"(D:\given)")), 0);
    EXPECT_EQ(Str(SlotGet(0, 5)), R"(D:\given)");
    EXPECT_EQ(Str(SlotGet(0, 7)), R"(D:\given\Help)");
}

TEST_F(PathsTest, CommandWords) {
    Slot(1, R"("C:\my apps\prog.exe" "D:\some files\x.txt" /A:1)");
    EXPECT_EQ(Kept([] { return CmdWord(0); }), R"(C:\my apps\prog.exe)");
    EXPECT_EQ(Kept([] { return CmdWord(kCmdFolderOnly); }), R"(C:\my apps)");
    EXPECT_EQ(Kept([] { return CmdWord(kCmdSecond); }), R"(D:\some files\x.txt)");
    EXPECT_EQ(Kept([] { return CmdWord(kCmdSecond | kCmdFolderOnly); }), R"(D:\some files)");
    Slot(1, R"(prog /A:1 file)");
    EXPECT_EQ(Kept([] { return CmdWord(kCmdSecond); }), "");  // an option is not a word
    Slot(1, "");
    EXPECT_EQ(Kept([] { return CmdWord(0); }), "");
}

TEST_F(PathsTest, PathExpandPlaceholders) {
    ::setenv("TEMP", "/var/tmp/q", 1);
    fs::current_path(dir_);
    Slot(2, "X1:Name");
    Slot(5, R"(C:\app)");
    Slot(11, "host1,'Shop',u,p");
    struct Case { const char* text; std::string want; } cases[] = {
        {R"(%TEMP%\x.txt)", R"(/var/tmp/q\x.txt)"},
        {R"(%temp%\x.txt)", R"(/var/tmp/q\x.txt)"},
        {R"(%APPPATH_HELP%\a.hlp)", R"(C:\app\Help\a.hlp)"},
        {R"(%APPPATH_DOCS%\%APPPATH_DOCS%)", RtDir() + "\\" + RtDir()},
        {R"(%APNAME%log.txt)", "X1log.txt"},
        {R"(%DOCPATH%\%DATABASE_DBNAME%.dat)", R"(C:\app\Shop.dat)"},
        {R"(%XYZ%a%APPPATH_DEFAULT%)", R"(a)"},  // an unknown name hands the rest to the runtime values
        {R"(%APPPATH_DEFAULT%\%XYZ%b)", R"(C:\app\b)"},
        {R"(%SystemRoot%\%APPPATH_DEFAULT%)", R"(\C:\app)"},  // unset variable: only its placeholder goes
        {"50% off", "50% off"},
        {"no placeholders", "no placeholders"},
    };
    for (const Case& c : cases) EXPECT_EQ(Kept([&] { return PathExpand(StrFromC(c.text)); }), c.want) << c.text;

    ::setenv("TEMP", "%TEMP%", 1);  // a value naming itself must not expand for ever
    std::string r = Kept([] { return PathExpand(S(R"(%TEMP%\x)")); });
    EXPECT_LT(r.size(), 1000u);
}

TEST_F(PathsTest, RuntimeExpandValues) {
    Slot(2, ":Quintara");
    Slot(4, "ES");
    EXPECT_EQ(Kept([] { return RuntimeExpand(S("%APNAME%log.txt")); }), "log.txt");
    EXPECT_EQ(Kept([] { return RuntimeExpand(S("KV_LANG_%LANGMODULE%.MSJ")); }), "KV_LANG_ES.MSJ");
    EXPECT_EQ(Kept([] { return RuntimeExpand(S("a%XYZ%b%XYZ%c")); }), "abc");
    EXPECT_EQ(Kept([] { return RuntimeExpand(S("%TEMP%x")); }), "x");  // not a runtime value
}

TEST_F(PathsTest, FindFilesAndFolderSearch) {
    for (const char* n : {"a1.txt", "a2.txt", "b.dat"}) std::ofstream(dir_ + "/" + n) << "x";
    fs::create_directory(dir_ + "/second");
    std::ofstream(dir_ + "/second/only.ini") << "x";

    std::string found = Kept([&] { return FindFiles(D(RtDir() + R"(\a*.txt)")); });
    EXPECT_EQ(found, std::string("a1.txt\0a2.txt", 13));
    EXPECT_EQ(StrCheck(FindFiles(D(RtDir() + R"(\none*)"))), 164);
    EXPECT_EQ(StrCheck(FindFiles(S(""))), 164);

    std::string folders = R"(C:\nowhere,)" + RtDir() + "," + RtDir() + R"(\second)";
    EXPECT_EQ(Kept([&] { return FindInFolders(D(folders), S("only.ini")); }), RtDir() + R"(\second\only.ini)");
    EXPECT_EQ(Kept([&] { return FindInFolders(D(folders), S("b.dat")); }), RtDir() + R"(\b.dat)");
    EXPECT_EQ(Kept([&] { return FindInFolders(D(folders), S("absent.ini")); }), "");
    fs::current_path(dir_);
    EXPECT_EQ(Kept([&] { return FindInFolders(D(folders), S("b.dat")); }), "b.dat");  // the name itself first

    FileStamp stamp;
    EXPECT_EQ(FindFileStamp(D(RtDir() + R"(\b.dat)"), &stamp), 0);
    EXPECT_GE(stamp.year, 2020);
    EXPECT_EQ(FindFileStamp(D(RtDir() + R"(\absent)"), &stamp), 164);
}

TEST_F(PathsTest, MakeFoldersCreatesMissingParents) {
    EXPECT_EQ(MakeFolders(D(RtDir() + R"(\a\b\c)")), 0);
    EXPECT_TRUE(fs::is_directory(dir_ + "/a/b/c"));
    EXPECT_EQ(MakeFolders(D(RtDir() + R"(\a\b\c\)")), 0);  // already there
    std::ofstream(dir_ + "/file") << "x";
    EXPECT_EQ(MakeFolders(D(RtDir() + R"(\file)")), 165);
    EXPECT_EQ(MakeFolders(S("C:")), 163);
    EXPECT_EQ(Str(ErrDetail()), "C:");
    ErrSetText(0, S(""));
}

TEST_F(PathsTest, TempPathIsFreshInTheTemporaryFolder) {
    ::setenv("TEMP", dir_.c_str(), 1);
    std::string a = Kept([] { return TempPath(S("txt")); });
    std::string b = Kept([] { return TempPath(S("")); });
    EXPECT_EQ(a.rfind(RtDir() + "\\", 0), 0u) << a;
    EXPECT_EQ(a.substr(a.size() - 4), ".txt");
    EXPECT_EQ(b.find('.'), std::string::npos);
    EXPECT_NE(a.substr(0, a.size() - 4), b);
    // Each name is reserved by an empty file only its owner may read or write.
    for (std::string path : {a, b}) {
        std::replace(path.begin(), path.end(), '\\', '/');
        ASSERT_TRUE(fs::exists(path)) << path;
        EXPECT_EQ(fs::file_size(path), 0u);
        EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    }
    // A temporary folder that cannot take a file gives an error, never a name someone else may hold.
    ::setenv("TEMP", (dir_ + "/missing").c_str(), 1);
    EXPECT_EQ(Str(TempPath(S("txt"))), "<error 131>");
}

TEST_F(PathsTest, EnvAndCurrentFolder) {
    ::setenv("TEMP", "/q/t", 1);
    EXPECT_EQ(Kept([] { return EnvValue(S("TEMP")); }), "/q/t");
    EXPECT_EQ(Kept([] { return EnvValue(S("")); }) , "");
    fs::current_path(dir_);
    EXPECT_EQ(Kept([] { return CurrentFolder(); }), RtDir());
}

}  // namespace
}  // namespace rt::test
