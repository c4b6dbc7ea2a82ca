// The About text (description and version line) and the box that shows it.
#include "runtime/ui/about_box.h"

#include "runtime/env/catalog.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/text_build.h"
#include "runtime/ui/message_box.h"

namespace rt {

StrDesc AboutText(StrDesc text) {
    DynScope scope;
    if (text.IsError()) text = StrEmpty();
    // The user number of this runtime is always 0.
    const char* language = StrToC(SlotGet(kRunGroup, kSlotLanguage));
    const char* caller = StrToC(text);
    StrDesc version = Format(200, "Version 2.20 (%s %s %s 1900)", "0", language, caller);
    return scope.Keep(StrJoin(SlotGet(kRunGroup, kSlotDescription), S("\r\n"), version));
}

void AboutBox(StrDesc text) {
    DynScope scope;
    MsgInfo(AboutText(text), MsgText("0075"));
}

}  // namespace rt
