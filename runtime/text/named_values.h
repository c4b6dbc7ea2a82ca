// Named values inside option lines and parameter blocks: NAME:value or NAME=value, the assignments
// separated by ':', blank, '&' or '/', quoted sections not seen.
#pragma once
#include "runtime/text/str_desc.h"

namespace rt {

// The four bytes that separate assignments and end unquoted values.
inline constexpr StrDesc kNamedSeparators{": &/", 4};

// The raw value of name in text: name followed by ':' is looked for first, then name followed by
// '='; an occurrence counts at the start of the text or right after a separator. The value runs to
// the next unquoted separator. found (when given) tells whether the name occurred at all.
// The result points into text.
StrDesc NamedValueRaw(StrDesc text, StrDesc name, bool* found = nullptr);

}  // namespace rt
