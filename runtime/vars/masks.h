// Edit masks and the conversion of values into a field's stored form and shown form.
//
// A mask holds placeholders: '#' a digit or a space, '0' a digit or '0', ',' the thousands character,
// '.' the decimal point, '\' any character taken in order, '?' any character taken at its own
// position; every other character (and anything inside quotes) is literal.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// Mask modes: a number edited with the fixed '.' and ',', characters filled only, or a number edited
// with the language's characters when the value is a number text (any other mode).
constexpr std::uint16_t kMaskFixed = 1;
constexpr std::uint16_t kMaskChars = 0;
constexpr std::uint16_t kMaskLanguage = 255;

// A width of -1 (or 0xFFFF) asks for no fitting.
constexpr int kNoFit = -1;

// True for a numeric field type: 'N', or any byte below 'A' ('0'..'9' give the decimal places).
// 'L' is a text for masks and edits, and is stored right-aligned like a number.
bool IsNumericType(char type);

// The mask applied to value, on DynStrings.
StrDesc MaskApply(StrDesc mask, StrDesc value, std::uint16_t mode);
// The default mask of a field: width '\' (text types) or '#' (numbers); a type '1'..'9' has its
// decimal point so that the type's digit count of decimal places follows it ("#####.##").
StrDesc MaskDefault(char type, std::uint16_t width);

// A typed number text cleaned with the language's characters: blanks trimmed, at most 20 number
// characters taken, the decimal character read as '.', leading zeros dropped ("12,50 EUR" in Spanish
// gives "12.50").
StrDesc NumClean(StrDesc text);

// The stored form of an entered or imported text for a field of that type and width; the error
// descriptor 168 when a number's integer part does not fit the width.
StrDesc FieldToStore(char type, StrDesc text, int width);
// The stored form fitted to the width (the last step of FieldToStore).
StrDesc FieldFit(char type, StrDesc text, int width);
// The shown form of a stored text.
StrDesc FieldToShow(char type, StrDesc stored, int width);

}  // namespace rt
