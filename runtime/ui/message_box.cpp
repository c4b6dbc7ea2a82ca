// Message boxes of the seven kinds: captions and answers from the catalog, shown on the desktop.
#include "runtime/ui/message_box.h"

#include <iterator>

#include "platform/desktop.h"
#include "runtime/env/catalog.h"
#include "runtime/env/catalog_builtin.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/platform_text.h"
#include "runtime/text/text_lists.h"
#include "runtime/ui/ui_text.h"
#include "runtime/ui/win_stack.h"

namespace rt {

namespace {

struct KindRow {
    MsgIcon icon;
    MsgButtons buttons;
    const char* caption;  // catalog code of the default caption
};

constexpr KindRow kKinds[] = {
    {MsgIcon::kInformation, MsgButtons::kOk, "0014"},
    {MsgIcon::kWarning, MsgButtons::kOk, "0012"},
    {MsgIcon::kInformation, MsgButtons::kOkCancel, "0014"},
    {MsgIcon::kError, MsgButtons::kOk, "0013"},
    {MsgIcon::kError, MsgButtons::kRetryCancel, "0012"},
    {MsgIcon::kInformation, MsgButtons::kYesNo, "0014"},
    {MsgIcon::kInformation, MsgButtons::kYesNoCancel, "0014"},
};

// First byte of item n of the answer list "0011" ("Ss,Nn"): item 1 holds the yes letters, item 2 the
// no letters. A language file may leave the item empty (a code it skips is empty); the built-in
// letter is used then, so that Yes and No never answer the same and a No never confirms.
std::uint8_t AnswerLetter(std::uint16_t item) {
    DynScope scope;
    StrDesc letters = Item(MsgText("0011"), ',', item);
    if (letters.IsError() || letters.len == 0) letters = Item(MsgBuiltin(S("0011")), ',', item);
    return letters.IsError() || letters.len == 0 ? 0 : letters.bytes()[0];
}

// The button whose answer a box gives when the desktop could not show it: the one that confirms
// least (Cancel, else No, else the only button).
MsgButton LastButton(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::kOk: return MsgButton::kOk;
        case MsgButtons::kYesNo: return MsgButton::kNo;
        case MsgButtons::kOkCancel:
        case MsgButtons::kRetryCancel:
        case MsgButtons::kYesNoCancel: return MsgButton::kCancel;
    }
    return MsgButton::kCancel;
}

std::uint8_t AnswerOf(MsgButton button) {
    switch (button) {
        case MsgButton::kOk:
        case MsgButton::kRetry:
        case MsgButton::kYes: return AnswerLetter(1);
        case MsgButton::kNo: return AnswerLetter(2);
        default: return kMsgAnswerCancel;
    }
}

}  // namespace

std::uint8_t MsgShow(StrDesc text, StrDesc caption, std::uint16_t kind) {
    const KindRow& row = kKinds[kind < std::size(kKinds) ? kind : std::uint16_t{kMsgInfo}];
    DynScope scope;

    Desktop* desktop = DesktopGet();
    // Input typed ahead must not answer the box. While a runtime window is open its pending input
    // belongs to it and is kept.
    if (desktop != nullptr && WinCount() == 0) desktop->DiscardPendingInput();

    MsgBoxRequest request;
    request.text = UiText(text);
    const bool own_caption = !caption.IsError() && caption.len != 0;
    request.caption = UiText(own_caption ? caption : MsgText(row.caption));
    request.icon = row.icon;
    request.buttons = row.buttons;
    request.owner = WinTop();

    MsgButton pressed = desktop != nullptr ? desktop->ShowMessageBox(request) : MsgButton::kNone;
    if (pressed == MsgButton::kNone) pressed = LastButton(row.buttons);
    return AnswerOf(pressed);
}

bool MsgAsk(StrDesc text) { return MsgShow(text, StrEmpty(), kMsgYesNo) == AnswerLetter(1); }

std::uint8_t MsgInfo(StrDesc text, StrDesc caption) { return MsgShow(text, caption, kMsgInfo); }

}  // namespace rt
