// The process-wide first-error note: the area and code of the first serious error of a run. It lives
// with the text layer because the lowest layers (slot table, text building) note their failures here.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// Error areas of the first-error note (1-based items of the area list).
enum ErrArea : std::uint16_t {
    kAreaNone = 0,
    kAreaStringInit = 1,
    kAreaStringAssign = 2,
    kAreaStrConcat = 3,
    kAreaVarAssign = 4,
    kAreaSqlConnect = 5,
    kAreaSqlExec = 6,
    kAreaExpExec = 11,
    kAreaBufferFld = 13,
    kAreaDynStrings = 14,
    kAreaFormatStrings = 16,
    kAreaStreams = 17,
    kAreaDataFile = 18,
    kAreaLocalLists = 19,
};

// How ErrNote treats what is already noted.
enum ErrNoteMode : int {
    kNoteNever = 0,  // nothing is noted
    kNoteFirst = 1,  // a serious code (kErrSerious and up) becomes the note when none is noted yet
    kNoteAlways = 2, // overwrites whatever is noted, whatever the code
};

// Notes code in area as condition (an ErrNoteMode) says. Gives value.
ErrCode ErrNote(int condition, std::uint16_t area, ErrCode code, ErrCode value);
// Descriptor form: when condition holds, notes and gives the error descriptor of code, else other.
StrDesc ErrNoteDesc(int condition, std::uint16_t area, ErrCode code, StrDesc other);
// The note as one value: area in the high half, code in the low half.
std::uint32_t ErrNoted();
// Forgets the note (area and code 0).
void ErrClear();

}  // namespace rt
