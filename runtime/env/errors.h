// Result codes with their names and display texts, and the error detail. The first-error note is
// in runtime/text/error_note.h, the error box in runtime/ui/error_box.h, the run log in
// runtime/vars/run_log.h.
#pragma once
#include <cstdint>
#include "runtime/text/error_note.h"
#include "runtime/text/str_desc.h"

namespace rt {

// Stores text as the error detail (slot 9, 9) and gives code. With append, the old detail (cut by
// whole lines to at most 1,024 bytes) is kept before a CR LF.
ErrCode ErrSetText(ErrCode code, StrDesc text, bool append = false);
StrDesc ErrDetail();
StrDesc ErrName(ErrCode code);
StrDesc ErrAreaName(std::uint16_t area);
// The display text of a code, on DynStrings.
StrDesc ErrText(ErrCode code);

}  // namespace rt
