// The run's log file (trace lines and bannered entries) and internal assertions.
#include "runtime/vars/run_log.h"

#include <cstdlib>
#include <string>

#include "platform/desktop.h"
#include "platform/process.h"
#include "runtime/env/errors.h"
#include "runtime/env/streams.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/platform_text.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_lists.h"
#include "runtime/vars/dates.h"
#include "runtime/vars/var_system.h"
#include "runtime/vars/variables.h"

namespace rt {

namespace {

// The assertion box, shown on the desktop directly (error icon, one OK button).
void AssertBox(StrDesc text) {
    Desktop* desktop = DesktopGet();
    if (desktop == nullptr) return;
    desktop->DiscardPendingInput();
    MsgBoxRequest request;
    for (std::uint16_t i = 0; i < text.len; ++i) request.text += Cp1252ToUnit(text.bytes()[i]);
    request.caption = u"Assertion Fail";
    request.icon = MsgIcon::kError;
    request.buttons = MsgButtons::kOk;
    desktop->ShowMessageBox(request);
}

}  // namespace

StrDesc LogPath() {
    StrDesc path = SlotGet(kRunTextsGroup, kSlotLogPath);
    if (path.len != 0) return path;
    StrDesc identity = SlotGet(kRunGroup, kSlotIdentity);
    StrDesc code = Item(identity, ':', 1);
    if (code.len > 2) code.len = 2;
    return StrConcat(code, S("log.txt"));
}

void LogLine(StrDesc text, std::uint16_t mask) {
    if ((static_cast<std::uint16_t>(VarIntSlot(kSysTrace)) & mask) == 0) return;
    std::uint16_t m = DynMark();
    StrDesc line = text.IsError() ? Format(16, "Error #%u", unsigned(text.len)) : text;
    FileAppendText(LogPath(), kStreamHere, StrConcat(line, S("\r\n")));
    DynRelease(m);
}

ErrCode LogEntry(StrDesc text, StrDesc file) {
    std::uint16_t m = DynMark();
    StrDesc path = file.len != 0 ? file : LogPath();
    std::uint16_t h = StreamOpen(path, kStreamAppend | kStreamQuiet);
    if (h >= kStreamCount) {
        ErrSetText(kErrFileNotFound, path);
        DynRelease(m);
        return kErrFileNotFound;
    }
    PlatformDateTime now = PlatformNow();
    StrDesc time = Format(5, "%02d:%02d", now.hour, now.minute);
    StrDesc banner = Format(255, "*****************************\r\n Date:%s - Time:%s - User:%s\r\n",
                            StrToC(DateShow(DateToday(), 2)), StrToC(time), "0");
    StreamWrite(h, kStreamHere, banner);
    StreamWrite(h, kStreamHere, text);
    StreamWrite(h, kStreamHere, S("\r\n**********************\r\n\r\n"));
    StreamClose(h);
    DynRelease(m);
    return 0;
}

void Assert(bool condition, const char* tag) {
    if (condition) return;
    StrDesc text = tag != nullptr ? StrFromC(tag) : StrEmpty();
    AssertBox(text);
    LogEntry(text, S("assertions.log"));
    // Ends at once: no runtime end, no file close.
    std::abort();
}

}  // namespace rt
