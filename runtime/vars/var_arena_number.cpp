// Pushing numbers on DynStrings and reading them back, eight little-endian bytes each.
#include "runtime/vars/var_arena_number.h"

#include "runtime/text/dyn_strings.h"

namespace rt {

ErrCode VarNumPush(FixedNumber n) {
    StrDesc d = DynAlloc(8);
    if (d.IsError()) return d.len;
    std::uint64_t u = static_cast<std::uint64_t>(n);
    for (int i = 0; i < 8; ++i) d.mut()[i] = static_cast<char>((u >> (8 * i)) & 0xFF);
    return 0;
}

FixedNumber VarNumFromEntry(StrDesc entry) {
    if (entry.IsError() || entry.len == 0) return 0;
    if (entry.len != 8) return -1;
    std::uint64_t u = 0;
    for (int i = 7; i >= 0; --i) u = (u << 8) | entry.bytes()[i];
    return static_cast<FixedNumber>(u);
}

}  // namespace rt
