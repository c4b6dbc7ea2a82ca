// The language's conventions for numbers, logical values and dates. Start-up stores them in string
// slot (0, 0): the number-and-logical descriptor, a NUL, the month names with the long-date pattern,
// a NUL and a blank. Storing values always uses the fixed built-in conventions; showing them uses
// the language's.
#pragma once
#include <string>
#include "runtime/text/str_desc.h"

namespace rt {

// The built-in descriptor: decimal '.', thousands ',', number characters, logical letters and words.
constexpr const char* kFormatDefaultText = ".,'0123456789.-D',' NY','  ,NO,YES'";

struct FormatDescriptor {
    char decimal = '.';
    char thousands = ',';
    std::string number_chars;  // the characters a typed number may hold
    char letters[3] = {' ', 'N', 'Y'};  // logical letters: blank, false, true
    std::string words[3];               // logical words: blank, false, true
};

// Reads a descriptor text; parts it lacks keep the built-in values.
FormatDescriptor FormatParse(StrDesc text);
// The fixed conventions used for stored values.
const FormatDescriptor& FormatFixed();
// The language's conventions: the first part of slot (0, 0), or the built-in ones when it is empty.
FormatDescriptor FormatCurrent();

// Month name 1..12 from the second part of slot (0, 0); English names when the slot has none.
std::string FormatMonthName(int month);
// The long-date pattern with [D], [M] and [Y]; "[D] [M] [Y]" when the slot has none.
std::string FormatLongDatePattern();
// True when the language writes the day before the month (ES, FR, DE and IT).
bool FormatDayFirst();

}  // namespace rt
