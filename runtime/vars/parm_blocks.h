// The stack of active parameter blocks (slot group 31) and the numbered parameter names through
// which the runtime asks the top block for its settings.
#pragma once
#include <cstdint>
#include "runtime/text/slot_map.h"  // kParmStackGroup
#include "runtime/text/str_desc.h"

namespace rt {

// The name of a numbered parameter, prefixed with item _AUX of slot (9, 8) and '.' when _AUX is set;
// empty for a base number or a number beyond its list.
StrDesc ParmName(std::uint16_t number);
// Assembles block identifier of the file (the matching lines' contents joined with ':' in file order)
// and pushes it: 0, or 0xFFFF when no line has that identifier or the file cannot be read.
ErrCode ParmPush(StrDesc file, std::uint16_t type, std::int32_t identifier);
// ParmPush that pushes an empty block when there is nothing to push (the transfer driver's loader).
ErrCode ParmPushOrEmpty(StrDesc file, std::uint16_t type, std::int32_t identifier);
ErrCode ParmPop();
// The whole top block (empty when the stack is empty).
StrDesc ParmTopBlock();
// Plain reading of name in the top block.
StrDesc ParmTop(StrDesc name);
StrDesc ParmTopByNumber(std::uint16_t number);
// The value of parameter number in block for screens and windows (list reading), falling back to
// the unprefixed name, then to the variable of that name without '%'; item (when non-zero) picks one
// item of the value's comma list.
StrDesc ParmFrom(StrDesc block, std::uint16_t number, std::uint16_t item);

}  // namespace rt
