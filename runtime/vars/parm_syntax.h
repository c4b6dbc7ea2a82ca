// Reading NAME=value assignments out of a parameter block.
#pragma once
#include "runtime/text/str_desc.h"

namespace rt {

// Plain reading: blanks trimmed, one pair of enclosing quotes removed; a value that was not quoted
// comes back in upper case. An absent name reads as the empty text.
StrDesc ParmValue(StrDesc block, StrDesc name);
// List reading: one pair of enclosing quotes removed, case kept; for a name holding '%' the value
// exactly as written. found (when given) tells whether the name occurred.
StrDesc ParmValueList(StrDesc block, StrDesc name, bool* found = nullptr);

}  // namespace rt
