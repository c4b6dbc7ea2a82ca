// The current desktop backend and the default button of each button set.
#include "platform/desktop.h"

namespace rt {

namespace {
Desktop* g_desktop = nullptr;
}

void DesktopSet(Desktop* desktop) { g_desktop = desktop; }
Desktop* DesktopGet() { return g_desktop; }

MsgButton MsgFirstButton(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::kOk:
        case MsgButtons::kOkCancel: return MsgButton::kOk;
        case MsgButtons::kRetryCancel: return MsgButton::kRetry;
        case MsgButtons::kYesNo:
        case MsgButtons::kYesNoCancel: return MsgButton::kYes;
    }
    return MsgButton::kOk;
}

}  // namespace rt
