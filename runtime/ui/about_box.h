// The runtime's About text: the application description and a version line, in an information box.
#pragma once
#include "runtime/text/str_desc.h"

namespace rt {

// The text shown: the description (slot 0, 3), CR LF, and the line "Version 2.20 (<user> <language>
// <text> 1900)"; just the version line when there is no description.
StrDesc AboutText(StrDesc text);
// Shows AboutText in an information box captioned by message "0075".
void AboutBox(StrDesc text);

}  // namespace rt
