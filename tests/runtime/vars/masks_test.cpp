// Edit masks and the stored and shown forms of field values, under the Spanish locale record that
// start-up builds and under an English one.
#include "runtime/vars/masks.h"

#include <string>

#include "runtime/env/catalog.h"
#include "runtime/vars/format_desc.h"
#include "runtime/vars/variables.h"
#include "tests/runtime/vars/locale_fixture.h"
#include "tests/support/runtime_fixture.h"

namespace rt {
namespace {

using test::D;
using test::Str;

class MaskTest : public test::LocaleTest {
protected:
    static std::string Apply(const std::string& mask, const std::string& value, std::uint16_t mode) {
        DynScope scope;
        return Str(MaskApply(D(mask), D(value), mode));
    }
    static std::string Store(char type, const std::string& text, int width) {
        DynScope scope;
        return Str(FieldToStore(type, D(text), width));
    }
    static std::string Show(char type, const std::string& stored, int width) {
        DynScope scope;
        return Str(FieldToShow(type, D(stored), width));
    }
};

struct MaskCase {
    const char* mask;
    const char* value;
    const char* want;
};

TEST_F(MaskTest, SpanishDescriptorIsReadFromTheLocaleRecord) {
    FormatDescriptor f = FormatCurrent();
    EXPECT_EQ(f.decimal, ',');
    EXPECT_EQ(f.thousands, '.');
    EXPECT_EQ(f.number_chars, "0123456789,-D");
    EXPECT_EQ(std::string(f.letters, 3), " NS");
    EXPECT_EQ(f.words[0], "  ");
    EXPECT_EQ(f.words[1], "NO");
    EXPECT_EQ(f.words[2], "SI");
    EXPECT_EQ(FormatMonthName(3), "Marzo");
    EXPECT_EQ(FormatLongDatePattern(), "[D] de [M] de [Y]");
    EXPECT_EQ(FormatFixed().decimal, '.');
    EXPECT_EQ(FormatFixed().words[2], "YES");
}

TEST_F(MaskTest, NumberEditWithFixedSeparators) {
    const MaskCase cases[] = {
        {"#####.##", "12.5", "   12.50"},
        {"#####.##", ".5", "    0.50"},
        {"#####.##", "-3.25", "   -3.25"},
        {"#,###.##", "1234.5", "1,234.50"},
        {"#,##0", "", "    0"},
        {"###.##", "", "      "},
        {"##.##", "2.345", " 2.35"},
        {"0000", "12", "0012"},
        {"##.##", "9.999", "10.00"},        // rounding carries into the integer part
        {"#####.##", "-0", "    0.00"},     // no negative zero
        {"###", "-5", " -5"},
        {"#,##0", "-5", "   -5"},
        {"Total: ##.## EUR", "3.5", "Total:  3.50 EUR"},  // literals around the number stay
    };
    for (const MaskCase& c : cases) EXPECT_EQ(Apply(c.mask, c.value, kMaskFixed), c.want) << c.mask << " / " << c.value;
}

TEST_F(MaskTest, NumberEditWidensBeforeItOverflows) {
    const MaskCase cases[] = {
        {"#,###.##", "12345.5", "12345.50"},  // the thousands place takes a digit
        {"#####.##", "123456.7", "123456.7"},  // one decimal given up
        {"#####.##", "1234567", " 1234567"},   // both decimals and the point given up
        {"#.##", "-0.5", "-0.5"},              // the sign needs a place of its own
        {"###", "12345", "12345"},             // digits that find no place are kept in front
        // A negative value that overflows keeps its sign in front of the digits that found no place.
        {"#", "-12", "-12"},
        {"#", "-5", "-5"},
        {"###", "-12345", "-12345"},
        {"$##", "-1234", "$-1234"},
        {"#,###.##", "-123456.5", " -123457"},  // widened, the sign counted
    };
    for (const MaskCase& c : cases) EXPECT_EQ(Apply(c.mask, c.value, kMaskFixed), c.want) << c.mask << " / " << c.value;
}

TEST_F(MaskTest, LanguageModeUsesSpanishCharactersForNumberTexts) {
    EXPECT_EQ(Apply("#,###.##", "1234.5", kMaskLanguage), "1.234,50");
    EXPECT_EQ(Apply("#####.##", "12.5", kMaskLanguage), "   12,50");
    EXPECT_EQ(Apply("#####", "abc", kMaskLanguage), "#####");  // not a number text: the mask itself
    EXPECT_EQ(Apply("##.##", "12", kMaskChars), "##.##");      // characters only, no character places
}

TEST_F(MaskTest, CharacterFill) {
    const MaskCase cases[] = {
        {"\\\\\\-\\\\", "12345", "123-45"},
        {"\\\\trans.ppn", "LS", "LStrans.ppn"},
        {"\\    \\", "abcdefgh", "abcdef"},  // a blank run between two backslashes stands for places
        {"?\?-?\?", "abcde", "ab-de"},         // '?' takes the character at its own position
        {"\\\\-\\\\", "1", "1 -  "},          // places without a character become blanks
        {"'\\#'\\\\", "xy", "'\\#'xy"},       // quoted sections are literal
        {"no places", "xy", "no places"},
    };
    for (const MaskCase& c : cases) EXPECT_EQ(Apply(c.mask, c.value, kMaskChars), c.want) << c.mask << " / " << c.value;
}

TEST_F(MaskTest, DefaultMasks) {
    DynScope scope;
    EXPECT_EQ(Str(MaskDefault('2', 8)), "#####.##");
    EXPECT_EQ(Str(MaskDefault('N', 5)), "#####");
    EXPECT_EQ(Str(MaskDefault('A', 3)), "\\\\\\");
    EXPECT_EQ(Str(MaskDefault('9', 5)), "#####");  // no room for the point
}

TEST_F(MaskTest, CleaningTypedNumbersInSpanish) {
    const MaskCase cases[] = {
        {"", "-0,75", "-0.75"}, {"", "007", "7"},           {"", "0,5", "0.5"}, {"", "12,50 EUR", "12.50"},
        {"", "1.234,5", "1.234.5"}, {"", "  42  ", "42"}, {"", "5-3", "5"},   {"", "0", "0"},
        {"", "123456789012345678901234", "12345678901234567890"},
    };
    for (const MaskCase& c : cases) {
        DynScope scope;
        EXPECT_EQ(Str(NumClean(StrFromC(c.value))), c.want) << c.value;
    }
}

TEST_F(MaskTest, StoredForms) {
    struct Case { char type; const char* text; int width; const char* want; };
    const Case cases[] = {
        {'2', "12,5", 8, "   12.50"},
        {'2', "-0,75", 8, "   -0.75"},
        {'2', "12345678", 8, "12345678"},  // the decimals give way to the integer digits
        {'2', "12,5", kNoFit, "12.50"},
        {'N', "007", 5, "    7"},
        {'N', "2,5", 3, "  3"},
        {'L', "S", 1, "1"},
        {'L', "n", 1, "0"},
        {'L', "x", 1, " "},
        {'L', "", 1, " "},
        {'B', "12-34 x", 6, "1234  "},
        {'C', "12", 5, "12000"},
        {'C', "", 3, "   "},
        {'D', "5/3/25", 8, "20250305"},
        {'D', "5/3/25", 6, "250305"},
        {'D', "31/02/25", 8, "        "},
        {'A', "abc", 5, "abc  "},
        {'A', "abcdef", 3, "abc"},
        {'T', "xx", 3, "   "},
    };
    for (const Case& c : cases) EXPECT_EQ(Store(c.type, c.text, c.width), c.want) << c.type << " / " << c.text;
}

TEST_F(MaskTest, NumbersWhoseIntegerPartDoesNotFitFail) {
    DynScope scope;
    StrDesc r = FieldToStore('2', S("123456789"), 8);
    ASSERT_TRUE(r.IsError());
    EXPECT_EQ(r.len, 168);
    EXPECT_EQ(FieldFit('N', S("1234567"), 5).len, 168);
    EXPECT_TRUE(FieldFit('N', S("1234567"), 5).IsError());
    EXPECT_EQ(Str(FieldFit('2', S("123.456"), 6)), "123.46");  // only decimals too many: fewer decimals
    EXPECT_EQ(Str(FieldFit('2', S("99.96"), 3)), "100");
}

TEST_F(MaskTest, ShownFormsInSpanish) {
    struct Case { char type; const char* stored; int width; const char* want; };
    const Case cases[] = {
        {'2', "   12.50", 8, "   12,50"},
        {'2', "1234.5", 8, " 1234,50"},
        {'N', "    7", 5, "    7"},
        {'L', "1", 1, "SI"},
        {'L', "0", 3, "NO "},
        {'L', " ", 2, "  "},
        {'L', "?", 2, "NO"},
        {'D', "20250305", 8, "05-03-25"},
        {'D', "20250305", 10, "05-03-2025"},
        {'D', "20250305", 6, "      "},
        {'F', "        ", 8, "        "},
        {'A', "abc", 5, "abc  "},
    };
    for (const Case& c : cases) EXPECT_EQ(Show(c.type, c.stored, c.width), c.want) << c.type << " / " << c.stored;
}

TEST_F(MaskTest, EnglishDescriptor) {
    English();
    EXPECT_EQ(Store('2', "12.5", 8), "   12.50");
    EXPECT_EQ(Show('2', "   12.50", 8), "   12.50");
    EXPECT_EQ(Apply("#,###.##", "1234.5", kMaskLanguage), "1,234.50");
    EXPECT_EQ(Store('L', "y", 1), "1");
    EXPECT_EQ(Store('L', "S", 1), " ");
    EXPECT_EQ(Show('L', "1", 1), "YES");
}

}  // namespace
}  // namespace rt
