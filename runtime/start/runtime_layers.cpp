// The seams the runtime's upper layers install into the lower ones at start-up.
#include "runtime/start/runtime_layers.h"

#include "runtime/access/file_read.h"
#include "runtime/access/fn_records.h"
#include "runtime/expr/builtin_functions.h"
#include "runtime/mant/mant_action.h"
#include "runtime/sql/sql_connect.h"
#include "runtime/text/err_codes.h"
#include "runtime/ui/accept.h"
#include "runtime/ui/screen.h"
#include "runtime/ui/win_keys.h"

namespace rt {

namespace {

const FnRecordLayer kRecordFunctions{FnFileFind, FnFileRel, FnFileLocate, FnFileSelectList, FnFileRows};

// The credentials dialog of the SQL login is a field-entry dialog. A desktop that cannot show one
// (the terminal) answers as the login's own default does: cancelled.
SqlCredentialsAnswer AskCredentials(StrDesc title, StrDesc form) {
    const AcceptResult r = Accept(title, form);
    if (r.status == kNone) return SqlCredentialsAnswer{kErrCancelled, StrEmpty(), false};
    return SqlCredentialsAnswer{r.status, r.values, KeyIsAccept(r.key)};
}

}  // namespace

void RuntimeLayersInstall() {
    AccessInstall();
    FnRecordLayerSet(&kRecordFunctions);
    // Names starting with '_' reach the fields of the current screen; the window layer's
    // procedures reach the screens.
    ScreenInstall();
    SqlCredentialsAskSet(AskCredentials);
}

}  // namespace rt
