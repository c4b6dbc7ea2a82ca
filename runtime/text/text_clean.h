// Cleaning, case and byte mapping of texts, and the small number helpers that read user values.
// Trim and Unquote give a narrower view of their input; the other text operations build their
// result on DynStrings and leave exactly that one allocation above the caller's mark.
// An error descriptor given as input is passed on as the result.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"
#include "runtime/text/text_search.h"

namespace rt {

// Which ends Trim works on.
enum TrimEnds : std::uint8_t { kTrimLeft = 1, kTrimRight = 2, kTrimBoth = 3 };

// Without leading and/or trailing blanks and tabs (in place).
StrDesc Trim(StrDesc text, std::uint8_t ends);
// Without leading and/or trailing bytes of set (in place).
StrDesc TrimSet(StrDesc text, std::uint8_t ends, StrDesc set);
// Without the enclosing quotes when the text (2 bytes or more) starts and ends with the same quote.
StrDesc Unquote(StrDesc text);

// The standard cleaning of user-given values: Unquote(Trim(text, 3)); a value that was neither
// padded nor quoted is taken case-insensitively and comes back upper-cased. Always a copy.
StrDesc CleanValue(StrDesc text);

// Modes of CaseFold.
enum CaseMode : int {
    kCaseLower = 0,
    kCaseUpper = 1,
};
// Copy in upper case (kCaseUpper) or lower case (any other mode); only ASCII letters change.
StrDesc CaseFold(StrDesc text, int mode);
// Copy in which every run of byte (found with mode) is reduced to one byte.
StrDesc Collapse(StrDesc text, unsigned char byte, SearchMode mode);
// Copy keeping only the bytes that occur in set.
StrDesc KeepChars(StrDesc text, StrDesc set);
// Copy in which a byte found at position k of from becomes byte k of to (kept when to is shorter).
StrDesc MapChars(StrDesc text, StrDesc from, StrDesc to);
// sequences holds n sequences of equal length; each occurrence of sequence k becomes byte k of chars.
StrDesc MapSeqs(StrDesc text, StrDesc sequences, std::uint16_t n, StrDesc chars);

// True when the text in upper case is one of "YES,SI,Y,S,ON".
bool IsYes(StrDesc text);
// 1 for a yes-word; else the leading decimal integer (leading white space, optional sign, digits),
// 0 when there is none, taken to 16 bits.
std::int16_t StrToNum(StrDesc text);

inline std::int32_t NonZeroOr(std::int32_t a, std::int32_t b) { return a != 0 ? a : b; }
inline std::int16_t MaxI16(std::int16_t a, std::int16_t b) { return a > b ? a : b; }
inline std::int16_t MinI16(std::int16_t a, std::int16_t b) { return a < b ? a : b; }

}  // namespace rt
