// Opening and closing the SQL connection. The parameters come from the first source that works: the
// runtime options sqlhost, database, user and passw; the parameter file sqlparams.dat; or the
// answer of the credentials dialog, which can be remembered in the user parameter file (written
// readable by its owner only). Connecting first registers the database's tables (schema discovery)
// when no data file exists yet.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// Low four bits of the start hook's code.
enum SqlHookPhase : std::uint8_t {
    kSqlHookEarly = 1,    // early in the runtime's start: nothing to do
    kSqlHookConnect = 2,  // after start-up: log in
    kSqlHookEnd = 3,      // at the end of the run: disconnect
};

// The credentials dialog's answer: its status (122 when the user cancelled), its values text (a
// comma list of server, database, user, password, remember; on DynStrings) and whether the key that
// ended it is of the accept class (Ok, Enter: action bit 0x02 or 0x40).
struct SqlCredentialsAnswer {
    ErrCode status = 122;
    StrDesc values;
    bool accepted = false;
};
// Shows the field-entry dialog with the caption title, described by the one-line form spec.
using SqlCredentialsAsk = SqlCredentialsAnswer (*)(StrDesc title, StrDesc spec);
// Installs the credentials dialog (null: the default, which answers 122 at once, as a run without a
// desktop must) and gives the previous one.
SqlCredentialsAsk SqlCredentialsAskSet(SqlCredentialsAsk ask);

// The runtime's SQL hook. Code with low bits 2: SqlLogin("sqlparams.dat", code >> 4 as a signed byte,
// catalog text "0090"); low bits 3: every connection closed and every held result released, 0;
// anything else 0.
ErrCode SqlStartHook(std::uint8_t code);

// Connects from source (SqlConnectFrom) and, while that is refused (162), asks the credentials
// dialog and tries its answer. Gives 0 (the text that led to the connection is kept in slot (0, 11),
// or (0, 12) when 11 holds one), the dialog's status, or the failure that ended the attempts.
// A dialog ended by a key outside the accept class gives 0 without a connection.
ErrCode SqlLogin(StrDesc source, std::uint8_t flags, StrDesc title);
// One attempt: a text of four comma items or more is a dialog answer (item 5 non-zero remembers it:
// 131 when that fails), else the options when sqlhost is set, else the parameter file named by
// source (sqlparams.dat when empty; 162 with an empty detail when it cannot be read).
ErrCode SqlConnectFrom(StrDesc source, std::uint8_t flags);
// Opens a connection in the current slot, or in the first free one when the current slot holds one
// (145 when all eight do). An empty user is "guest"; without a database name no table is
// registered. 162 (noted, area SQLCONNECT, server message in the detail) when refused. The trace line
// is the connection string with the password shown as '***', a blank and the result.
ErrCode SqlConnect(StrDesc host, StrDesc database, StrDesc user, StrDesc password, std::uint8_t flags);
// Closes the current slot's connection (every slot sharing it forgets it), then moves _SQLSTK down
// while it is above 0 and names a slot without a connection. Held results stay.
void SqlDisconnect();

// Name of the user parameter file for start flags (bits 2-3): sqlusrprm.dat, sqladmprm.dat,
// slqusrpr2.dat, or empty for none.
StrDesc SqlUserParmFile(std::uint8_t flags);
// The connection string of the four values, each quoted as libpq reads it (' and \ escaped). With
// masked, the password shows as ***.
StrDesc SqlConnString(StrDesc host, StrDesc database, StrDesc user, StrDesc password, bool masked);

}  // namespace rt
