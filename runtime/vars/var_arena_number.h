// How a number lies on DynStrings while the store reads and assigns it: its eight bytes,
// little-endian. The number arithmetic and texts themselves are those of fixed_number.h.
#pragma once
#include <cstdint>
#include "runtime/vars/fixed_number.h"
#include "runtime/text/str_desc.h"

namespace rt {

// Pushes the eight bytes of n.
ErrCode VarNumPush(FixedNumber n);
// An arena entry read as a number: empty 0, eight bytes the number, any other length -1.
FixedNumber VarNumFromEntry(StrDesc entry);

}  // namespace rt
