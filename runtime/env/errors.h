// Result codes with their names and texts, the error detail, the run's first-error note,
// the error box, the run's log file and internal assertions.
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

// When condition is non-zero and no first error is noted, a code of 128 or more becomes the note;
// condition 2 overwrites whatever is noted. Gives value.
ErrCode ErrNote(int condition, std::uint16_t area, ErrCode code, ErrCode value);
// Descriptor form: when condition holds, notes and gives the error descriptor of code, else other.
StrDesc ErrNoteDesc(int condition, std::uint16_t area, ErrCode code, StrDesc other);
// The note as one value: area in the high half, code in the low half.
std::uint32_t ErrNoted();

// Stores text as the error detail (slot 9, 9) and gives code. With append, the old detail (cut by
// whole lines to at most 1,024 bytes) is kept before a CR LF.
ErrCode ErrSetText(ErrCode code, StrDesc text, bool append = false);
StrDesc ErrDetail();
StrDesc ErrName(ErrCode code);
StrDesc ErrAreaName(std::uint16_t area);
// The display text of a code, on DynStrings.
StrDesc ErrText(ErrCode code);
// Shows ErrText in a message box and clears the detail; gives 0.
ErrCode ErrShow(ErrCode code);

// The run's log file: slot (9, 10) or "<app code>log.txt" in the current folder.
StrDesc LogPath();
// Appends one line (an error descriptor writes "Error #<code>") when _TRACE shares a bit with mask.
void LogLine(StrDesc text, std::uint16_t mask);
// Appends a bannered entry to file (LogPath when empty); 164 when the file cannot be opened.
ErrCode LogEntry(StrDesc text, StrDesc file);
// Ends the process abnormally after showing and logging tag, when condition is false.
void Assert(bool condition, const char* tag);

}  // namespace rt
