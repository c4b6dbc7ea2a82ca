// Text-file functions: READ$ and WRITE on files and streams, FILESEL's stream forms, FN#FLEN, EXEC$,
// the parameter-file rewrite, and the record-access functions that are not in place yet.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "runtime/env/streams.h"
#include "runtime/expr/builtin_functions.h"
#include "runtime/expr/fn_args.h"
#include "tests/runtime/expr/fn_fixture.h"
#include "tests/support/temp_folder.h"

namespace rt::test {
namespace {

class FnFilesTest : public VarTest {
protected:
    void SetUp() override {
        VarTest::SetUp();
        ASSERT_FALSE(folder_.path().empty());
        dir_ = folder_.path();
    }
    void TearDown() override { VarTest::TearDown(); }
    std::string Path(const char* name) { return (dir_ / name).string(); }
    static std::string Content(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static void Put(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    rt::test::TempFolder folder_;
    std::filesystem::path dir_;
};

TEST_F(FnFilesTest, WritingAndReadingFilesByName) {
    std::string p = Path("a.txt");
    std::string q = "'" + p + "'";
    ExpectAll({
        {("WRITE(" + q + ";0;'hello')").c_str(), "#0"},
        {("READ$(" + q + ")").c_str(), "'hello'"},
        {("READ$(" + q + ";1;3)").c_str(), "'ell'"},
        {("WRITE(" + q + ";-1;' world')").c_str(), "#0"},
        {("READ$(" + q + ";6)").c_str(), "'world'"},
        {("FN#FLEN(" + q + ")").c_str(), "#11"},
        {("WRITE(" + q + ";0;'J')").c_str(), "#0"},
        {("READ$(" + q + ")").c_str(), "'Jello world'"},
        {("WRITE(" + q + ";-3;'new')").c_str(), "#0"},
        {("READ$(" + q + ")").c_str(), "'new'"},
        {("WRITE(" + q + ";0;5)").c_str(), "E128"},
        {"READ$('/nonexistent/missing.txt')", "''"},
        {"FN#FLEN('/nonexistent/missing.txt')", "#0"},
        {"WRITE('/nonexistent/dir/x.txt';0;'x')", "#131"},
    });
}

TEST_F(FnFilesTest, StreamsThroughHandles) {
    std::string p = Path("lines.txt");
    Put(p, "l1\r\nl2\r\n");
    ASSERT_EQ(Eval("H=FILESEL('" + p + "';8)"), "#3");
    ExpectAll({
        {"READ$(H)", "'l1'"},
        {"READ$(H;-1)", "'l2'"},
        {"READ$(H;-1;0)", "'\x1A'"},
        {"READ$(H;-1)", "''"},
        {"READ$(H;0;2)", "'l1'"},
        {"READ$(H;0;0)", "''"},
        {"FILESEL(H)", "#0"},
    });
    EXPECT_EQ(Eval("FILESEL('/nonexistent/dir/x.txt';8)"), "E65535");
    std::string w = Path("w.txt");
    ASSERT_EQ(Eval("W=FILESEL('" + w + "';1)"), "#3");
    ExpectAll({
        {"WRITE(W;-1;'abc')", "#3"},
        {"WRITE(W;0;'X')", "#1"},
        {"FILESEL(W)", "#0"},
    });
    EXPECT_EQ(Content(w), "Xbc");
}

TEST_F(FnFilesTest, RunningAFileOfExpressions) {
    std::string p = Path("prog.txt");
    Put(p, "A#=2\r\nB$='x'+'y'\nC=A#*3\n");
    EXPECT_EQ(Eval("EXEC$('" + p + "')"), "''");
    EXPECT_EQ(Eval("A#+C"), "#8");
    EXPECT_EQ(Var("B$"), "xy");
    ExpectAll({
        {("EXEC$('" + p + "';'x')").c_str(), "E148"},
        {"EXEC$('noextension')", "E148"},
        {"EXEC$('/nonexistent/prog.txt')", "E164"},
    });
    Put(p, "A#=1\nB$=1\n");
    EXPECT_EQ(Eval("EXEC$('" + p + "')"), "E128");
}

TEST_F(FnFilesTest, ParameterFileRewrite) {
    std::string p = Path("parms.dat");
    Put(p, "A#=1;C$='keep'\r\nB#=5");
    ASSERT_EQ(Eval("T$=\"it's\""), "'it's'");
    EXPECT_EQ(Eval("WRITE('" + p + "';-2;'A#=2+3,D$=FN$CHRS(65;2),E#=0,F$=T$')"), "#0");
    EXPECT_EQ(Content(p), "A#=5;D$='AA';E#=0;F$=\"it's\";C$='keep';B#=5");
    EXPECT_EQ(Eval("A#"), "#5");
    EXPECT_EQ(Var("D$"), "AA");
    EXPECT_EQ(Var("C$"), "keep");
    EXPECT_EQ(Var("F$"), "it's");
    // A file that does not exist yet is written with the given items alone.
    std::string fresh = Path("fresh.dat");
    EXPECT_EQ(Eval("WRITE('" + fresh + "';-2;'X=7')"), "#0");
    EXPECT_EQ(Content(fresh), "X=7");
    EXPECT_EQ(Eval("X"), "#7");
}

TEST_F(FnFilesTest, RecordAccessFormsAreNotAvailableYet) {
    ExpectAll({
        {"FILEFIND('x')", "E148"},
        {"FILEREL(1;2;3;0;COND)", "E148"},
        {"FILELOCATE('NXT')", "E148"},
        {"FILESEL('contactos;2')", "E148"},
        {"FILESEL('RESTORE')", "E148"},
        {"FILEREL(1;2)", "E147"},
    });
}

// The record layer installs the record-access bodies from above; they get the evaluated arguments,
// a body left null keeps the 148, and taking the layer out restores it.
ErrCode FindGivesItsArgumentPlusOne(FnArgs& a) {
    std::int16_t n = 0;
    if (ErrCode e = FnArgInt(a, 0, 0, &n)) return e;
    return FnInteger(n + 1);
}
ErrCode RelGivesItsArgumentCount(FnArgs& a) { return FnInteger(a.count); }

TEST_F(FnFilesTest, RecordAccessBodiesComeFromTheRecordLayer) {
    const FnRecordLayer layer{FindGivesItsArgumentPlusOne, RelGivesItsArgumentCount, nullptr, nullptr, nullptr};
    EXPECT_EQ(FnRecordLayerSet(&layer), nullptr);
    ExpectAll({
        {"FILEFIND(2*3)", "#7"},
        {"FILEREL(1;2;3;0;COND)", "#5"},
        {"FILELOCATE('NXT')", "E148"},
    });
    EXPECT_EQ(FnRecordLayerSet(nullptr), &layer);
    EXPECT_EQ(Eval("FILEFIND(1)"), "E148");
}

}  // namespace
}  // namespace rt::test
