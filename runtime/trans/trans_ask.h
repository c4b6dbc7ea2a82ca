// The questions of the transfer commands: a field-entry dialog of a spec under a caption, and the
// plain reading of one of its answers.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

struct TransAnswer {
    ErrCode status = 0;           // 0, 122 when cancelled, or the dialog's failure
    std::uint16_t key = 0;        // the key that ended it
    StrDesc values = StrEmpty();  // the quoted values, comma-separated, on DynStrings
    StrDesc condition = StrEmpty();
};

// Shows the dialog of spec with caption (empty: none) and waits for it; results above the caller's mark.
TransAnswer TransAsk(StrDesc caption, StrDesc spec);

// The outcome of a dialog as a code: a dialog that could not be shown counts as cancelled.
inline ErrCode TransAskOutcome(const TransAnswer& a) { return a.status == kNone ? ErrCode{122} : a.status; }

// Item n of a values text read as a plain value: blanks trimmed and one pair of quotes removed; a
// value that was not quoted comes back in upper case. On DynStrings.
StrDesc TransAnswerItem(StrDesc values, std::uint16_t n);

}  // namespace rt
