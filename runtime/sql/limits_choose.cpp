// Asks the user which of a file's first fields limit a transfer, in the field-entry dialog of the
// choice spec.
#include "runtime/sql/limits_form.h"

#include "runtime/env/catalog.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"
#include "runtime/ui/accept.h"

namespace rt {

StrDesc LimitsChoose(std::uint8_t file) {
    DynScope scope;
    AcceptResult r = Accept(MsgText("0086"), LimitsChoiceSpec(file));
    if (r.status != 0 || r.values.IsError()) return scope.Keep(StrEmpty());
    // A dialog confirmed with every field blank gave nothing.
    ItemCursor items(r.values, ',');
    StrDesc item;
    while (items.Next(&item))
        if (Trim(Unquote(Trim(item, kTrimBoth)), kTrimBoth).len != 0) return scope.Keep(r.values);
    return scope.Keep(StrEmpty());
}

}  // namespace rt
