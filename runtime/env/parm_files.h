// Parameter files: text files of lines, each an identifier field and content laid out by the file's
// type number. Lines are gathered into the work queue (slot group 37) for their reader.
#pragma once
#include <cstdint>
#include "runtime/text/slot_map.h"  // kWorkQueueGroup
#include "runtime/text/str_desc.h"

namespace rt {

// Identifier that selects every line of a file, whatever its identifier field holds.
constexpr std::int32_t kParmAllLines = -1;

// The identifier of a line in a file of the type (spaces in the field count as '0'); 0 for types
// without an identifier field.
std::int32_t ParmLineId(StrDesc line, std::uint16_t type);
// The content of a line in a file of the type.
StrDesc ParmLineContent(StrDesc line, std::uint16_t type);

// Opens path for reading (a name without folder that cannot be opened is looked for in the default
// folder), appends the content of every line whose identifier is identifier (every whole line for
// kParmAllLines) to the work queue, closes it and gives the number of lines queued. 0xFFFF when the
// file cannot be opened.
std::uint16_t ParmLoadLines(StrDesc path, std::uint16_t type, std::int32_t identifier);

}  // namespace rt
