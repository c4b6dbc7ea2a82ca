// What the SQL modules share of the slot table: the libpq handles themselves. Only files of
// runtime/sql include this header, so that libpq stays inside this folder.
#pragma once
#include <libpq-fe.h>

#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// The connection of a slot (null when none) and the slot's held result (null when none).
PGconn* SqlSlotConn(std::uint16_t slot);
void SqlSlotConnSet(std::uint16_t slot, PGconn* conn);
// Finishes conn and forgets it in every slot that holds it; held results stay.
void SqlConnFinish(PGconn* conn);
// Sets the client encoding every connection works in (texts are Windows-1252 inside the runtime).
bool SqlConnPrepare(PGconn* conn);
// Releases every held result and every connection (the end of the run).
void SqlControlShutdown();

}  // namespace rt
