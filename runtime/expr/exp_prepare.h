// Preparing an expression text for scanning: spaces outside quoted sections removed, the _ACCEPT#(
// and _ACCEPT$( macros expanded, and the caller's text validated (balanced parentheses, spaces only
// next to operator characters).
#pragma once
#include "runtime/text/str_desc.h"

namespace rt {

// Builds the prepared copy of text on DynStrings (one allocation above the caller's mark) into
// *prepared and gives the first failure: 129 for unbalanced parentheses (detail: the whole text), 147
// for a misplaced space (detail: the text from that space on), 0 when the text is sound. The prepared
// copy is made even when validation fails.
ErrCode ExpPrepare(StrDesc text, StrDesc* prepared);

}  // namespace rt
