// The contact dialog's imports into the current data file: the standard one (the file's fields in
// order) and the external one (a header line naming the columns, matched to fields by the user and
// remembered per header in config.txt).
#pragma once
#include <string>
#include "runtime/text/str_desc.h"
#include "runtime/trans/import_source.h"
#include "runtime/trans/trans_run.h"

namespace rt {

// Ask for the source file and import it; an unanswered question gives 0. The outcome is shown.
ErrCode ImportStandard();
ErrCode ImportExternal();

// The two-list dialog: the header's columns ("Origen") and, for a chosen column, the fields and
// "UnAssign" ("Destino"). Gives the columns assigned, "column=field,..." in column order (empty when
// none). storedMap's assignments are shown to start with.
std::string MapDialog(const std::string& header, StrDesc fieldNames, const std::string& storedMap);

// The external import of an open source with a chosen map: the map remembered for the header, the
// work file written, both passes run, the work file removed. show: the outcome in a message box.
ErrCode ImportExternalWithMap(ImportSource* source, const std::string& map, const TransHooks& hooks, bool show);

}  // namespace rt
