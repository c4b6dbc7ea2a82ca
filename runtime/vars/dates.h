// Dates and times as texts. A date text is "YYYYMMDD" and its value the integer YYYYMMDD; a time is
// the number of milliseconds since midnight. Today and now come from the local clock.
// A date is valid by the Gregorian calendar: year 0..9999, month 1..12, and February has 29 days in
// the years divisible by 4 except the century years not divisible by 400.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// The codes of date parts and shifts.
enum DateCode : std::uint16_t { kDateDay = 1, kDateMonth = 2, kDateYear = 4, kDateValue = 15 };
// The code of a letter 'D', 'M', 'Y' or 'V' (either case); 0 for any other.
std::uint16_t DateCodeOf(char letter);

bool DateValid(int year, int month, int day);
int DateMonthLength(int year, int month);
// Today's date text on DynStrings.
StrDesc DateToday();

// A typed date ("5/3/25", "05-03-2025", "050325", "20250305") as its date text, in the language's
// order of day and month; the empty text when invalid. An empty text gives today (eight blanks
// when bit 64 of _AUXSTAT is set); a text without separators other than six characters is kept.
StrDesc DateParse(StrDesc text);
// Sets bit 64 of _AUXSTAT while it lives and then puts it back as it was, so that the dates a read or
// a transfer moves keep an empty value empty instead of turning it into today.
class EmptyDatesStay {
public:
    EmptyDatesStay();
    ~EmptyDatesStay();
    EmptyDatesStay(const EmptyDatesStay&) = delete;
    EmptyDatesStay& operator=(const EmptyDatesStay&) = delete;

private:
    bool was_;
};

// A date text shown by mode: 0 unchanged, 1 "DD-MM-YY" and 2 "DD-MM-YYYY" in the language's order,
// 3 the month name cut to three characters and the year, 4 the language's long date. An invalid date
// gives 8 blanks (mode 1), 10 (mode 2) or the empty text. A text with '-', '.' or '/' is read with
// DateParse first; an empty one is today unless bit 64 of _AUXSTAT is set.
StrDesc DateShow(StrDesc date, std::uint16_t mode);
// Day, month, year or the whole value of a date text; 0 for any other code.
std::int32_t DatePart(StrDesc date, std::uint16_t code);
// An amount of 10001 or more is a second date: the difference in days (counted with 365-day years),
// months or years. A smaller amount is added as days, months or years, giving the new date's value.
std::int64_t DateShift(StrDesc date, std::int64_t amount, std::uint16_t code);

// Milliseconds since midnight now.
std::int64_t TimeNow();
// "[[h:]m:]s[.fff]": the last part is the seconds; an empty text is now.
std::int64_t TimeParse(StrDesc text);
// "HHMM" with bit 1 ':' between the parts, bit 2 the seconds, bit 4 '.' and milliseconds.
StrDesc TimeShow(std::int64_t ms, std::uint16_t mode);

}  // namespace rt
