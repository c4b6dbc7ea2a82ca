// The few number conversions the variable store needs, kept in one place so that the number
// module can take them over: the scale, rounding to an integer, the arena form of a number,
// and reading and writing number texts.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// A number held as a signed 64-bit integer scaled by 10 to the power _PRECIS.
using FixedNumber = std::int64_t;

// The scale: _PRECIS factors 10 multiplied as an unsigned 16-bit value (only 0..4 are exact).
std::uint16_t VarNumScale();
// n / d rounded to the nearest integer, halves away from zero; 0 when d is 0.
std::int64_t VarNumRoundDiv(std::int64_t n, std::int64_t d);
// The integer value of a number: rounded division by the scale.
std::int64_t VarNumInteger(FixedNumber n);

// A number on DynStrings is its eight bytes, little-endian.
ErrCode VarNumPush(FixedNumber n);
// An arena entry read as a number: empty 0, eight bytes the number, any other length -1.
FixedNumber VarNumFromEntry(StrDesc entry);

// Reads a number text: blanks trimmed, "D<n>" appends n zeros, decimals beyond _PRECIS rounded.
FixedNumber VarNumRead(StrDesc text);
// The canonical text on DynStrings: no trailing decimal zeros, ".5" for one half, "" for zero.
StrDesc VarNumText(FixedNumber n);

}  // namespace rt
