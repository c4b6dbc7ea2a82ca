// The record buffer of an open file: one text of twice the record length in string-slot group 6.
// Its first half is the current record (being edited), its second half the reference record (as
// last read from or written to storage). Views handed out point into the slot table and stay valid
// only until the next change of a string slot.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// Parts of the buffer.
enum RecPart : std::uint8_t { kRecCurrent = 1, kRecReference = 2, kRecWhole = 3 };

// The part as a view into the buffer; an empty text for an unregistered file or an unknown part,
// the error descriptor 169 when the file is not open.
StrDesc RecImage(std::uint8_t n, std::uint8_t part);
// Copies bytes over the start of the part, cut to the part's length.
ErrCode RecWrite(std::uint8_t n, std::uint8_t part, StrDesc bytes);
// 1: current over reference; 2: reference over current; other directions do nothing.
void RecCopy(std::uint8_t n, std::uint8_t direction);
// The two records differ in some byte.
bool RecChanged(std::uint8_t n);
// Blanks both records; mode 2 then makes the first byte 0x1B. Gives the whole buffer.
StrDesc RecBlank(std::uint8_t n, std::uint8_t mode);

}  // namespace rt
