// Puts the transfer's questions to the user through the field-entry dialogs and reads their answers.
#include "runtime/trans/trans_ask.h"

#include "runtime/text/dyn_strings.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"
#include "runtime/ui/accept.h"

namespace rt {

TransAnswer TransAsk(StrDesc caption, StrDesc spec) {
    AcceptResult r = Accept(caption, spec);
    TransAnswer a;
    a.status = r.status;
    a.key = r.key;
    a.values = r.values.IsError() ? StrEmpty() : r.values;
    a.condition = r.condition.IsError() ? StrEmpty() : r.condition;
    return a;
}

StrDesc TransAnswerItem(StrDesc values, std::uint16_t n) {
    DynScope scope;
    StrDesc trimmed = Trim(Item(values, ',', n), kTrimBoth);
    StrDesc inside = Unquote(trimmed);
    return scope.Keep(inside.len != trimmed.len ? StrCopy(inside) : CaseFold(trimmed, kCaseUpper));
}

}  // namespace rt
