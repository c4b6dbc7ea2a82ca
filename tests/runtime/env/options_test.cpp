#include "runtime/env/options.h"

#include <gtest/gtest.h>

#include "runtime/text/slot_table.h"
#include "tests/support/runtime_fixture.h"

namespace rt::test {
namespace {

class OptionsTest : public RuntimeTest {
protected:
    void Line(const std::string& raw) {
        std::uint16_t m = DynMark();
        ASSERT_EQ(SlotSet(0, 1, CmdLineNormalise(D(raw))), 0);
        DynRelease(m);
    }
    std::string Opt(const char* name) {
        std::uint16_t m = DynMark();
        std::string v = Str(OptValue(StrFromC(name)));
        EXPECT_EQ(DynMark(), m + 1) << "OptValue leaves exactly its result";
        DynRelease(m);
        return v;
    }
};

TEST_F(OptionsTest, NormalisationFoldsBlanksAndDashes) {
    struct Case { const char* raw; const char* normal; };
    const Case cases[] = {
        {"prog  -TRACE:256   /APNAME:\"X1:Name\"", "prog /TRACE:256 /APNAME:\"X1:Name\""},
        {"  prog --user:abc\t", "prog /user:abc"},
        {"prog    a", "prog a"},
        {"prog x-y", "prog x-y"},  // a dash inside a word stays
        {"", ""},
    };
    for (const Case& c : cases) {
        std::uint16_t m = DynMark();
        EXPECT_EQ(Str(CmdLineNormalise(StrFromC(c.raw))), c.normal) << c.raw;
        DynRelease(m);
    }
}

TEST_F(OptionsTest, ValuesByNameAndNumber) {
    Line("prog  -TRACE:256   /APNAME:\"X1:Name\" --user:abc /passw:\"Mi Clave\" /host=srv&/DPATH:c:\\apps");
    EXPECT_EQ(Str(OptGet(kOptTrace)), "256");
    EXPECT_EQ(Str(OptGet(kOptApName)), "X1:Name");   // quoted: the inside unchanged
    EXPECT_EQ(Opt("user"), "ABC");                  // unquoted: upper case
    EXPECT_EQ(Opt("USER"), "ABC");                  // one case-folded retry
    EXPECT_EQ(Opt("Passw"), "Mi Clave");            // an upper-case first letter retries in lower case
    EXPECT_EQ(Opt("pASSW"), "");                    // ...a lower-case one in upper case: no match
    EXPECT_EQ(Opt("passw"), "Mi Clave");
    EXPECT_EQ(Opt("host"), "SRV");                  // '=' form, ends at '&'
    EXPECT_EQ(Str(OptGet(kOptDPath)), "C");         // an unquoted value ends at its colon
    EXPECT_EQ(Opt("RACE"), "");                     // only whole names after a separator
    EXPECT_EQ(Str(OptGet(20)), "");
    EXPECT_EQ(Str(OptGet(0)), "");
}

TEST_F(OptionsTest, UnquotedValueEndsAtItsFirstBlank) {
    Line("prog /passw:Mi Clave");
    EXPECT_EQ(Opt("passw"), "MI");
}

TEST_F(OptionsTest, QuotedNamesAreNotSeen) {
    Line("prog /X:'/user:abc' /HELP:yes");
    EXPECT_EQ(Opt("user"), "");
    EXPECT_EQ(Str(OptGet(kOptHelp)), "YES");
}

}  // namespace
}  // namespace rt::test
