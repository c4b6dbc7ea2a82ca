// The built-in Spanish message catalog: three constant blocks of records, each record a tab, the
// four-digit code, one blank and the message text.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// Block 0 holds the codes 0001 to 0039, block 1 0040 to 0088, block 2 0089 to 0131.
StrDesc CatalogBlock(std::uint16_t index);

// The built-in text of a four-digit code text; the empty text when the catalog lacks the code.
StrDesc MsgBuiltin(StrDesc code);

}  // namespace rt
