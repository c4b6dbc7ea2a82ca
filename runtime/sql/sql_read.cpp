// Keyed reads, finds, counts, block reads, and loading result rows into the record buffer.
#include "runtime/sql/sql_read.h"

#include <string>

#include "runtime/data/fields.h"
#include "runtime/data/file_table.h"
#include "runtime/data/keys.h"
#include "runtime/data/record_buffer.h"
#include "runtime/text/error_note.h"
#include "runtime/sql/sql_conditions.h"
#include "runtime/sql/sql_control.h"
#include "runtime/sql/sql_literals.h"
#include "runtime/sql/sql_where.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/str_bridge.h"
#include "runtime/text/text_build.h"
#include "runtime/vars/dates.h"
#include "runtime/vars/var_system.h"

namespace rt {

namespace {

constexpr std::uint16_t kResultStackDepth = 3;

bool Registered(std::uint8_t file) { return file >= 1 && file <= FileCount(); }

std::string Table(std::uint8_t file) { return SqlIdent(FileName(file, kFileNameBare)); }

// "SELECT * FROM "t" WHERE c ORDER BY o LIMIT 1;", with "WHERE " left out for an empty condition.
StrDesc Positioning(std::uint8_t file, const std::string& cond, StrDesc order) {
    return StrFromStd("SELECT * FROM " + Table(file) + " " + (cond.empty() ? "" : "WHERE ") + cond + " ORDER BY " +
                      StrToStd(order) + " LIMIT 1;");
}

// "SELECT * FROM "t" ORDER BY o LIMIT 1;"
StrDesc Ends(std::uint8_t file, StrDesc order) {
    return StrFromStd("SELECT * FROM " + Table(file) + " ORDER BY " + StrToStd(order) + " LIMIT 1;");
}

}  // namespace

StrDesc SqlTableName(std::uint8_t file) { return FileName(file, kFileNameBare); }

StrDesc SqlStepSelect(std::uint8_t file, StrDesc value, std::uint8_t mode, StrDesc high, StrDesc extra) {
    file = FileResolve(file);
    if (!Registered(file)) return StrError(kNone);
    std::uint16_t key = FileCtrl(file).activeKey;
    if (key == 0 || KeyFields(file, key).count == 0) return StrError(kNone);
    std::uint16_t m = DynMark();
    StrDesc result;
    switch (mode & kReadPositioning) {
    case kReadByKey: {
        std::uint8_t cmp = (mode & kReadAtOrAfter) ? kCmpGreaterEq : kCmpEqual;
        result = Positioning(file, KeyConditionText(value, file, key, cmp), SqlOrder(file, key, false));
        break;
    }
    case kReadNext:
        result = Positioning(file, StrToStd(SqlRangeCondition(file, key, value, high, extra, kCmpGreater)),
                             SqlOrder(file, key, false));
        break;
    case kReadPrevious:
        result = Positioning(file, StrToStd(SqlRangeCondition(file, key, value, high, extra, kCmpLess)),
                             SqlOrder(file, key, true));
        break;
    case kReadLast: result = Ends(file, SqlOrder(file, key, true)); break;
    case kReadFirstRecord: result = Ends(file, SqlOrder(file, key, false)); break;
    default: result = StrError(kNone); break;
    }
    return DynKeep(m, result);
}

ErrCode SqlRead(std::uint8_t file, StrDesc value, std::uint8_t mode, StrDesc high, StrDesc extra) {
    DynScope scope;
    StrDesc statement = SqlStepSelect(file, value, mode, high, extra);
    if (statement.IsError()) return kNone;
    ErrCode r = SqlExec(statement);
    // Nothing before the current key is "another key", not the end of the file.
    if (r == kStatusNoRecord && (mode & kReadPrevious) == kReadPrevious) r = kStatusOtherKey;
    return r;
}

ErrCode SqlFindSelect(std::uint8_t file, std::uint16_t key, StrDesc value, std::uint8_t flags) {
    DynScope scope;
    file = FileResolve(file);
    std::string cond = KeyConditionText(value, file, key, (flags & kReadAtOrAfter) ? kCmpGreaterEq : kCmpEqual);
    if (!(flags & kReadAtOrAfter) && cond.empty()) return kStatusNoRecord;
    StrDesc order = SqlOrder(file, key, false);
    return SqlExec(cond.empty() ? Ends(file, order) : Positioning(file, cond, order));
}

StrDesc SqlCountSelect(std::uint8_t file, std::uint16_t key, StrDesc low, StrDesc high, StrDesc extra) {
    std::uint16_t m = DynMark();
    std::string cond = key != 0 ? StrToStd(SqlRangeCondition(file, key, low, high, extra, kCmpGreaterEq)) : "";
    std::string s = "SELECT COUNT (*) FROM " + Table(file) + " " + (cond.empty() ? "" : "WHERE " + cond);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return DynKeep(m, StrFromStd(s + ";"));
}

std::uint32_t SqlCount(StrDesc statement) {
    std::int16_t saved = SysVar(kSysSqlStk);
    std::uint16_t slot = SqlResultSlot();
    std::uint32_t count = 0;
    // Without a slot of its own the count would replace the row the record was read from.
    if (slot != kSqlNoSlot && SqlExec(statement, slot) == 0) {
        count = static_cast<std::uint32_t>(std::strtoul(StrToStd(SqlValue(0, 0, slot)).c_str(), nullptr, 10));
        SqlClear(slot);
    }
    SysVarSet(kSysSqlStk, saved);
    return count;
}

bool SqlDuplicates(std::uint8_t file, std::uint16_t key, StrDesc value) {
    file = FileResolve(file);
    if (!Registered(file) || FileCtrl(file).multiSlot != kSqlNoSlot || value.IsError() || value.len == 0) return false;
    DynScope scope;
    return SqlCount(SqlCountSelect(file, key, value, value, StrEmpty())) > 1;
}

ErrCode SqlRowToRecord(std::uint8_t file, std::uint8_t flags, std::uint16_t row, std::uint16_t slot) {
    file = FileResolve(file);
    DynScope scope;
    StrDesc current = RecImage(file, kRecCurrent);
    if (current.IsError()) return current.len;
    std::string kept = StrToStd(current);
    ErrCode r = 0;
    EmptyDatesStay nullDates;  // a NULL column is a blank field, a date's too
    for (std::uint16_t i = 1; r == 0 && i <= FieldCount(file); ++i) {
        DynScope field;
        StrDesc text = SqlValue(row, static_cast<std::uint16_t>(i - 1), slot);
        if (FieldInfo(file, i).type == 'D') {
            std::string date = StrToStd(text);
            std::erase(date, '-');
            text = StrFromStd(date);
        }
        r = FieldSet(file, i, text);
    }
    if (r == 0 && (flags & kLoadReference)) RecCopy(file, 1);
    if (r == 0 && !(flags & kLoadCurrent)) RecWrite(file, kRecCurrent, StrViewStd(kept));
    return r;
}

ErrCode SqlBlockSelect(std::uint8_t file, std::uint16_t key, StrDesc low, StrDesc high, std::uint16_t limit,
                       std::uint8_t mode, StrDesc extra) {
    file = FileResolve(file);
    if (!Registered(file)) return FieldCheck(file, kFileOnly);
    DataFileCtrl& ctrl = FileCtrl(file);
    ctrl.activeKey = key;
    if (KeyFields(file, key).count == 0) return kErrData;
    DynScope scope;
    StrDesc translated = SqlWhere(extra);
    if (translated.IsError()) return translated.len;
    std::string cond = StrToStd(SqlRangeCondition(file, key, low, high, translated, mode));
    StrDesc statement = Format(0xFFFF, "SELECT * FROM %s %s %s ORDER BY %s LIMIT %u;", StrToC(StrFromStd(Table(file))),
                       cond.empty() ? "" : "WHERE ", StrToC(StrFromStd(cond)),
                       StrToC(SqlOrder(file, key, mode == kCmpLess)), unsigned(limit));
    if (ctrl.resultSlots[kResultStackDepth - 1] != 0) {
        ErrNote(kNoteFirst, kAreaLocalLists, kErrDataOutBound, 0);
        return kErrDataOutBound;
    }
    std::uint16_t slot = SqlResultSlot();
    if (slot == kSqlNoSlot) return kErrDataOutBound;
    ErrCode r = SqlExec(statement, slot);
    if (r == 0) {
        ctrl.resultSlots[2] = ctrl.resultSlots[1];
        ctrl.resultSlots[1] = ctrl.resultSlots[0];
        ctrl.resultSlots[0] = slot;
    }
    return r;
}

void SqlBlockDrop(std::uint8_t file) {
    file = FileResolve(file);
    if (!Registered(file)) return;
    DataFileCtrl& ctrl = FileCtrl(file);
    if (ctrl.resultSlots[0] != 0) SqlClear(ctrl.resultSlots[0]);
    ctrl.resultSlots[0] = ctrl.resultSlots[1];
    ctrl.resultSlots[1] = ctrl.resultSlots[2];
    ctrl.resultSlots[2] = 0;
}

}  // namespace rt
