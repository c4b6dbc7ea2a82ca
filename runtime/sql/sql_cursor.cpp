// Cursor writes: the cursor table, declare, fetch, locate, positioned update or delete, close.
#include "runtime/sql/sql_cursor.h"

#include <string>

#include "runtime/data/file_table.h"
#include "runtime/data/record_buffer.h"
#include "runtime/sql/sql_conditions.h"
#include "runtime/sql/sql_control.h"
#include "runtime/sql/sql_literals.h"
#include "runtime/sql/sql_read.h"
#include "runtime/sql/sql_write.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/mem_areas.h"
#include "runtime/text/str_bridge.h"
#include "runtime/text/text_build.h"

namespace rt {

namespace {

// Per cursor number, the file it belongs to; 0 for a free number. Created on first use.
std::uint8_t* g_cursors = nullptr;

bool AnyOpen() {
    for (std::uint16_t i = 0; g_cursors != nullptr && i < kCursorCount; ++i)
        if (g_cursors[i] != 0) return true;
    return false;
}

std::string Name(std::uint16_t cursor) { return "curs_" + std::to_string(cursor); }

const char* Direction(std::uint8_t mode) {
    switch (mode & kReadPositioning) {
    case kReadLast: return "LAST";
    case kReadFirstRecord: return "FIRST";
    case kReadPrevious: return "PRIOR";
    default: return "NEXT";
    }
}

ErrCode PositionedWrite(std::uint8_t file, std::uint16_t cursor, CursorWriteKind kind) {
    DynScope scope;
    std::string table = SqlIdent(SqlTableName(file));
    if (kind == CursorWriteKind::kDelete)
        return SqlExec(StrFromStd("DELETE FROM " + table + " WHERE CURRENT OF " + Name(cursor) + ";"));
    StrDesc set = SqlSetList(file);
    if (set.len == 0) return 0;
    return SqlExec(StrFromStd("UPDATE " + table + " SET " + StrToStd(set) + " WHERE CURRENT OF " + Name(cursor) + ";"));
}

}  // namespace

StrDesc CursorName(std::uint16_t cursor) { return StrFromStd(Name(cursor)); }

void CursorShutdown() {
    if (g_cursors != nullptr) AreaFree(kOwnerCursor, g_cursors);
    g_cursors = nullptr;
}

ErrCode CursorOpen(std::uint8_t file, StrDesc value, std::uint16_t key, std::uint16_t* cursor) {
    *cursor = kNoCursor;
    if (g_cursors == nullptr) g_cursors = static_cast<std::uint8_t*>(AreaAllocPtr(kOwnerCursor, kCursorCount));
    if (g_cursors == nullptr) return kErrOutOfMemory;
    std::uint16_t n = 0;
    while (n < kCursorCount && g_cursors[n] != 0) ++n;
    if (n == kCursorCount) return kNone;
    if (!AnyOpen()) {
        if (ErrCode e = SqlTransaction(true)) return e;
    }
    g_cursors[n] = file;
    *cursor = n;
    DynScope scope;
    std::string declare = "DECLARE " + Name(n) + " CURSOR FOR SELECT * FROM " + SqlIdent(SqlTableName(file)) +
                          " WHERE " + KeyConditionText(value, file, key, kCmpEqual) + " ORDER BY " +
                          StrToStd(SqlOrder(file, key, false)) + " FOR UPDATE;";
    ErrCode r = SqlExec(StrViewStd(declare));
    if (r != 0) CursorClose(n);
    return r;
}

ErrCode CursorFetch(std::uint16_t cursor, std::uint8_t mode) {
    DynScope scope;
    return SqlExec(StrFromStd(std::string("FETCH ") + Direction(mode) + " FROM \"" + Name(cursor) + "\";"));
}

ErrCode CursorLocate(std::uint16_t cursor) {
    std::uint8_t file = g_cursors[cursor];
    DynScope scope;
    std::string kept = StrToStd(RecImage(file, kRecReference));
    for (;;) {
        ErrCode r = SqlRowToRecord(file, kLoadReference, 0, SqlHomeSlot());
        if (r != 0) return r;
        if (StrToStd(RecImage(file, kRecReference)) == kept) return 0;
        r = CursorFetch(cursor, kReadNext);
        if (r != 0) return r;
    }
}

ErrCode CursorClose(std::uint16_t cursor) {
    if (g_cursors == nullptr || cursor >= kCursorCount) return 0;
    g_cursors[cursor] = 0;
    DynScope scope;
    ErrCode r = SqlExec(StrFromStd("CLOSE " + Name(cursor) + ";"));
    if (r == 0 && !AnyOpen()) r = SqlTransaction(false);
    return r;
}

ErrCode CursorWrite(std::uint8_t file, std::uint16_t key, StrDesc value, CursorWriteKind kind) {
    std::uint16_t cursor = kNoCursor;
    ErrCode r = CursorOpen(file, value, key, &cursor);
    if (r != 0) return r;
    r = CursorFetch(cursor, kReadFirstRecord);
    if (r == 0) r = CursorLocate(cursor);
    if (r == 0) r = PositionedWrite(file, cursor, kind);
    CursorClose(cursor);
    return r;
}

}  // namespace rt
