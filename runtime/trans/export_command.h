// The contact dialog's "Exportar": the delimited export of the transfer command, every question
// asked of the user, its outcome shown by the transfer itself.
#pragma once
#include "runtime/text/str_desc.h"

namespace rt {

// TransCommand("52"): 122 when a question was cancelled, else the run's outcome.
ErrCode ExportCommand();

}  // namespace rt
