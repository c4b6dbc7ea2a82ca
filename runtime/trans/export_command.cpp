// Keeps the export command of the contact dialog: the transfer command with the delimited export's
// mode and nothing else, so every choice (file, limits, fields, output) is the user's.
#include "runtime/trans/export_command.h"

#include "runtime/text/dyn_strings.h"
#include "runtime/text/text_build.h"
#include "runtime/trans/trans_command.h"
#include "runtime/trans/trans_mode.h"

namespace rt {

ErrCode ExportCommand() {
    DynScope scope;
    return TransCommand(Format(8, "%u", static_cast<unsigned>(kTransExportDelimited)));
}

}  // namespace rt
