// The runtime's message boxes: seven fixed kinds, captions from the message catalog, and the answer
// as one character taken from the catalog, so that a box speaks and answers in the run's language.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// Kinds of box: icon, buttons and the catalog message that captions the box when no caption is given.
enum MsgKind : std::uint16_t {
    kMsgInfo = 0,         // information, OK, "0014"
    kMsgWarning = 1,      // warning, OK, "0012"
    kMsgOkCancel = 2,     // information, OK and Cancel, "0014"
    kMsgFatal = 3,        // error, OK, "0013"
    kMsgRetryCancel = 4,  // error, Retry and Cancel, "0012"
    kMsgYesNo = 5,        // information, Yes and No, "0014"
    kMsgYesNoCancel = 6,  // information, Yes, No and Cancel, "0014"
};

// The answer of Cancel (and of Abort or Ignore). OK, Retry and Yes answer the first character of
// item 1 of catalog message "0011"; No answers the first character of its item 2.
constexpr std::uint8_t kMsgAnswerCancel = 3;

// Shows text in a modal box of the kind (a kind above 6 shows as kind 0); an empty caption takes the
// kind's catalog caption. A box the desktop cannot show answers as its last button would (Cancel, No,
// or OK for a box that has nothing else), so a failed box never confirms anything.
std::uint8_t MsgShow(StrDesc text, StrDesc caption, std::uint16_t kind);

// Asks a yes-or-no question (kind 5, catalog caption); true when the answer is the catalog's yes.
bool MsgAsk(StrDesc text);

// An information box (kind 0) with the given caption.
std::uint8_t MsgInfo(StrDesc text, StrDesc caption);

}  // namespace rt
