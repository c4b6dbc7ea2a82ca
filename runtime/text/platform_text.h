// Crossing between runtime text (Windows-1252 bytes) and platform text (UTF-16 code units).
// The conversion is lossless for every Windows-1252 byte: accented letters stay accented, 0x80-0x9F
// become their Windows-1252 characters (0x80 is the euro sign) and the five bytes that code page
// leaves undefined keep their own code point. A character Windows-1252 cannot hold comes back as '?'.
#pragma once
#include <cstddef>
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// The code unit of one Windows-1252 byte.
char16_t Cp1252ToUnit(unsigned char byte);
// The Windows-1252 byte of one code unit, '?' when the code page has no such character.
unsigned char UnitToCp1252(char16_t unit);

// A NUL-terminated platform text on DynStrings (one allocation above the caller's mark), for handing
// to a platform call. An error descriptor gives a static empty text; a text longer than 32,766 bytes
// (the most one allocation holds in code units) is cut there.
const char16_t* ToPlatform(StrDesc text);
// Runtime text on DynStrings from count code units; a surrogate pair becomes one '?'. More than
// 65,535 resulting bytes give the error descriptor 146.
StrDesc FromPlatform(const char16_t* units, std::size_t count);
// The same for a NUL-terminated platform text.
StrDesc FromPlatform(const char16_t* text);

// Narrows a buffer of little-endian 16-bit units in place to one Windows-1252 byte per character and
// gives the narrowed bytes (half as many, fewer for surrogate pairs; an odd last byte is dropped).
StrDesc NarrowPairs(StrDesc units);

}  // namespace rt
