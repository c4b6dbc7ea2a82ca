// Whole-file helpers of the expression built-ins and the transfers: the size of a file, a part of it,
// all of it as one text, all of it with its line ends replaced, and renaming. Files are opened for
// reading only and never created.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// Bytes in the file; 0 when it cannot be opened (the stream layer notes its name).
std::uint32_t FileSizeOf(StrDesc name);
// Reads count bytes (0xFFFF: to the end, at most the buffer) from offset into buffer; the number of
// bytes read, 0xFFFF when the file cannot be opened.
std::uint16_t FileReadPart(StrDesc name, std::uint32_t offset, std::uint16_t count, char* buffer,
                           std::uint16_t buffer_length);
// The file from offset to its end as one scratch text: 145 when it does not fit the arena's free
// room, 0xFFFF when fewer bytes came back than expected; an empty or unreadable file gives the empty
// text.
StrDesc FileReadAll(StrDesc name, std::uint32_t offset);
// FileReadAll with every CR LF, and then every remaining LF, replaced by separator.
StrDesc FileReadLines(StrDesc name, StrDesc separator);
// 0, or 0xFFFF when the file cannot be renamed.
ErrCode FileRenameTo(StrDesc from, StrDesc to);

}  // namespace rt
