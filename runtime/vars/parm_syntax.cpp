// Reading NAME=value assignments and value lists out of a parameter block, and the identifier and
// content of a parameter-file line by its type.
#include "runtime/vars/parm_syntax.h"

#include "runtime/text/named_values.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_search.h"

namespace rt {

StrDesc ParmValue(StrDesc block, StrDesc name) {
    bool found = false;
    StrDesc raw = NamedValueRaw(block, name, &found);
    if (raw.IsError()) return raw;
    if (!found) return StrEmpty();
    // Only the quotes decide the case: a value trimmed of blanks or tabs but not quoted is still
    // taken in upper case.
    StrDesc trimmed = Trim(raw, kTrimBoth);
    StrDesc inside = Unquote(trimmed);
    return inside.len != trimmed.len ? StrCopy(inside) : CaseFold(trimmed, kCaseUpper);
}

StrDesc ParmValueList(StrDesc block, StrDesc name, bool* found) {
    bool seen = false;
    StrDesc raw = NamedValueRaw(block, name, &seen);
    if (found) *found = seen;
    if (raw.IsError() || !seen) return raw.IsError() ? raw : StrEmpty();
    if (FindChar(name, 0, '%', kExact) != kNone) return raw;
    return Unquote(raw);
}

}  // namespace rt
