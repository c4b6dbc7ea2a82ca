// The run's log file and internal assertions. Kept with the variables because what is logged
// depends on the system variable _TRACE, and an entry is stamped with the run's date.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// The run's log file: slot (9, 10) or "<app code>log.txt" in the current folder.
StrDesc LogPath();
// Appends one line (an error descriptor writes "Error #<code>") when _TRACE shares a bit with mask.
void LogLine(StrDesc text, std::uint16_t mask);
// Appends a bannered entry to file (LogPath when empty); 164 when the file cannot be opened.
ErrCode LogEntry(StrDesc text, StrDesc file);
// Ends the process abnormally after showing and logging tag, when condition is false. The box goes
// straight to the desktop: an assertion must not depend on the layers it may have caught failing.
void Assert(bool condition, const char* tag);

}  // namespace rt
