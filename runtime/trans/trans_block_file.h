// Replacing one numbered block of a parameter file, as the saving of transfer definitions does.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// The line prefix that carries block number n in a file of the type: type 0 nothing, 1 "%2s ",
// 2 "\"%2s", 3 "%4s ", any other "%s". On DynStrings.
StrDesc TransBlockPrefix(std::uint16_t type, std::int32_t n);

// Rewrites block n of the parameter file at path with block, a ':'-separated list of lines (an item
// enclosed in quotes loses them), each written after the block's prefix and ended by CR LF. The new
// lines take the place of the old lines of block n, or go before the first line of a higher block,
// or at the end; every other line is copied unchanged. The new file is written under a unique name
// beside the old one and renamed over it only when every line was written, so a failure leaves the
// old file as it was: 164 when the new file cannot be created, 131 when a line cannot be read or
// written, the rename fails or the file cannot be locked (the rewrite holds its advisory lock, so two
// saves at once both keep their blocks). A missing file is created holding just the block.
ErrCode TransBlockRewrite(StrDesc path, std::uint16_t type, std::int32_t n, StrDesc block);

}  // namespace rt
