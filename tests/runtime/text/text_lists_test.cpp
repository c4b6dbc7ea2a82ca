// Quote-aware searching and separated lists.
#include <gtest/gtest.h>

#include "runtime/text/dyn_strings.h"
#include "runtime/text/text_lists.h"
#include "runtime/text/text_search.h"
#include "tests/support/runtime_fixture.h"

namespace rt {
namespace {

using test::D;
using test::Str;

TEST(TextSearch, FindCharSkipsQuotedSections) {
    struct Case { const char* text; std::uint16_t start; char byte; SearchMode mode; std::uint16_t want; };
    const Case cases[] = {
        {"x'a,b',c", 0, ',', kQuoteAware, 6},
        {"x'a,b',c", 0, ',', kExact, 3},
        {"a\"x,'y\",b", 0, ',', kQuoteAware, 7},   // the other quote inside a section is plain text
        {"a,'b,c", 2, ',', kQuoteAware, kNone},    // an unclosed quote hides the rest
        {"a'b'c", 0, '\'', kQuoteAware, kNone},     // quotes themselves are never found
        {"abc", 3, 'c', kExact, kNone},
        {"a,b,c", 2, ',', kQuoteAware, 3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindChar(D(c.text), c.start, c.byte, c.mode), c.want) << c.text << " from " << c.start;
    EXPECT_EQ(FindChar(StrError(163), 0, 'a', kExact), kNone);
}

TEST(TextSearch, TextSetAndLastSearches) {
    EXPECT_EQ(FindText(S("ab'abc'abc"), S("abc"), kQuoteAware), 7);
    EXPECT_EQ(FindText(S("ab'abc'abc"), S("abc"), kExact), 3);
    EXPECT_EQ(FindText(S("ab"), S("abc"), kExact), kNone);
    EXPECT_EQ(FindText(S("aab"), S("ab"), kExact), 1);  // a failed candidate resumes one byte further
    EXPECT_EQ(FindText(S("abc"), S(""), kExact), kNone);
    EXPECT_EQ(FindAny(S("x'=;'y;z"), 0, S(";="), kQuoteAware), 6);
    EXPECT_EQ(FindAny(S("x'=;'y;z"), 0, S(";="), kExact), 2);
    EXPECT_EQ(FindLast(S("a,b,'c,d'"), ',', kQuoteAware), 3);
    EXPECT_EQ(FindLast(S("a,b,'c,d'"), ',', kExact), 6);
    EXPECT_EQ(FindLastAny(S("a;b,c'x;'"), S(",;"), kQuoteAware), 3);
    EXPECT_EQ(FindLastText(S("abXXabXX'ab'"), S("ab"), kQuoteAware), 4);
    EXPECT_EQ(CountText(S("aaaa"), S("aa"), kExact), 2);  // non-overlapping
    EXPECT_EQ(CountText(S("a,b','c"), S(","), kQuoteAware), 1);
    EXPECT_EQ(FindNul(StrMake("ab\0c", 4)), 2);
    const std::uint32_t array[] = {7, 9, 11};
    const std::uint32_t nine = 9, five = 5;
    EXPECT_EQ(FindElement(array, 3, 4, &nine), 1);
    EXPECT_EQ(FindElement(array, 3, 4, &five), kNone);
}

TEST(TextLists, CountAndItems) {
    struct Case { const char* list; char sep; std::uint16_t count; std::uint16_t n; const char* item; };
    const Case cases[] = {
        {"a,'b,c',d", ',', 3, 2, "'b,c'"},
        {"a,b,", ',', 3, 3, ""},
        {"a,b,", ',', 3, 2, "b"},
        {"", ',', 0, 1, ""},
        {"a,b", ',', 2, 0, ""},
        {"a,b", ',', 2, 5, ""},
        {",", ',', 2, 1, ""},
        {"a,'x,", ',', 2, 2, "'x,"},   // a separator inside an unclosed quote ends nothing
        {"k\"=1:2\":z", ':', 2, 1, "k\"=1:2\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ItemCount(D(c.list), c.sep), c.count) << c.list;
        EXPECT_EQ(Str(Item(D(c.list), c.sep, c.n)), c.item) << c.list << " item " << c.n;
    }
    // A NUL separator is searched exactly, so quotes do not protect it.
    const StrDesc nulList = StrMake("a'\0b'\0c", 7);
    EXPECT_EQ(ItemCount(nulList, 0), 3);
    EXPECT_EQ(Str(Item(nulList, 0, 2)), "b'");

    ItemPos p = ItemSpan(S("ab,cde,f"), ',', 2);
    EXPECT_EQ(p.offset, 3);
    EXPECT_EQ(p.length, 3);
    EXPECT_EQ(ItemSpan(S("ab"), ',', 2).offset, kNone);
    EXPECT_EQ(Str(ItemRest(S("a,'b,c',d"), ',')), "'b,c',d");
    EXPECT_EQ(Str(ItemRest(S("abc"), ',')), "");
    EXPECT_EQ(Item(StrError(145), ',', 1).len, 145);
}

TEST(TextLists, IndexComparesBytes) {
    EXPECT_EQ(ItemIndex(S("YES,SI,Y,S,ON"), S("SI"), ','), 2);
    EXPECT_EQ(ItemIndex(S("YES,SI,Y,S,ON"), S("si"), ','), 0);
    EXPECT_EQ(ItemIndex(S("YES,SI,Y,S,ON"), S("S"), ','), 4);
    EXPECT_EQ(ItemIndex(S("a,,b"), S(""), ','), 2);
    EXPECT_EQ(ItemWidth(S("ab,'xyz',c"), ',', false), 3);
    EXPECT_EQ(ItemWidth(S("ab,'xyz',c"), ',', true), 1);
    EXPECT_EQ(ItemWidth(S(""), ',', true), 0);
}

TEST(TextLists, RangeIndex) {
    struct Case { const char* list; std::int64_t value; std::uint16_t want; };
    const Case cases[] = {
        {"1-5,10-20", 10, 2}, {"1-5,10-20", 5, 1}, {"1-5,10-20", 7, 0},
        {"-10-5,20-30", -7, 1}, {"-10-5,20-30", 6, 0}, {"7", 7, 1}, {"-4", -4, 1},
        {"1-9999999999", 5000000000LL, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(RangeIndex(D(c.list), c.value), c.want) << c.list << " " << c.value;
}

class TextListsArena : public test::RuntimeTest {};

TEST_F(TextListsArena, ItemSetVariants) {
    struct Case { const char* list; int n; const char* text; const char* want; };
    const Case cases[] = {
        {"a", 3, "x", "a,,x"},
        {"", 3, "x", ",,x"},
        {"", 1, "x", "x"},
        {"a,b,", 4, "x", "a,b,,x"},
        {"a,b,c", 2, "XY", "a,XY,c"},
        {"a,'b,c',d", 3, "x", "a,'b,c',x"},
        {"a,b,c", 0, "x", "a,b,c,x"},
        {"", 0, "x", "x"},
        {"a,b,c", -2, "", "a,c"},
        {"a,b,c", -1, "", "b,c"},
        {"a,b,c", -3, "", "a,b"},
        {"a", -1, "", ""},
        {"a,b", -5, "", "a,b"},
    };
    for (const Case& c : cases) {
        std::uint16_t m = DynMark();
        EXPECT_EQ(Str(ItemSet(D(c.list), ',', c.n, D(c.text))), c.want) << c.list << " n=" << c.n;
        EXPECT_EQ(DynMark(), m + 1) << c.list << " n=" << c.n;
        DynRelease(m);
    }
    EXPECT_EQ(ItemSet(S("a"), ',', 1, StrError(163)).len, 163);
}

TEST_F(TextListsArena, MergeMinusJoinAndNumbers) {
    std::uint16_t m = DynMark();
    EXPECT_EQ(Str(ListMerge(S("a,b"), ',', S("b;c;c;;d"), ';')), "a,b,c,d");
    EXPECT_EQ(DynMark(), m + 1);
    DynRelease(m);
    EXPECT_EQ(Str(ListMerge(S(""), ',', S("x;y"), ';')), "x,y");
    EXPECT_EQ(Str(ListMinus(S("a,b,c,d"), ',', S("b d"), ' ')), "a,c");
    EXPECT_EQ(DynMark(), m + 2);
    EXPECT_EQ(Str(ListMinus(S("a,b"), ',', S("a,b"), ',')), "");
    DynRelease(m);

    EXPECT_EQ(Str(JoinEq(S("USER"), S("ana"))), "USER=ana");
    EXPECT_EQ(DynMark(), m + 1);
    EXPECT_EQ(JoinEq(S(""), S("x")).len, 163);
    EXPECT_EQ(JoinEq(S("x"), S("")).len, 163);
    EXPECT_TRUE(JoinEq(S("x"), S("")).IsError());

    EXPECT_EQ(ItemNum(S("a, 12 ,'si',YES"), ',', 2), 12);
    EXPECT_EQ(ItemNum(S("a, 12 ,'si',YES"), ',', 3), 1);  // quoted keeps its case; IsYes ignores case
    EXPECT_EQ(ItemNum(S("a, 12 ,'si',YES"), ',', 4), 1);
    EXPECT_EQ(ItemNum(S("a, 12 ,'si',YES"), ',', 9), 0);
    EXPECT_EQ(DynMark(), m + 1);  // ItemNum keeps nothing
}

}  // namespace
}  // namespace rt
