// The SqlControl slots: connections and held results, single statements with their status mapping
// and trace lines, and the one reset of a connection that the server closed.
#include "runtime/sql/sql_control.h"

#include <array>
#include <cstring>
#include <string>

#include "runtime/env/errors.h"
#include "runtime/sql/sql_internal.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/str_bridge.h"
#include "runtime/vars/run_log.h"
#include "runtime/vars/var_system.h"

namespace rt {

namespace {

struct SqlControl {
    PGconn* conn = nullptr;
    PGresult* result = nullptr;
};

std::array<SqlControl, kSqlSlots> g_slots{};
// Connections on which a statement failed while libpq reported them bad: the next statement on
// them resets them first. At most one entry per slot.
std::array<PGconn*, kSqlSlots> g_lost{};

// Server states that mean "already exists" to the runtime.
constexpr const char* kStateUniqueViolation = "23505";
constexpr const char* kStateDuplicateObject = "42710";

bool IsLost(PGconn* conn) {
    if (conn == nullptr) return false;
    for (PGconn* c : g_lost)
        if (c == conn) return true;
    return false;
}

void MarkLost(PGconn* conn, bool lost) {
    for (PGconn*& c : g_lost) {
        if (c == conn) c = nullptr;
    }
    if (!lost) return;
    for (PGconn*& c : g_lost) {
        if (c == nullptr) {
            c = conn;
            return;
        }
    }
}

void Trace(StrDesc line, ErrCode result) { LogLine(line, result < 3 ? kSqlTraceOk : kSqlTraceFailed); }

// Notes a failing statement: the code as first error, the message and then the statement in the detail.
ErrCode Failure(ErrCode code, const char* message, StrDesc statement) {
    DynScope scope;
    ErrNote(kNoteFirst, kAreaSqlExec, code, 0);
    ErrSetText(code, SqlCleanMessage(message), true);
    ErrSetText(code, statement, true);
    return code;
}

// A connection that the server closed is reset once before the next statement runs on it. An open
// transaction died with the old session: the statement that would have continued it fails.
ErrCode ResetIfLost(PGconn* conn, StrDesc statement) {
    if (!IsLost(conn)) return 0;
    PQreset(conn);
    if (PQstatus(conn) != CONNECTION_OK) {
        Trace(S("PQreset 162"), kErrSqlError);
        return Failure(kErrSqlError, PQerrorMessage(conn), statement);
    }
    MarkLost(conn, false);
    SqlConnPrepare(conn);
    Trace(S("PQreset 0"), 0);
    std::uint16_t aux = SysBits(kSysAuxStat);
    if (aux & kAuxTransaction) {
        SysBitsSet(kSysAuxStat, static_cast<std::uint16_t>(aux & ~kAuxTransaction));
        return Failure(kErrSqlError, "the connection was reset: its open transaction was lost", statement);
    }
    return 0;
}

std::uint16_t ToCount(long n) { return n < 0 ? 0 : n > 0xFFFF ? 0xFFFF : static_cast<std::uint16_t>(n); }

}  // namespace

std::uint16_t SqlSlot(std::uint16_t n) {
    if (n == kSqlCurrent) n = static_cast<std::uint16_t>(SysVar(kSysSqlStk));
    Assert(n < kSqlSlots, "sqlControlFailure");
    return n;
}

PGconn* SqlSlotConn(std::uint16_t slot) { return g_slots[SqlSlot(slot)].conn; }
void SqlSlotConnSet(std::uint16_t slot, PGconn* conn) { g_slots[SqlSlot(slot)].conn = conn; }
bool SqlSlotConnected(std::uint16_t slot) { return g_slots[SqlSlot(slot)].conn != nullptr; }
bool SqlSlotHasResult(std::uint16_t slot) { return g_slots[SqlSlot(slot)].result != nullptr; }

void SqlConnFinish(PGconn* conn) {
    if (conn == nullptr) return;
    // Every slot sharing the connection forgets it, so that none is left holding a freed handle.
    for (SqlControl& s : g_slots)
        if (s.conn == conn) s.conn = nullptr;
    MarkLost(conn, false);
    PQfinish(conn);
}

bool SqlConnPrepare(PGconn* conn) { return PQsetClientEncoding(conn, "WIN1252") == 0; }

void SqlControlShutdown() {
    for (SqlControl& s : g_slots) {
        if (s.result != nullptr) PQclear(s.result);
        s.result = nullptr;
    }
    for (SqlControl& s : g_slots) SqlConnFinish(s.conn);
    g_lost.fill(nullptr);
}

namespace {

// A read outside a transaction may run again on the reset connection: it changes nothing, and no
// transaction it belonged to was lost with the session. Writes are never repeated blindly.
bool MayRunAgain(StrDesc statement) {
    constexpr const char* kRead = "SELECT ";
    const std::size_t n = std::strlen(kRead);
    if (SysBits(kSysAuxStat) & kAuxTransaction) return false;
    if (statement.len < n) return false;
    for (std::size_t i = 0; i < n; ++i) {
        char c = statement.ptr[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != kRead[i]) return false;
    }
    return true;
}

// One run of a statement. With retry, a failure that left the connection bad is traced and
// answers *lost = true without being noted, so that the caller may run the statement again.
ErrCode ExecOnce(StrDesc statement, std::uint16_t slot, std::uint16_t* count, bool retry, bool* lost) {
    PGconn* conn = SqlSlotConn(kSqlCurrent);
    ErrCode result = ResetIfLost(conn, statement);
    *count = 0;
    *lost = false;
    if (result == 0) {
        PGresult* res = PQexec(conn, StrToC(statement));
        switch (PQresultStatus(res)) {
        case PGRES_COMMAND_OK:
            *count = ToCount(std::strtol(PQcmdTuples(res), nullptr, 10));
            PQclear(res);
            break;
        case PGRES_TUPLES_OK: {
            *count = ToCount(PQntuples(res));
            if (*count == 0) {
                PQclear(res);
                result = kStatusNoRecord;
                break;
            }
            std::uint16_t target = slot;
            if (target == kSqlCurrent) target = *count < 2 ? SqlHomeSlot() : SqlResultSlot();
            if (target >= kSqlSlots) {
                PQclear(res);
                result = kErrDataOutBound;
                break;
            }
            SysVarSet(kSysSqlStk, static_cast<std::int16_t>(target));
            if (g_slots[target].result != nullptr) PQclear(g_slots[target].result);
            g_slots[target].result = res;
            break;
        }
        default: {
            const char* state = PQresultErrorField(res, PG_DIAG_SQLSTATE);
            bool exists = state != nullptr && (std::strcmp(state, kStateUniqueViolation) == 0 ||
                                               std::strcmp(state, kStateDuplicateObject) == 0);
            std::string message = res != nullptr ? PQresultErrorMessage(res) : PQerrorMessage(conn);
            PQclear(res);
            *count = 0;
            // A server that closed the session leaves the connection bad: reset it before its next use.
            if (conn != nullptr && PQstatus(conn) == CONNECTION_BAD) {
                MarkLost(conn, true);
                *lost = true;
            }
            if (*lost && retry) {
                Trace(statement, kErrSqlError);
                return kErrSqlError;
            }
            result = Failure(exists ? kErrDataExists : kErrSqlError, message.c_str(), statement);
        }
        }
    }
    Trace(statement, result);
    return result;
}

}  // namespace

ErrCode SqlExec(StrDesc statement, std::uint16_t slot, std::uint16_t* rows) {
    if (rows != nullptr) *rows = 0;
    if (statement.IsError()) return statement.len;
    DynScope scope;
    std::uint16_t count = 0;
    bool lost = false;
    bool again = MayRunAgain(statement);
    ErrCode result = ExecOnce(statement, slot, &count, again, &lost);
    // The server closed the session (a restart between two commands): once more on the reset one.
    if (lost && again) result = ExecOnce(statement, slot, &count, false, &lost);
    if (rows != nullptr) *rows = result < kErrFirstFailure ? count : 0;
    return result;
}

ErrCode SqlSendRaw(StrDesc statement) {
    if (statement.IsError()) return statement.len;
    DynScope scope;
    PGresult* res = PQexec(SqlSlotConn(kSqlCurrent), StrToC(statement));
    ExecStatusType status = PQresultStatus(res);
    PQclear(res);
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK ? 0 : kErrSqlError;
}

StrDesc SqlValue(std::uint16_t row, std::uint16_t column, std::uint16_t slot) {
    if (slot < kSqlSlots) SysVarSet(kSysSqlStk, static_cast<std::int16_t>(slot));
    PGresult* res = g_slots[SqlSlot(kSqlCurrent)].result;
    if (res == nullptr || row >= PQntuples(res) || column >= PQnfields(res)) return StrEmpty();
    int len = PQgetlength(res, row, column);
    return StrMake(PQgetvalue(res, row, column), static_cast<std::uint16_t>(len > 0xFFFF ? 0xFFFF : len));
}

std::uint16_t SqlRows(std::uint16_t slot) {
    if (slot < kSqlSlots) SysVarSet(kSysSqlStk, static_cast<std::int16_t>(slot));
    PGresult* res = g_slots[SqlSlot(kSqlCurrent)].result;
    return res == nullptr ? 0 : ToCount(PQntuples(res));
}

std::uint16_t SqlColumn(std::uint16_t slot, const char* name) {
    PGresult* res = g_slots[SqlSlot(slot)].result;
    int n = res == nullptr ? -1 : PQfnumber(res, name);
    return n < 0 ? 0xFFFF : static_cast<std::uint16_t>(n);
}

void SqlClear(std::uint16_t slot) {
    SqlControl& s = g_slots[SqlSlot(slot)];
    if (s.result != nullptr) PQclear(s.result);
    s.result = nullptr;
}

std::uint16_t SqlResultSlot() {
    PGconn* current = SqlSlotConn(kSqlCurrent);
    for (std::uint16_t i = 1; i < kSqlSlots; ++i) {
        SqlControl& s = g_slots[i];
        if (s.result == nullptr && (s.conn == nullptr || s.conn == current)) {
            s.conn = current;
            return i;
        }
    }
    return kSqlNoSlot;
}

std::uint16_t SqlHomeSlot() {
    std::uint16_t current = SqlSlot(kSqlCurrent);
    for (std::uint16_t i = 0; i < current; ++i)
        if (g_slots[i].conn == g_slots[current].conn) return i;
    return current;
}

StrDesc SqlCleanMessage(const char* text) {
    std::string s = text != nullptr ? text : "";
    while (!s.empty() && static_cast<signed char>(s.back()) < 'A') s.pop_back();
    struct Swap { const char* utf8; const char* cp1252; };
    static constexpr Swap kSwaps[] = {
        {"\xC2\xAB", "\""}, {"\xC2\xBB", "\""}, {"\xC3\xB3", "\xF3"}, {"\xC3\xB1", "\xF1"},
    };
    for (const Swap& swap : kSwaps) {
        for (std::size_t at = s.find(swap.utf8); at != std::string::npos; at = s.find(swap.utf8, at + 1))
            s.replace(at, 2, swap.cp1252);
    }
    return StrFromStd(s);
}

}  // namespace rt
