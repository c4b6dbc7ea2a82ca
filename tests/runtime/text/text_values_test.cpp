// Cleaning, case and mapping, building, formatting and text buffers.
#include <gtest/gtest.h>

#include <functional>

#include "runtime/env/errors.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"
#include "tests/support/runtime_fixture.h"

namespace rt {
namespace {

using test::D;
using test::Str;

TEST(TextValues, TrimUnquoteAndNumbers) {
    EXPECT_EQ(Str(Trim(S(" \t ab c\t "), kTrimBoth)), "ab c");
    EXPECT_EQ(Str(Trim(S("  ab  "), kTrimLeft)), "ab  ");
    EXPECT_EQ(Str(Trim(S("  ab  "), kTrimRight)), "  ab");
    EXPECT_EQ(Str(TrimSet(S("xxabyx"), kTrimBoth, S("xy"))), "ab");
    EXPECT_EQ(Str(Unquote(S("'abc'"))), "abc");
    EXPECT_EQ(Str(Unquote(S("\"abc'"))), "\"abc'");
    EXPECT_EQ(Str(Unquote(S("'"))), "'");
    EXPECT_EQ(Str(Unquote(S("''"))), "");

    struct Case { const char* text; std::int16_t want; };
    const Case cases[] = {
        {"12x", 12}, {"si", 1}, {"On", 1}, {"", 0}, {"  -7", -7}, {"+3", 3},
        {"x12", 0}, {"65537", 1}, {"yes!", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(StrToNum(D(c.text)), c.want) << c.text;
    EXPECT_TRUE(IsYes(S("yes")));
    EXPECT_FALSE(IsYes(S(" S")));
    EXPECT_FALSE(IsYes(S("NO")));
}

TEST(TextValues, BracketsAndViews) {
    EXPECT_EQ(Closing('('), ')');
    EXPECT_EQ(Closing('<'), '>');
    EXPECT_EQ(Closing('\''), '\'');
    EXPECT_EQ(Closing('x'), 'x');
    EXPECT_TRUE(IsEnclosed(S("[a]"), '['));
    EXPECT_FALSE(IsEnclosed(S("["), '['));
    EXPECT_FALSE(IsEnclosed(S("(a]"), '('));

    struct Case { const char* text; char open; const char* want; };
    const Case between[] = {
        {"f(a(b)c)d", '(', "a(b)c"}, {"x(a)(b)", '(', "a"}, {"x(a(b", '(', ""},
        {"none", '[', ""}, {"say 'hi' now", '\'', "hi"}, {"{}", '{', ""},
    };
    for (const Case& c : between) EXPECT_EQ(Str(Between(D(c.text), c.open)), c.want) << c.text;

    struct SubCase { int start, count; const char* want; };
    const SubCase subs[] = {
        {-3, 1, "def"}, {-3, -1, "def"}, {-10, 2, "abcdef"}, {10, 2, ""}, {6, 1, ""},
        {1, 2, "bc"}, {4, -1, "ef"}, {4, 50, "ef"}, {0, 0, ""},
    };
    for (const SubCase& c : subs)
        EXPECT_EQ(Str(Substr(S("abcdef"), c.start, c.count)), c.want) << c.start << "," << c.count;

    char target[] = "abcdef";
    StrDesc t{target, 6};
    EXPECT_EQ(PutAt(t, 4, S("XYZ")), 0);  // never past the end
    EXPECT_EQ(std::string(target), "abcdXY");
    EXPECT_EQ(PutAt(t, -6, S("1")), 0);
    EXPECT_EQ(std::string(target), "1bcdXY");
    EXPECT_EQ(PutAt(t, 9, S("Q")), 0);
    EXPECT_EQ(std::string(target), "1bcdXY");
    EXPECT_EQ(PutAt(StrError(145), 0, S("Q")), 145);
}

class TextValuesArena : public test::RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        ErrClear();  // each test sees its own first error
    }
    // Runs op and checks that it left exactly its result above the mark taken before it.
    StrDesc One(const std::function<StrDesc()>& op) {
        std::uint16_t m = DynMark();
        StrDesc r = op();
        EXPECT_EQ(DynMark(), m + 1) << Str(r);
        return r;
    }
};

TEST_F(TextValuesArena, CleanValue) {
    struct Case { const char* text; const char* want; };
    const Case cases[] = {
        {"abc", "ABC"}, {"\"'abc'\"", "'abc'"}, {"'abc'", "abc"}, {" abc", "abc"},
        {" 'x y' ", "x y"}, {"", ""}, {"\xf1o", "\xf1O"},
    };
    for (const Case& c : cases) EXPECT_EQ(Str(One([&] { return CleanValue(D(c.text)); })), c.want) << c.text;
    EXPECT_EQ(CleanValue(StrError(163)).len, 163);
}

TEST_F(TextValuesArena, CaseAndMapping) {
    EXPECT_EQ(Str(One([] { return CaseFold(S("aBc-\xf1z"), 1); })), "ABC-\xf1Z");
    EXPECT_EQ(Str(One([] { return CaseFold(S("aBc-\xd1Z"), 0); })), "abc-\xd1z");
    EXPECT_EQ(Str(One([] { return Collapse(S("a  b   c"), ' ', kExact); })), "a b c");
    EXPECT_EQ(Str(One([] { return Collapse(S("a,,'x,,y',,b"), ',', kQuoteAware); })), "a,'x,,y',b");
    EXPECT_EQ(Str(One([] { return KeepChars(S("a1b2c3"), S("0123456789")); })), "123");
    EXPECT_EQ(Str(One([] { return MapChars(S("a\xe1\xf1Z"), S("\xe1\xf1Z"), S("anz")); })), "aanz");
    EXPECT_EQ(Str(One([] { return MapChars(S("abc"), S("abc"), S("X")); })), "Xbc");
    EXPECT_EQ(Str(One([] { return MapSeqs(S("a&lt;b&gt;&lt"), S("&lt;&gt;"), 2, S("<>")); })), "a<b>&lt");
    EXPECT_EQ(Str(One([] { return MapSeqs(S("abc"), S(""), 0, S("")); })), "abc");
}

TEST_F(TextValuesArena, ReplaceAll) {
    struct Case { const char* text; const char* find; const char* repl; SearchMode mode; const char* want; };
    const Case cases[] = {
        {"a,b,c", ",", ";;", kExact, "a;;b;;c"},
        {"a,'b,c',d", ",", ";", kQuoteAware, "a;'b,c';d"},
        {"it's 'x'", "'", "''", kQuoteAware, "it''s ''x''"},  // a quote is found whatever the mode
        {"aaaa", "aa", "b", kExact, "bb"},
        {"abcabc", "bc", "", kExact, "aa"},
        {"abc", "", "x", kExact, "abc"},
        {"", "a", "b", kExact, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Str(One([&] { return ReplaceAll(D(c.text), D(c.find), D(c.repl), c.mode); })), c.want) << c.text;
    EXPECT_EQ(ReplaceAll(S("a"), StrError(163), S("b"), kExact).len, 163);
}

TEST_F(TextValuesArena, ReplaceAllNotesAFailedAllocation) {
    std::uint16_t m = DynMark();
    StrDesc big = StrFill(40000, 'a');
    StrDesc r = ReplaceAll(big, S("a"), S("bb"), kExact);  // 80,000 bytes cannot be one text
    EXPECT_TRUE(r.IsError());
    EXPECT_EQ(r.len, 160);
    EXPECT_EQ(ErrNoted(), (std::uint32_t(kAreaStrConcat) << 16) | 160u);
    EXPECT_EQ(DynMark(), m + 1);
    DynRelease(m);
}

TEST_F(TextValuesArena, WrapQuoteOverwriteAndAssemble) {
    EXPECT_EQ(Str(One([] { return Wrap(S("x"), '['); })), "[x]");
    EXPECT_EQ(Str(One([] { return Wrap(S("x"), '"'); })), "\"x\"");
    EXPECT_EQ(Str(One([] { return QuoteAuto(S("it's"), '"'); })), "\"it's\"");
    EXPECT_EQ(Str(One([] { return QuoteAuto(S("it's"), '\''); })), "\"it's\"");
    EXPECT_EQ(Str(One([] { return QuoteAuto(S("say \"hi\""), '"'); })), "'say \"hi\"'");
    std::uint16_t m = DynMark();
    EXPECT_EQ(QuoteAuto(S("it's \"x\""), '"').len, 163);
    EXPECT_TRUE(QuoteAuto(S("it's \"x\""), '"').IsError());
    EXPECT_EQ(DynMark(), m);
    const StrDesc original = S("abcdef");
    EXPECT_EQ(Str(One([&] { return Overwrite(original, -2, S("XYZ")); })), "abcdXY");
    EXPECT_EQ(Str(original), "abcdef");
    EXPECT_EQ(Str(One([] { return StrAssemble({S("a"), S(""), S("bc")}); })), "abc");
    EXPECT_EQ(StrAssemble({S("a"), StrError(145)}).len, 145);
}

TEST_F(TextValuesArena, FormatRespectsItsMaximum) {
    EXPECT_EQ(Str(One([] { return Format(10, "%s-%03d", "ab", 7); })), "ab-007");
    EXPECT_EQ(Str(One([] { return Format(6, "%s", "abcdef"); })), "abcdef");
    std::uint16_t m = DynMark();
    StrDesc r = Format(5, "%s", "abcdef");
    EXPECT_TRUE(r.IsError());
    EXPECT_EQ(r.len, 146);
    EXPECT_EQ(ErrNoted(), (std::uint32_t(kAreaFormatStrings) << 16) | 146u);
    EXPECT_EQ(DynMark(), m);
}

// A catalog text comes from a language file: whatever conversions it holds, only %s takes one of the
// texts given, so a stray % can never read an argument that is not there.
TEST_F(TextValuesArena, FormatTextFillsOnlyItsTextsWhateverTheFormatHolds) {
    struct Case { const char* format; const char* result; };
    const Case cases[] = {
        {"%s=%s and more", "n=4 and more"},
        {"%s %s %s", "n 4 "},          // a %s past the texts given is empty
        {"100%% %d %n %p %x%", "100% %d %n %p %x%"},
        {"%s%%s", "n%s"},
        {"", ""},
    };
    for (const Case& c : cases) {
        const char* format = c.format;
        EXPECT_EQ(Str(One([format] { return FormatText(40, D(format), "n", "4"); })), c.result) << c.format;
    }
    std::uint16_t m = DynMark();
    StrDesc r = FormatText(5, S("%s!"), "abcde");
    EXPECT_TRUE(r.IsError());
    EXPECT_EQ(r.len, 146);
    EXPECT_EQ(DynMark(), m);
}

TEST_F(TextValuesArena, BufPutStopsAtCapacityForGood) {
    TextBuffer buf = TextBufferNew(kOwnerBuffers, 8);
    ASSERT_NE(buf.block, nullptr);
    EXPECT_EQ(Str(BufPut(buf, S("abc"), 0xFFFF)), "abc");
    EXPECT_EQ(Str(BufPut(buf, S("de"), 0xFFFF)), "de");
    EXPECT_EQ(Str(BufPut(buf, S("X"), 1)), "X");
    EXPECT_EQ(buf.length, 5);
    EXPECT_EQ(std::string(buf.block, buf.length), "aXcde");
    EXPECT_EQ(BufPut(buf, S("fghi"), 0xFFFF).len, 0);
    EXPECT_EQ(buf.error, 153);
    EXPECT_EQ(BufPut(buf, S("f"), 0xFFFF).len, 0);  // the error stays recorded
    EXPECT_EQ(buf.length, 5);
    EXPECT_EQ(AreaFree(kOwnerBuffers, buf.block), 0);
}

}  // namespace
}  // namespace rt
