// Puts the transfer's questions to the user through the field-entry dialogs and reads their answers.
#include "runtime/trans/trans_ask.h"

#include "runtime/text/dyn_strings.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"

namespace rt {

TransAnswer TransAsk(StrDesc caption, StrDesc spec) {
    (void)caption;
    (void)spec;
    // No field-entry dialog can be shown on this desktop yet: the answer is that of a dialog whose
    // window could not be made.
    TransAnswer a;
    a.status = kNone;
    return a;
}

StrDesc TransAnswerItem(StrDesc values, std::uint16_t n) {
    DynScope scope;
    StrDesc trimmed = Trim(Item(values, ',', n), kTrimBoth);
    StrDesc inside = Unquote(trimmed);
    return scope.Keep(inside.len != trimmed.len ? StrCopy(inside) : CaseFold(trimmed, kCaseUpper));
}

}  // namespace rt
