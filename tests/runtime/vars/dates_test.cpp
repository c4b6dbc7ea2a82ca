// Date and time texts: parsing in the language's order, showing, parts, arithmetic and times.
#include "runtime/vars/dates.h"

#include <string>

#include "platform/process.h"
#include "runtime/env/catalog.h"
#include "runtime/vars/var_system.h"
#include "runtime/vars/variables.h"
#include "tests/runtime/vars/locale_fixture.h"
#include "tests/support/runtime_fixture.h"

namespace rt {
namespace {

using test::D;
using test::Str;

class DateTest : public test::LocaleTest {
protected:
    static std::string Parse(const std::string& text) {
        DynScope scope;
        return Str(DateParse(D(text)));
    }
    static std::string Show(const std::string& date, std::uint16_t mode) {
        DynScope scope;
        return Str(DateShow(D(date), mode));
    }
    static std::string Today() {
        DynScope scope;
        return Str(DateToday());
    }
};

struct TextCase {
    const char* text;
    const char* want;
};

TEST_F(DateTest, ParseInSpanishOrder) {
    const TextCase cases[] = {
        {"5/3/25", "20250305"},     {"050325", "20250305"},     {"05-03-2025", "20250305"},
        {"5.3.85", "19850305"},     {"20250305", "20250305"},   {" 5/3/25 ", "20250305"},
        {"31/02/25", ""},           {"31/04/2025", ""},         {"5/13/2025", ""},
        {"0/3/25", ""},             {"5/0/25", ""},             {"5/3/", ""},
        {"5/3", ""},                {"a/b/c", ""},              {"1/1/10000", ""},
        {"29/02/2024", "20240229"}, {"29/02/2025", ""},
        // Gregorian leap years: century years only when divisible by 400.
        {"29/02/2000", "20000229"}, {"29/02/2100", ""},         {"29/02/1900", ""},
    };
    for (const TextCase& c : cases) EXPECT_EQ(Parse(c.text), c.want) << c.text;
}

TEST_F(DateTest, TwoDigitYearsFollowBaseYearAndPivot) {
    EXPECT_EQ(Parse("1/1/79"), "20790101");
    EXPECT_EQ(Parse("1/1/80"), "19800101");
    ASSERT_EQ(SysVarSet(kSysBYear, 1900), 0);
    ASSERT_EQ(SysVarSet(kSysBkYear, 50), 0);
    EXPECT_EQ(Parse("1/1/49"), "19490101");
    EXPECT_EQ(Parse("1/1/50"), "18500101");
}

TEST_F(DateTest, ParseInEnglishOrder) {
    English();
    EXPECT_EQ(Parse("5/3/25"), "20250503");
    EXPECT_EQ(Parse("050325"), "20250305");  // six digits are always day, month, year
    EXPECT_EQ(Parse("2/29/2100"), "");
    EXPECT_EQ(Parse("2/29/2000"), "20000229");
}

// German writes the day first, as Spanish does; only English puts the month first.
TEST_F(DateTest, GermanOrderIsDayFirst) {
    test::SetLocale("DE", ",.'0123456789,-D',' NJ','  ,NEIN,JA'",
              "'Januar,Februar,M\xE4rz,April,Mai,Juni,Juli,August,September,Oktober,November,Dezember',"
              "'[D]. [M] [Y]'");
    EXPECT_EQ(Parse("5.3.25"), "20250305");
    EXPECT_EQ(Show("20250305", 2), "05-03-2025");
    EXPECT_EQ(Show("20250305", 4), "05. M\xE4rz 2025");
}

TEST_F(DateTest, EmptyTextIsTodayUnlessTheOptionBitIsSet) {
    PlatformDateTime now = PlatformNow();
    char want[16];
    std::snprintf(want, sizeof want, "%04d%02d%02d", now.year, now.month, now.day);
    EXPECT_EQ(Today(), want);
    EXPECT_EQ(Parse(""), Today());
    EXPECT_EQ(Show("", 0), Today());
    ASSERT_EQ(SysVarSet(kSysAuxStat, 64), 0);
    EXPECT_EQ(Parse(""), "        ");
    EXPECT_EQ(Show("", 1), "        ");
}

TEST_F(DateTest, ShowModes) {
    struct Case { const char* date; std::uint16_t mode; const char* want; };
    const Case cases[] = {
        {"20250305", 0, "20250305"},   {"20250305", 1, "05-03-25"}, {"20250305", 2, "05-03-2025"},
        {"20250305", 3, "Mar 2025"},   {"20250305", 4, "05 de Marzo de 2025"},
        {"20250305", 5, ""},           {"5/3/25", 2, "05-03-2025"},
        {"20250231", 0, ""},           {"20250231", 1, "        "},  {"20250231", 2, "          "},
        {"20250231", 3, ""},           {"garbage", 1, "        "},  {"21000229", 2, "          "},
    };
    for (const auto& c : cases) EXPECT_EQ(Show(c.date, c.mode), c.want) << c.date << " mode " << c.mode;
}

TEST_F(DateTest, ShowModesInEnglish) {
    English();
    EXPECT_EQ(Show("20250305", 1), "03-05-25");
    EXPECT_EQ(Show("20250305", 2), "03-05-2025");
    EXPECT_EQ(Show("20250305", 3), "Mar 2025");
    EXPECT_EQ(Show("20250305", 4), "March 05, 2025");
}

TEST_F(DateTest, Parts) {
    EXPECT_EQ(DatePart(S("20250305"), kDateDay), 5);
    EXPECT_EQ(DatePart(S("20250305"), kDateMonth), 3);
    EXPECT_EQ(DatePart(S("20250305"), kDateYear), 2025);
    EXPECT_EQ(DatePart(S("20250305"), kDateValue), 20250305);
    EXPECT_EQ(DatePart(S("20250305"), 3), 0);
    EXPECT_EQ(DateCodeOf('m'), kDateMonth);
    EXPECT_EQ(DateCodeOf('V'), kDateValue);
    EXPECT_EQ(DateCodeOf('x'), 0);
}

TEST_F(DateTest, Shifts) {
    struct Case { const char* date; std::int64_t amount; std::uint16_t code; std::int64_t want; };
    const Case cases[] = {
        {"20250131", 1, kDateMonth, 20250228},    // the day shrinks to the new month
        {"20240131", 1, kDateMonth, 20240229},
        {"20251115", 3, kDateMonth, 20260215},
        {"20250115", -1, kDateMonth, 20241215},
        {"20250115", -25, kDateMonth, 20221215},
        {"20241231", 1, kDateDay, 20250101},
        {"20250301", -1, kDateDay, 20250228},
        {"20240301", -1, kDateDay, 20240229},
        {"21000301", -1, kDateDay, 21000228},
        {"20250305", 365, kDateDay, 20260305},
        {"20240229", 1, kDateYear, 20250301},     // days beyond the month carry into the next
        {"20250305", -5, kDateYear, 20200305},
        {"20250305", 7, kDateValue, 20250305},
        // A second date: differences.
        {"20250305", 20250101, kDateMonth, 2},
        {"20250305", 20231201, kDateMonth, 15},
        {"20250305", 20240305, kDateYear, 1},
        {"20250305", 20250101, kDateDay, 63},
        {"20250101", 20241231, kDateDay, 1},
        {"20250305", 20250101, kDateValue, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DateShift(StrFromC(c.date), c.amount, c.code), c.want) << c.date << " " << c.amount << " " << c.code;
    // Amounts far out of range stay bounded and never hang.
    EXPECT_LT(DateShift(S("20250305"), -9000000000000000000LL, kDateDay), 0);
}

TEST_F(DateTest, TimesParseAndShow) {
    struct Case { const char* text; std::int64_t want; };
    const Case cases[] = {
        {"12:30", 750000},          // minutes and seconds
        {"1:02:03.5", 3723500},     {".25", 250},     {"45", 45000},
        {"09:30:15.250", 34215250}, {"0:0:1.1234", 1123},
    };
    for (const Case& c : cases) EXPECT_EQ(TimeParse(StrFromC(c.text)), c.want) << c.text;
    std::int64_t now = TimeParse(S(""));
    EXPECT_GE(now, 0);
    EXPECT_LT(now, 86400000);

    DynScope scope;
    EXPECT_EQ(Str(TimeShow(34215250, 0)), "0930");
    EXPECT_EQ(Str(TimeShow(34215250, 1)), "09:30");
    EXPECT_EQ(Str(TimeShow(34215250, 3)), "09:30:15");
    EXPECT_EQ(Str(TimeShow(34215250, 7)), "09:30:15.250");
    EXPECT_EQ(Str(TimeShow(-5, 1)), "00:00");
}

}  // namespace
}  // namespace rt
