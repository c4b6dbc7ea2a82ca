// The error box: shows a result code's display text in a message box of the kind its range calls for.
#include "runtime/ui/error_box.h"

#include "runtime/env/catalog.h"
#include "runtime/env/errors.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/ui/message_box.h"

namespace rt {

ErrCode ErrShow(ErrCode code) {
    // Cancellations and soft conditions are never shown.
    if (code < 122 || code > 127) {
        std::uint16_t m = DynMark();
        StrDesc text = ErrText(code);
        if (code < 128) MsgShow(text, MsgText("0012"), kMsgWarning);
        else MsgShow(text, MsgText("0013"), kMsgFatal);
        DynRelease(m);
    }
    return ErrSetText(0, StrEmpty());
}

}  // namespace rt
