// Inserts, updates, deletes and transactions of a file's table, with the check that a save never
// overwrites another user's change to the same field.
#include "runtime/sql/sql_write.h"

#include <string>
#include <vector>

#include "runtime/data/fields.h"
#include "runtime/data/file_table.h"
#include "runtime/data/keys.h"
#include "runtime/data/record_buffer.h"
#include "runtime/sql/sql_conditions.h"
#include "runtime/sql/sql_control.h"
#include "runtime/sql/sql_cursor.h"
#include "runtime/sql/sql_literals.h"
#include "runtime/sql/sql_multi_read.h"
#include "runtime/sql/sql_read.h"
#include "runtime/sql/sql_where.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/str_bridge.h"
#include "runtime/text/text_lists.h"
#include "runtime/vars/var_system.h"

namespace rt {

namespace {

constexpr StrDesc kFillerNames = S("NUL,NULL,OTHER,AVOID");
constexpr std::uint16_t kRowKey = 1;  // rows are identified by key 1
constexpr char kDateType = 'D';

ErrCode NoFind(std::uint8_t, std::uint16_t, StrDesc, std::uint8_t) { return kStatusNoRecord; }
SqlFileFind g_find = NoFind;

bool Registered(std::uint8_t file) { return file >= 1 && file <= FileCount(); }
std::string Table(std::uint8_t file) { return SqlIdent(SqlTableName(file)); }

// Fields 1 to the last one that is no filler.
std::uint16_t InsertRange(std::uint8_t file) {
    std::uint16_t n = FieldCount(file);
    while (n > 0 && ItemIndex(kFillerNames, FieldName(file, n), ',') != 0) --n;
    return n;
}

bool IsZero(const std::string& literal) {
    return !literal.empty() && literal.find_first_not_of("+-0.") == std::string::npos;
}

// The condition that a changed field still holds, as stored, the value the record was read with (the
// reference record's), so that the UPDATE itself refuses a row another user changed in that field and
// nothing can slip in between a check and the write. A read shows NULL blank (a number as zero), so a
// blank read value also matches NULL; texts are compared without trailing blanks, which a read drops,
// and a date by its day.
std::string UnchangedCondition(std::uint8_t file, std::uint16_t field) {
    DynScope scope;
    char type = FieldInfo(file, field).type;
    std::string name = SqlIdent(FieldName(file, field));
    std::string literal = StrToStd(SqlLiteral(FieldGetOf(file, field, kRecReference), type));
    bool blank = literal == "NULL";
    if (SqlNumericType(type)) {
        if (blank || IsZero(literal)) return "(" + name + " IS NULL OR " + name + " = 0)";
        return name + " IS NOT DISTINCT FROM " + literal;
    }
    if (type == kDateType) {
        if (blank) return name + " IS NULL";
        return name + "::date IS NOT DISTINCT FROM " + literal;
    }
    std::string text = "rtrim(" + name + "::text)";
    if (blank) return "(" + name + " IS NULL OR " + text + " = '')";
    return text + " IS NOT DISTINCT FROM " + literal;
}

ErrCode UpdateOrDelete(std::uint8_t file, std::uint8_t flags, bool update) {
    file = FileResolve(file);
    if (ErrCode e = FieldCheck(file, kFileOnly)) return e;
    if (update && !RecChanged(file)) return 0;
    DynScope scope;
    StrDesc value = KeyValue(file, kRowKey, RecImage(file, kRecReference));
    if (value.IsError()) return value.len;
    DataFileCtrl& ctrl = FileCtrl(file);
    StrDesc activeBefore = KeyValue(file, ctrl.activeKey, RecImage(file, kRecReference));
    ErrCode r;
    if (SqlCount(SqlCountSelect(file, kRowKey, value, value, StrEmpty())) > 1) {
        r = CursorWrite(file, kRowKey, value, update ? CursorWriteKind::kUpdate : CursorWriteKind::kDelete);
        // The row the record was read from is no longer among them: another user changed it.
        if (update && r == kStatusNoRecord) r = kStatusDataChanged;
    } else {
        std::string where = KeyConditionText(value, file, kRowKey, kCmpEqual);
        if (!update) {
            r = SqlExec(StrFromStd("DELETE FROM ONLY " + Table(file) + " WHERE " + where + ";"));
        } else {
            StrDesc set = SqlSetList(file);
            if (set.len == 0) return 0;
            for (std::uint16_t i = 1; i <= FieldCount(file); ++i)
                if (FieldChanged(file, i)) where += " AND " + UnchangedCondition(file, i);
            std::uint16_t rows = 0;
            r = SqlExec(StrFromStd("UPDATE ONLY " + Table(file) + " SET " + StrToStd(set) + " WHERE " + where + ";"),
                        kSqlCurrent, &rows);
            if (r >= kErrFirstFailure) r = kNone;
            else if (rows == 0) r = kStatusDataChanged;  // the row is gone or another user changed a field
        }
    }
    if (r == 0 && (flags & kWriteReread)) {
        if (update) {
            RecCopy(file, 1);
            bool multi = MultiReadActive(file);
            if (multi || SqlDuplicates(file, ctrl.activeKey, KeyValue(file, ctrl.activeKey))) r = MultiReadLocate(file);
        } else {
            r = g_find(file, ctrl.activeKey, activeBefore, kReadAtOrAfter);
        }
    }
    return r;
}

}  // namespace

SqlFileFind SqlFileFindSet(SqlFileFind find) {
    SqlFileFind previous = g_find == NoFind ? nullptr : g_find;
    g_find = find != nullptr ? find : NoFind;
    return previous;
}

StrDesc SqlSetList(std::uint8_t file) {
    std::uint16_t m = DynMark();
    std::string set;
    for (std::uint16_t i = 1; i <= FieldCount(file); ++i) {
        if (!FieldChanged(file, i)) continue;
        DynScope scope;
        if (!set.empty()) set += ",";
        set += SqlIdent(FieldName(file, i)) + " = " + StrToStd(SqlLiteral(FieldGet(file, i), FieldInfo(file, i).type));
    }
    return DynKeep(m, StrFromStd(set));
}

ErrCode FileInsert(std::uint8_t file) {
    file = FileResolve(file);
    if (ErrCode e = FieldCheck(file, kFileOnly)) return e;
    DynScope scope;
    std::string values;
    for (std::uint16_t i = 1; i <= InsertRange(file); ++i) {
        DynScope field;
        StrDesc raw = FieldGet(file, i);
        if (raw.IsError()) return raw.len;
        if (i > 1) values += ",";
        values += StrToStd(SqlLiteral(raw, FieldInfo(file, i).type));
    }
    return SqlExec(StrFromStd("INSERT INTO " + Table(file) + " VALUES (" + values + ");"));
}

ErrCode FileUpdate(std::uint8_t file, std::uint8_t flags) { return UpdateOrDelete(file, flags, true); }
ErrCode FileDelete(std::uint8_t file, std::uint8_t flags) { return UpdateOrDelete(file, flags, false); }

ErrCode FileDeleteAll(std::uint8_t file) {
    file = FileResolve(file);
    if (ErrCode e = FieldCheck(file, kFileOnly)) return e;
    DynScope scope;
    return SqlExec(StrFromStd("DELETE FROM ONLY " + Table(file) + ";"));
}

ErrCode SqlUpdateWhere(std::uint8_t file, std::uint16_t key, StrDesc low, StrDesc high, StrDesc setList,
                       StrDesc condition, bool exprList) {
    file = FileResolve(file);
    if (!Registered(file)) return kNone;
    DynScope scope;
    StrDesc translated = SqlWhere(condition);
    if (translated.IsError()) return kNone;
    std::string cond = StrToStd(SqlRangeCondition(file, key, low, high, translated, kCmpGreaterEq));
    StrDesc set = exprList ? SqlWhereList(setList) : setList;
    if (set.IsError()) return kNone;
    if (set.len == 0) return 0;
    std::uint16_t rows = 0;
    ErrCode r = SqlExec(StrFromStd("UPDATE ONLY " + Table(file) + " SET " + StrToStd(set) + " WHERE " + cond + ";"),
                        kSqlCurrent, &rows);
    return r >= kErrFirstFailure ? kNone : rows;
}

ErrCode FileEndTransaction(std::uint8_t, ErrCode result) {
    ErrCode commit = SqlTransaction(false);
    return result != 0 ? result : commit;
}

ErrCode SqlTransaction(bool open) {
    std::uint16_t aux = SysBits(kSysAuxStat);
    if (!open && !(aux & kAuxTransaction)) return 0;
    ErrCode r = SqlExec(open ? S("START TRANSACTION;") : S("COMMIT;"));
    aux = SysBits(kSysAuxStat);
    if (!open) aux = static_cast<std::uint16_t>(aux & ~kAuxTransaction);
    else if (r == 0) aux = static_cast<std::uint16_t>(aux | kAuxTransaction);
    SysBitsSet(kSysAuxStat, aux);
    return r;
}

}  // namespace rt
