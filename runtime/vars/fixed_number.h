// Fixed-point numbers: a signed 64-bit integer holding the value times 10 to the power _PRECIS.
// Every rounding rounds halves away from zero; a division by zero gives 0; results beyond the
// 64-bit range are held at its ends instead of wrapping.
#pragma once
#include <cstdint>
#include <string>
#include "runtime/text/str_desc.h"

namespace rt {

using FixedNumber = std::int64_t;

// The number of decimals: _PRECIS held to 0..18 (the widest power of ten a 64-bit value holds).
int NumDecimals();
// 10 to the power k for k in 0..18; 0 outside that range.
std::int64_t NumPow10(int k);
// The scale S = 10^NumDecimals().
std::int64_t NumScale();

// n / d rounded to the nearest integer, halves away from zero; 0 when d is 0.
std::int64_t NumRoundDiv(std::int64_t n, std::int64_t d);
// A value with `from` decimals brought to `to` decimals: multiplied when to > from; otherwise rounded
// to a multiple of 10^(from - to) and left at the old scale (235 from 2 to 1 decimal gives 240).
FixedNumber NumRescale(FixedNumber n, int from, int to);
// The integer value: the number divided by S, rounded (2.5 gives 3, -2.5 gives -3).
std::int64_t NumInteger(FixedNumber n);
// The number of an integer (i times S).
FixedNumber NumFromInteger(std::int64_t i);

// The arithmetic operators of expressions.
FixedNumber NumAdd(FixedNumber a, FixedNumber b);      // a + b
FixedNumber NumSub(FixedNumber a, FixedNumber b);      // a - b
FixedNumber NumMul(FixedNumber a, FixedNumber b);      // a * b / S
FixedNumber NumDiv(FixedNumber a, FixedNumber b);      // a * S / b, 0 when b is 0
FixedNumber NumPercent(FixedNumber a, FixedNumber b);  // b percent of a, rounded at each division
FixedNumber NumRoundTo(FixedNumber a, FixedNumber b);  // a rounded to (integer part of b) decimals

// Reads a number text with the given number of decimals: blanks trimmed, "D<n>" stands for n zero
// digits, decimals beyond the scale rounded. A text with foreign characters in its integer part gives
// the value of its leading digits; the empty text gives 0.
FixedNumber NumReadDecimals(StrDesc text, int decimals);
// The text with its first "D<n>" replaced by n zero digits (at most 20).
std::string NumExpandZeros(std::string text);
FixedNumber NumRead(StrDesc text);

// The canonical text on DynStrings: "-" when negative, no trailing decimal zeros, no point without
// decimals, nothing before the point below 1 (".5"), the empty text for zero.
StrDesc NumTextDecimals(FixedNumber n, int decimals);
StrDesc NumText(FixedNumber n);

}  // namespace rt
