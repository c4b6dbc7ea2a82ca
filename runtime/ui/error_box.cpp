// The error box: shows a result code's display text in a message box of the kind its range calls for.
#include "runtime/ui/error_box.h"

#include "runtime/env/catalog.h"
#include "runtime/env/errors.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/ui/message_box.h"

namespace rt {

ErrCode ErrShow(ErrCode code) {
    // Cancellations and soft conditions are never shown.
    if (code < kErrCancelled || code > kErrNoData) {
        std::uint16_t m = DynMark();
        StrDesc text = ErrText(code);
        if (code < kErrSerious) MsgShow(text, MsgText("0012"), kMsgWarning);
        else MsgShow(text, MsgText("0013"), kMsgFatal);
        DynRelease(m);
    }
    return ErrSetText(0, StrEmpty());
}

}  // namespace rt
