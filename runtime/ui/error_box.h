// The error box: a result code shown to the user in the run's language, under the caption its range
// calls for.
#pragma once
#include "runtime/text/str_desc.h"

namespace rt {

// Shows ErrText in a message box and clears the detail; gives 0. Codes 122 to 127 (cancellations
// and soft conditions) are never shown; below 128 a warning box, from 128 on a fatal one.
ErrCode ErrShow(ErrCode code);

}  // namespace rt
