// Runtime texts at the desktop boundary: every Windows-1252 byte decoded on its own on the way out
// (embedded NULs and the bytes the code page leaves undefined survive), and UTF-16 encoded back on the
// way in (a character Windows-1252 lacks becomes '?').
#pragma once
#include <string>
#include "runtime/text/str_desc.h"

namespace rt {

std::u16string UiText(StrDesc text);
// The runtime text of a desktop text, on DynStrings.
StrDesc UiBytes(const std::u16string& text);

}  // namespace rt
