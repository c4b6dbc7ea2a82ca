// Windows-1252, the runtime's text encoding, against Unicode and UTF-8. Every byte survives a round
// trip: the five bytes Windows-1252 leaves unassigned map to the C1 controls of the same value.
#pragma once
#include <string>

namespace rt {

char32_t Cp1252ToCodePoint(unsigned char byte);
// The Windows-1252 byte of a code point, '?' when it has none.
unsigned char CodePointToCp1252(char32_t c);

// Decodes UTF-8; a byte that does not start a valid sequence stands for itself, so text written in a
// single-byte encoding stays readable.
std::u32string DecodeUtf8(const std::string& s);
void AppendUtf8(std::string& out, char32_t c);

std::string Utf8ToCp1252(const std::string& s);
std::string Cp1252ToUtf8(const std::string& s);

}  // namespace rt
