// Decoding of runtime texts (Windows-1252 bytes) into the UTF-16 the desktop interface takes.
// Every byte maps to one code unit; the five bytes Windows-1252 leaves undefined keep their own value,
// so the decoding is lossless and can be reversed byte for byte.
#pragma once
#include <string>
#include "runtime/text/str_desc.h"

namespace rt {

// An error descriptor decodes as the empty text.
std::u16string Cp1252ToUtf16(StrDesc text);

}  // namespace rt
