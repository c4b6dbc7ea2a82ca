// The eight SqlControl slots, each a connection and a held query result, and the execution of single
// statements on them. _SQLSTK names the current slot; a connection's home slot is the lowest slot that
// holds it, and further slots on the same connection hold results that must outlive the next statement.
// Every statement is traced at level 4 when it succeeds (result below 3) and at level 6 otherwise.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

constexpr std::uint16_t kSqlSlots = 8;
constexpr std::uint16_t kSqlCurrent = 0xFFFF;  // "the current slot" wherever a slot is taken
constexpr std::uint16_t kSqlNoSlot = 0xFFFF;   // SqlResultSlot: no free slot

// Bits of _AUXSTAT that the SQL layer sets and reads.
enum SqlAuxBits : std::uint16_t {
    kAuxRawSql = 256,          // conditions are written in SQL already: SqlWhere passes them on
    kAuxSqlConnected = 2048,   // an SQL connection is open
    kAuxTransaction = 4096,    // a transaction is open
};

// Trace masks of SQL statements and connection strings.
constexpr std::uint16_t kSqlTraceOk = 4;
constexpr std::uint16_t kSqlTraceFailed = 6;

// The slot the number stands for: kSqlCurrent gives _SQLSTK. A number of 8 or more breaks the
// contract checked by the assertion "sqlControlFailure".
std::uint16_t SqlSlot(std::uint16_t n);

// Sends statement on the current slot's connection. 0 for a command or a query with rows (held in
// slot, or with slot kSqlCurrent in the home slot for fewer than 2 rows and in a fresh result slot
// for more, which then becomes current); 2 for a query without rows; 168 when rows came and no slot
// is free; 183 for a unique violation or a duplicate object; 162 for any other failure, noted as
// first error (area SQLEXEC) with the server's message and the statement in the detail. An error
// descriptor is not sent: its code is the result. rows, when given, receives the affected or
// returned row count (0 after a failure).
ErrCode SqlExec(StrDesc statement, std::uint16_t slot = kSqlCurrent, std::uint16_t* rows = nullptr);

// Sends statement as it is on the current slot's connection and drops its result: no trace, no slot,
// no status mapping. What benchmarks compare the runtime's own statements with. 0 when the server
// ran it, else 162.
ErrCode SqlSendRaw(StrDesc statement);

// Value of a column of a row of the slot's held result (the slot becomes current unless it is
// kSqlCurrent); empty when it holds none or the position is outside the result. The view is valid
// until the slot's result is cleared or replaced.
StrDesc SqlValue(std::uint16_t row, std::uint16_t column, std::uint16_t slot);
// Row count of the slot's held result (the slot becomes current); 0 when it holds none.
std::uint16_t SqlRows(std::uint16_t slot);
// Column number of a result column by name, 0xFFFF when absent.
std::uint16_t SqlColumn(std::uint16_t slot, const char* name);
// Releases the slot's held result.
void SqlClear(std::uint16_t slot);
// The first slot from 1 to 7 holding no result whose connection is none or the current one; it is
// given the current connection. kSqlNoSlot when none is free.
std::uint16_t SqlResultSlot();
// The lowest slot below _SQLSTK that holds the current slot's connection, or _SQLSTK itself.
std::uint16_t SqlHomeSlot();
// Whether the slot holds a connection, and whether it holds a result.
bool SqlSlotConnected(std::uint16_t slot);
bool SqlSlotHasResult(std::uint16_t slot);

// A server or client message made fit for the detail text: trailing bytes below 'A' (as signed
// bytes: line ends, blanks, digits, full stops, bytes of 128 and up) removed, and the UTF-8 forms of
// « and » turned into '"', of ó and ñ into their Windows-1252 bytes. On DynStrings.
StrDesc SqlCleanMessage(const char* text);

}  // namespace rt
