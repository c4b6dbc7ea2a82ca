// Searching inside texts, exactly or skipping quoted sections. Positions are 0-based byte offsets;
// kNone (0xFFFF) means not found. An error descriptor is searched as an empty text.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// Quote-aware searches do not see the bytes of a quoted section: one that starts at a single or
// double quote and ends at the next occurrence of the same quote (or runs to the end of the text).
// They therefore never find a quote character itself.
enum SearchMode : std::uint8_t { kExact = 0, kQuoteAware = 1 };

inline bool IsQuote(unsigned char c) { return c == '\'' || c == '"'; }

std::uint16_t FindChar(StrDesc text, std::uint16_t start, unsigned char byte, SearchMode mode);
// Smallest position at or after start of any byte of set.
std::uint16_t FindAny(StrDesc text, std::uint16_t start, StrDesc set, SearchMode mode);
// First occurrence of sub (none for an empty sub or one longer than the text).
std::uint16_t FindText(StrDesc text, StrDesc sub, SearchMode mode);
std::uint16_t FindTextFrom(StrDesc text, std::uint16_t start, StrDesc sub, SearchMode mode);
// Last occurrences; the quote-aware forms judge quoting from the start of the text.
std::uint16_t FindLast(StrDesc text, unsigned char byte, SearchMode mode);
std::uint16_t FindLastAny(StrDesc text, StrDesc set, SearchMode mode);
std::uint16_t FindLastText(StrDesc text, StrDesc sub, SearchMode mode);
// Non-overlapping occurrences of sub, counted from the left (0 for an empty sub).
std::uint16_t CountText(StrDesc text, StrDesc sub, SearchMode mode);

// Position of the first NUL byte of text.
std::uint16_t FindNul(StrDesc text);
// Index of the first of count elements of size bytes each that equals element byte for byte.
std::uint16_t FindElement(const void* array, std::uint16_t count, std::uint16_t size, const void* element);

// ---- Quote-and-bracket-aware scanning, the one rule for argument lists and operands ----
// Quoted sections ('...' or "...") are skipped whole (an unclosed quote runs to the end of the text);
// parentheses nest, and a ')' without its '(' is an ordinary byte.

// Position of the ')' that closes the '(' at open; kNone when it is not closed.
std::uint16_t FindClosingParen(StrDesc text, std::uint16_t open);
// The next piece of list from *pos, cut at the first byte of separators that lies outside quotes
// and parentheses; *pos moves past that separator. False once the list is used up: an empty list
// has no piece, and a list that ends in a separator has an empty last piece.
bool NextListPiece(StrDesc list, StrDesc separators, std::uint32_t* pos, StrDesc* piece);

}  // namespace rt
